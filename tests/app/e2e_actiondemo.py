#!/usr/bin/env python3
"""End-to-end test of actiondemo in a real X server.

Starts Xvfb, starts actiondemo in it with --trace (every line of the event
log, which carries the chart's ranges exactly, also goes to standard output)
and drives the real window with xdotool:

  * a left-button drag in pan mode moves the x range against the drag
    (counted from the drag's first move, where the chart takes its start);
  * choosing maZoomWind in the real drop-down and dragging a rectangle
    narrows the ranges to the rectangle;
  * a drag on the x axis pans the x range only;
  * after each of these the chart shows exactly the pixels that the
    headless mode draws for the same steps: no rubber figure is left over;
  * a wheel notch zooms in about the pointer;
  * Back steps through the range history; Exit ends the program with 0;
    a bad argument gives status 2 and the usage.

Usage: e2e_actiondemo.py PATH/TO/actiondemo [WORK_DIR]
Needs Xvfb, xdotool and ImageMagick (import, convert).
"""

import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_snapdemo import Failure, Program, check, check_usage_errors, read_ppm, run, screenshot, start_xvfb  # noqa: E402

TITLE = "Mouse actions"
FORM_W, FORM_H = 800, 456
CHART_LEFT, CHART_TOP, CHART_W, CHART_H = 8, 8, 520, 400
PLOT_L, PLOT_T, PLOT_R, PLOT_B = 60, 24, 460, 360  # in chart pixels
COMBO_CENTRE = (540 + 126, 28 + 13)                # in form pixels
BACK_CENTRE = (540 + 40, 164 + 13)
EXIT_CENTRE = (712 + 40, 164 + 13)
ACTIONS = ["maNone", "maPan", "maPanHoriz", "maPanVert", "maPanGrid", "maRubberBand", "maZoom", "maZoomWind",
           "maZoomWindPos", "maZoomDrag", "maDragCrossH", "maDragLabel", "maRotate", "maRotAndZoom",
           "maRotXOnly", "maRotZOnly", "maSelectRect", "maDrawMTrace", "maZoomPanColors"]

DRAG_STEPS = 8  # as the headless --drag


def first_move(a, b):
    """Where a drag from a to b (one coordinate) has its first move."""
    return a + int((b - a) / DRAG_STEPS)


RANGES = re.compile(r"x1=\[([^,]+), ([^\]]+)\] y1=\[([^,]+), ([^\]]+)\] y2=\[([^,]+), ([^\]]+)\]")


def ranges_of(line):
    m = RANGES.search(line)
    check(m is not None, "no ranges in the log line '%s'" % line)
    return tuple(float(v) for v in m.groups())


def close(a, b, tol=1e-9):
    return abs(a - b) <= tol * max(1.0, abs(a), abs(b))


def find_window(env):
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        ids = run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % TITLE], env, check_rc=False).stdout.split()
        if ids:
            wid = ids[0].decode()
            geo = run(["xdotool", "getwindowgeometry", "--shell", wid], env).stdout.decode()
            v = dict(l.split("=", 1) for l in geo.split() if "=" in l)
            if int(v.get("WIDTH", 0)) >= FORM_W and int(v.get("HEIGHT", 0)) >= FORM_H:
                return wid, int(v["X"]), int(v["Y"])
        time.sleep(0.1)
    raise Failure("the window '%s' did not appear" % TITLE)


class Demo:
    def __init__(self, exe, env, work):
        self.exe, self.env, self.work = exe, env, work
        self.steps = []  # the same steps for the headless replay
        self.program = Program([exe, "--trace"], env)
        self.program.next_line("ready")
        self.wid, wx, wy = find_window(env)
        self.form = (wx, wy)
        self.chart = (wx + CHART_LEFT, wy + CHART_TOP)
        self.program.drain()

    def xdo(self, *args):
        run(["xdotool"] + [str(a) for a in args], self.env)

    def pointer(self, origin, x, y):
        self.xdo("mousemove", origin[0] + x, origin[1] + y)

    def drag(self, x1, y1, x2, y2, steps=DRAG_STEPS):
        self.pointer(self.chart, x1, y1)
        time.sleep(0.05)
        self.xdo("mousedown", 1)
        for i in range(1, steps + 1):
            # The same points as the headless --drag (integer steps cut
            # towards zero). Pans and axis drags start at the first move
            # with the button held, so that one gets time of its own.
            self.pointer(self.chart, x1 + int((x2 - x1) * i / steps), y1 + int((y2 - y1) * i / steps))
            time.sleep(0.15 if i == 1 else 0.02)
        time.sleep(0.05)
        self.xdo("mouseup", 1)
        self.steps += ["--drag", "%d,%d,%d,%d" % (x1, y1, x2, y2)]
        # The release logs OnMouseUp with the ranges it leaves.
        line = self.program.next_line("OnMouseUp")
        self.program.drain()
        return ranges_of(line)

    def click(self, form_x, form_y):
        self.pointer(self.form, form_x, form_y)
        time.sleep(0.05)
        self.xdo("click", 1)

    def choose(self, action):
        """Opens the real drop-down and picks the entry with the keyboard."""
        self.click(*COMBO_CENTRE)
        time.sleep(0.3)
        self.xdo("key", "Home")
        for _ in range(ACTIONS.index(action)):
            self.xdo("key", "Down")
        self.xdo("key", "Return")
        self.program.next_line("MouseAction := %s" % action)
        self.program.drain()
        self.steps += ["--action", action]

    def back(self):
        self.click(*BACK_CENTRE)
        line = self.program.next_line("Back")
        self.steps += ["--back"]
        return line

    def check_matches_headless(self, what):
        png = os.path.join(self.work, "headless-%d.png" % len(self.steps))
        headless_env = dict(self.env, QT_QPA_PLATFORM="offscreen")
        run([self.exe, "--screenshot", png] + self.steps, headless_env)
        picture = read_ppm(run(["convert", png, "-depth", "8", "ppm:-"], self.env).stdout)
        check((picture.width, picture.height) == (FORM_W, FORM_H),
              "headless picture is %dx%d" % (picture.width, picture.height))
        mine = picture.region(CHART_LEFT, CHART_TOP, CHART_W, CHART_H)
        # The window repaints after the release; give it a few tries.
        for attempt in range(15):
            shot = screenshot(self.env)
            real = shot.region(self.chart[0], self.chart[1], CHART_W, CHART_H)
            differing = sum(1 for i in range(0, len(mine), 3) if mine[i:i + 3] != real[i:i + 3])
            if differing == 0:
                return
            time.sleep(0.1)
        raise Failure("%s: real and headless chart differ in %d pixels (a figure left over?)" % (what, differing))


def check_bad_arguments(exe, env):
    check_usage_errors(exe, env, (["--drag", "1,2,3,4"], ["--screenshot"], ["--screenshot", "x.png", "--action", "maFly"],
                ["--nonsense"]))


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    exe = os.path.abspath(sys.argv[1])
    work = sys.argv[2] if len(sys.argv) > 2 else tempfile.mkdtemp(prefix="e2e_actiondemo_")
    os.makedirs(work, exist_ok=True)
    started = time.monotonic()
    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    env.pop("ACTIONDEMO_TRACE", None)
    demo = None
    try:
        check_bad_arguments(exe, env)
        run(["xdotool", "mousemove", "1", "1"], env)
        demo = Demo(exe, env, work)

        # Pan: the drag counts from its first move (205) to the release at
        # 240; 35 pixels right over the 400-pixel plot move x 0..100 to
        # -8.75..91.25.
        r = demo.drag(200, 200, 240, 200)
        shift = (240 - first_move(200, 240)) / 400 * 100
        check(r[:4] == (-shift, 100 - shift, -2.0, 3.0) and r[4:] == (1.0, 10000.0),
              "pan right: ranges %s, expected x1 %s..%s and the rest unchanged" % (r, -shift, 100 - shift))
        demo.check_matches_headless("after the pan")
        print("pan: ranges %s ok, chart matches headless" % (r,))

        # Zoom window from the lower left to the upper right of a rectangle.
        demo.choose("maZoomWind")
        panned = r
        r = demo.drag(160, 242, 360, 74)
        # The rectangle starts at the press; pixel x 160..360 of the panned range.
        want_x = (panned[0] + (160 - PLOT_L) / 400 * 100, panned[0] + (360 - PLOT_L) / 400 * 100)
        want_y = (3 - (242 - PLOT_T) / 336 * 5, 3 - (74 - PLOT_T) / 336 * 5)
        check(close(r[0], want_x[0], 1e-6) and close(r[1], want_x[1], 1e-6),
              "zoom window: x1 %s..%s, expected %s..%s" % (r[0], r[1], want_x[0], want_x[1]))
        check(close(r[2], want_y[0], 1e-6) and close(r[3], want_y[1], 1e-6),
              "zoom window: y1 %s..%s, expected %s..%s" % (r[2], r[3], want_y[0], want_y[1]))
        check(r[5] / r[4] < 10000 / 1.0, "zoom window: the logarithmic y2 range did not narrow")
        demo.check_matches_headless("after the zoom window")
        print("zoom window: ranges %s ok, no rectangle left over" % (r,))

        # A drag on the x axis (below the plot) pans x only: the pixels from
        # the first move (193) to 140 move the 50-wide range to the right.
        zoomed = r
        r = demo.drag(200, PLOT_B + 15, 140, PLOT_B + 15)
        d = (first_move(200, 140) - 140) / 400 * (zoomed[1] - zoomed[0])
        check(close(r[0], zoomed[0] + d) and close(r[1], zoomed[1] + d),
              "x axis drag: x1 %s..%s, expected %s..%s" % (r[0], r[1], zoomed[0] + d, zoomed[1] + d))
        check(r[2:] == zoomed[2:], "x axis drag changed a y range: %s -> %s" % (zoomed, r))
        demo.check_matches_headless("after the x axis drag")
        print("x axis drag: ranges %s ok" % (r,))

        # One wheel notch up over the plot zooms in about the pointer.
        before = r
        demo.pointer(demo.chart, 260, 192)
        time.sleep(0.1)
        demo.xdo("click", 4)
        r = ranges_of(demo.program.next_line("OnZoomPan"))
        demo.program.drain()
        demo.steps += ["--move", "260,192", "--wheel", "260,192,120"]
        px = before[0] + (260 - PLOT_L) / 400 * (before[1] - before[0])
        check(r[1] - r[0] < before[1] - before[0] and r[0] < px < r[1],
              "wheel: x1 %s..%s is not a zoom about %s in %s..%s" % (r[0], r[1], px, before[0], before[1]))
        demo.check_matches_headless("after the wheel")
        print("wheel: ranges %s ok" % (r,))

        # Back steps through the range history to earlier ranges.
        seen = []
        for _ in range(4):
            line = demo.back()
            if "no earlier" in line:
                break
            seen.append(ranges_of(line))
        check(seen, "Back found no earlier ranges")
        check(any(s[:2] == panned[:2] for s in seen),
              "Back never returned to the ranges before the zoom (%s): %s" % (panned, seen))
        demo.check_matches_headless("after Back")
        print("Back: %s" % (seen,))

        demo.click(*EXIT_CENTRE)
        try:
            rc = demo.program.proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            raise Failure("actiondemo did not end after Exit was clicked")
        check(rc == 0, "actiondemo ended with status %d; stderr: %s" % (rc, " | ".join(demo.program.stderr)))
        print("Exit ends the program with status 0 (%.1f s in all)" % (time.monotonic() - started))
        return 0
    except Failure as f:
        print("FAILED: %s" % f)
        return 1
    finally:
        if demo and demo.program.proc.poll() is None:
            demo.program.proc.kill()
            demo.program.proc.wait()
        xvfb.terminate()
        try:
            xvfb.wait(timeout=5)
        except subprocess.TimeoutExpired:
            xvfb.kill()


if __name__ == "__main__":
    sys.exit(main())
