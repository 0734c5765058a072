// stream: live data. A simulated sensor delivers 1,000 points per second; the
// upper chart scrolls over the last ten seconds, the lower one shows all the
// data (it shares the upper chart's store: one copy of the points). Both are
// repainted at the screen's frame rate.
//   zkw_example_stream [--points N] [--seconds S] [--screenshot FILE]
// --points N     history already there at the start (default 1,000,000; try 10,000,000)
// --seconds S    end after S seconds
// --screenshot   after a second of frames write the window to FILE and end
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "chart/ZKW_vexa.h"
#include "stream_frame.h"
#include "widgets/ZKW_widgets.h"

namespace {

struct TOptions {
  std::int64_t Points = 1000000;
  double Seconds = 0;  // 0: until the window closes
  QString Screenshot;
};

bool ParseOptions(int argc, char** argv, TOptions& O) {
  for (int I = 1; I < argc; ++I) {
    const std::string A = argv[I];
    const bool HasValue = I + 1 < argc;
    if (A == "--points" && HasValue) {
      O.Points = std::strtoll(argv[++I], nullptr, 10);
      if (O.Points < 1 || O.Points > 100000000) return false;
    } else if (A == "--seconds" && HasValue) {
      O.Seconds = std::strtod(argv[++I], nullptr);
      if (!(O.Seconds > 0)) return false;
    } else if (A == "--screenshot" && HasValue) {
      O.Screenshot = argv[++I];
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication App(argc, argv);
  TOptions Options;
  if (!ParseOptions(argc, argv, Options)) {
    std::cerr << "usage: zkw_example_stream [--points N] [--seconds S] [--screenshot FILE]\n";
    return 2;
  }
  namespace st = zkw::stream;

  QWidget Window;
  auto* Layout = new QVBoxLayout(&Window);
  auto* Live = new zkw::VexaWidget;
  auto* All = new zkw::VexaWidget;
  auto* Status = new QLabel;
  Layout->addWidget(Live, 3);
  Layout->addWidget(All, 2);
  Layout->addWidget(Status);
  Window.setWindowTitle("stream");
  Window.resize(900, 640);

  zkw::TVexa& L = *Live->chart();
  L.SetCaption("The last ten seconds");
  L.SetAllocSize(1000000);
  L.Scale1Y().SetRangeLow(-2);
  L.Scale1Y().SetRangeHigh(2);
  L.SetGridStyle(zkw::gsDotLines);
  L.SetGridColor(zkw::clSilver);
  L.SetDataColor(zkw::clNavy);
  L.SetAutoRedraw(false);  // a frame paints once, after its range change (see stream_frame.h)

  zkw::TVexa& A = *All->chart();
  A.SetCaption("All the data");
  A.Scale1Y().SetRangeLow(-2);
  A.Scale1Y().SetRangeHigh(2);
  A.SetUseDataOf(&L);  // the same store: appended once, shown by both

  // The history, then the overview's x range: all of it and a quarter more,
  // so that new points arrive for a while before it has to be widened.
  std::int64_t Shown = st::Frame(L, 0, Options.Points);
  auto FitOverview = [&A](std::int64_t Count) {
    A.SetRange(1, {0, st::SampleTime(Count) * 1.25}, {A.Scale1Y().RangeLow(), A.Scale1Y().RangeHigh()});
  };
  FitOverview(Shown);

  QElapsedTimer Clock;
  Clock.start();
  QElapsedTimer FrameClock;
  double FrameMs = 0;
  int Frames = 0;
  const std::int64_t Start = Shown;
  QTimer Timer;
  const double Rate = Window.screen() ? Window.screen()->refreshRate() : 60.0;
  Timer.setInterval(static_cast<int>(1000.0 / (Rate > 1 ? Rate : 60.0)));
  QObject::connect(&Timer, &QTimer::timeout, &Window, [&] {
    FrameClock.start();
    const std::int64_t Arrived = Start + static_cast<std::int64_t>(Clock.elapsed() * st::SampleRate / 1000.0);
    Shown = st::Frame(L, Shown, Arrived);
    if (st::SampleTime(Shown) > A.Scale1X().RangeHigh()) FitOverview(Shown);
    FrameMs = 0.9 * FrameMs + 0.1 * FrameClock.nsecsElapsed() / 1e6;
    ++Frames;
    Status->setText(QString("%1 points, %2 frames, %3 ms per frame (append, scroll, redraw both charts)")
                        .arg(Shown)
                        .arg(Frames)
                        .arg(FrameMs, 0, 'f', 2));
    const double Elapsed = Clock.elapsed() / 1000.0;
    if (!Options.Screenshot.isEmpty() && Elapsed > 1.0) {
      const bool Saved = Window.grab().save(Options.Screenshot);
      QApplication::exit(Saved ? 0 : 1);
    } else if (Options.Seconds > 0 && Elapsed > Options.Seconds) {
      QApplication::quit();
    }
  });
  Timer.start();

  Window.show();
  return QApplication::exec();
}
