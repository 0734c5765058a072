#!/usr/bin/env python3
"""End-to-end test of snapdemo in a real X server.

Starts Xvfb on a free display, starts snapdemo in it with SNAPDEMO_TRACE=1
(the program then prints "activated" on each activation and the two label
texts after each mouse move over the chart), moves the real pointer over the
chart with xdotool and takes a screenshot after each move. It checks that

  * the window "Form1" shows 100 navy data marks where the demo's data lie;
  * after each move a red cursor mark is drawn on the navy mark nearest to
    the pointer (pixel distance, computed here independently), and the labels
    show that mark's x and y with two decimals;
  * the headless mode (--screenshot, same moves) gives the same chart pixels
    as the real window;
  * a click on Exit ends the program with status 0; a bad argument gives 2.

With --scale S (QT_SCALE_FACTOR=S, for example 2 or 1.5) the same run happens
at that device pixel ratio: the window, the marks and the cursor mark are S
times as large in screen pixels, and the real window must still equal the
headless picture at that ratio, pixel for pixel (the chart draws natively).

Usage: e2e_snapdemo.py PATH/TO/snapdemo [WORK_DIR] [--scale S]
Needs Xvfb, xdotool and ImageMagick (import, convert); Python's standard
library only.
"""

import math
import os
import queue
import subprocess
import sys
import tempfile
import threading
import time

# The demo form's fixed layout (client pixels of the form).
CHART_LEFT, CHART_TOP, CHART_W, CHART_H = 8, 8, 505, 345
PLOT_L, PLOT_T, PLOT_R, PLOT_B = 50, 20, 485, 305  # plot rectangle in chart pixels
X_LOW, X_HIGH, Y_LOW, Y_HIGH = 1000.0, 3300.0, -2.0, 3.0
EXIT_BUTTON_CENTRE = (8 + 37, 368 + 12)

# Pointer positions in chart pixels; the last one is also sent headless.
MOVES = [(60, 60), (150, 120), (240, 250), (330, 90), (420, 200), (470, 290)]

TIMEOUT = 20.0

# Device pixels per logical pixel of the run (--scale).
S = 1.0


def dev(v):
    """A logical length or coordinate in the screen's device pixels."""
    return int(math.floor(v * S + 0.5))


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


# ---- the demo's data, computed independently -------------------------------------------

def demo_marks():
    """World and pixel positions of the 100 marks of the first activation."""
    seed = 0
    marks = []
    for i in range(1, 101):
        seed = (seed * 134775813 + 1) % 2**32
        x = float(i * 15 + 1200)
        y = math.sin(i * 0.05) + seed / 2**32
        marks.append((x, y, to_pixel_x(x), to_pixel_y(y)))
    return marks


def round_half_even(v):
    return int(round(v))  # Python's round() halves to even


def to_pixel_x(x):
    return round_half_even(PLOT_L + (x - X_LOW) * (PLOT_R - PLOT_L) / (X_HIGH - X_LOW))


def to_pixel_y(y):
    return round_half_even(PLOT_T + (Y_HIGH - y) * (PLOT_B - PLOT_T) / (Y_HIGH - Y_LOW))


def nearest_marks(marks, px, py):
    """Indices of the marks at the smallest pixel distance (allowing one pixel of rounding)."""
    d = [math.hypot(m[2] - px, m[3] - py) for m in marks]
    best = min(d)
    return [i for i, v in enumerate(d) if v <= best + 1.0]


# ---- pictures ------------------------------------------------------------------------------

class Picture:
    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def rgb(self, x, y):
        o = (y * self.width + x) * 3
        return self.data[o], self.data[o + 1], self.data[o + 2]

    def region(self, left, top, width, height):
        rows = []
        for y in range(top, top + height):
            o = (y * self.width + left) * 3
            rows.append(self.data[o:o + width * 3])
        return b"".join(rows)


def read_ppm(blob):
    # P6 header: magic, width, height, maxval, each separated by white space.
    fields, pos = [], 0
    while len(fields) < 4:
        while blob[pos:pos + 1].isspace():
            pos += 1
        if blob[pos:pos + 1] == b"#":
            pos = blob.index(b"\n", pos) + 1
            continue
        start = pos
        while not blob[pos:pos + 1].isspace():
            pos += 1
        fields.append(blob[start:pos])
    check(fields[0] == b"P6" and fields[3] == b"255", "unexpected picture format")
    width, height = int(fields[1]), int(fields[2])
    data = blob[pos + 1:pos + 1 + width * height * 3]
    check(len(data) == width * height * 3, "truncated picture")
    return Picture(width, height, data)


def write_ppm(picture, path):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (picture.width, picture.height))
        f.write(picture.data)


def is_red(c):
    return c[0] >= 200 and c[1] <= 60 and c[2] <= 60


def is_navy(c):
    return c[0] <= 40 and c[1] <= 40 and 90 <= c[2] <= 170


# ---- processes ---------------------------------------------------------------------------

def run(args, env, timeout=TIMEOUT, check_rc=True):
    p = subprocess.run(args, env=env, capture_output=True, timeout=timeout)
    if check_rc and p.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(args), p.returncode, p.stderr.decode(errors="replace")))
    return p


def start_xvfb():
    read_end, write_end = os.pipe()
    proc = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (dev(1280), dev(1024)), "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + TIMEOUT
    while not number.endswith(b"\n"):
        if time.monotonic() > deadline or proc.poll() is not None:
            proc.kill()
            raise Failure("Xvfb did not start")
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    check(number.strip().isdigit(), "Xvfb reported no display number")
    return proc, ":" + number.decode().strip()


class Program:
    """snapdemo with its trace lines collected by a reader thread."""

    def __init__(self, args, env):
        self.proc = subprocess.Popen(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.lines = queue.Queue()
        self.stderr = []
        threading.Thread(target=self._read, args=(self.proc.stdout, self.lines.put), daemon=True).start()
        threading.Thread(target=self._read, args=(self.proc.stderr, self.stderr.append), daemon=True).start()

    @staticmethod
    def _read(stream, sink):
        for raw in iter(stream.readline, b""):
            sink(raw.decode(errors="replace").rstrip("\n"))

    def next_line(self, prefix, timeout=TIMEOUT):
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                raise Failure("no '%s' line from snapdemo; stderr: %s" % (prefix, " | ".join(self.stderr)))
            try:
                line = self.lines.get(timeout=left)
            except queue.Empty:
                continue
            if line.startswith(prefix):
                return line

    def drain(self, quiet=0.25):
        """All lines until none came for `quiet` seconds."""
        got = []
        while True:
            try:
                got.append(self.lines.get(timeout=quiet))
            except queue.Empty:
                return got


def parse_move_line(line):
    fields = dict(f.split("=", 1) for f in line.split()[1:])
    return fields["InChart"] == "1", fields["LblX"], fields["LblY"]


def find_window(env):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        p = run(["xdotool", "search", "--onlyvisible", "--name", "^Form1$"], env, check_rc=False)
        ids = p.stdout.split()
        if ids:
            wid = ids[0].decode()
            geo = run(["xdotool", "getwindowgeometry", "--shell", wid], env).stdout.decode()
            values = dict(l.split("=", 1) for l in geo.split() if "=" in l)
            if int(values.get("WIDTH", 0)) >= dev(525) and int(values.get("HEIGHT", 0)) >= dev(403):
                return wid, int(values["X"]), int(values["Y"])
        time.sleep(0.1)
    raise Failure("the window Form1 did not appear")


def screenshot(env):
    return read_ppm(run(["import", "-window", "root", "-depth", "8", "ppm:-"], env).stdout)


# ---- checks --------------------------------------------------------------------------------

def check_marks_shown(shot, origin, marks):
    cx, cy = origin
    reach = range(-dev(1.5), dev(1.5) + 1)
    for i, (_, _, px, py) in enumerate(marks):
        # Symbol 10 is a ring of 3 by 3 pixels around the mark's pixel.
        ring = [shot.rgb(cx + dev(px + 0.5) + dx, cy + dev(py + 0.5) + dy) for dx in reach for dy in reach]
        check(any(is_navy(c) for c in ring), "no navy data mark at pixel (%d, %d) of mark %d" % (px, py, i + 1))
    red = [(x, y) for y in range(dev(PLOT_T), dev(PLOT_B + 1)) for x in range(dev(PLOT_L), dev(PLOT_R + 1))
           if is_red(shot.rgb(cx + x, cy + y))]
    check(not red, "a red mark is in the plot before any move")


def red_mark_centre(shot, origin):
    """The cursor mark's centre in logical chart pixels."""
    cx, cy = origin
    red = [(x, y) for y in range(dev(PLOT_T - 4), dev(PLOT_B + 5)) for x in range(dev(PLOT_L - 4), dev(PLOT_R + 5))
           if is_red(shot.rgb(cx + x, cy + y))]
    if not red:
        return None
    xs, ys = [p[0] for p in red], [p[1] for p in red]
    check(max(xs) - min(xs) <= dev(8) and max(ys) - min(ys) <= dev(8),
          "red pixels spread over (%d..%d, %d..%d): more than one cursor mark" % (min(xs), max(xs), min(ys), max(ys)))
    # Device pixel d covers logical [d / S, (d + 1) / S): the centre of the span.
    return ((min(xs) + max(xs) + 1) / 2.0 / S - 0.5, (min(ys) + max(ys) + 1) / 2.0 / S - 0.5)


def check_move(shot, baseline, origin, marks, pointer, labels):
    centre = red_mark_centre(shot, origin)
    check(centre is not None, "no red cursor mark after the move to %s" % (pointer,))
    candidates = nearest_marks(marks, *pointer)
    hit = [i for i in candidates if abs(marks[i][2] - centre[0]) <= 1 and abs(marks[i][3] - centre[1]) <= 1]
    check(hit, "pointer %s: the cursor mark is at %s, but the nearest marks are at %s" %
          (pointer, centre, [(marks[i][2], marks[i][3]) for i in candidates]))
    # Drawn on a navy data mark: the baseline shows navy around that pixel.
    cx, cy = origin
    x, y = dev(centre[0] + 0.5), dev(centre[1] + 0.5)
    reach = range(-dev(1.5), dev(1.5) + 1)
    around = [baseline.rgb(cx + x + dx, cy + y + dy) for dx in reach for dy in reach]
    check(any(is_navy(c) for c in around), "pointer %s: no navy mark under the cursor mark" % (pointer,))
    want = [("%.2f" % marks[i][0], "%.2f" % marks[i][1]) for i in hit]
    check(labels in want, "pointer %s: labels %s, expected one of %s" % (pointer, labels, want))


def check_headless_matches(snapdemo, env, work, shot, origin):
    png = os.path.join(work, "headless.png")
    args = [snapdemo, "--screenshot", png]
    for x, y in MOVES:
        args += ["--move", "%d,%d" % (x, y)]
    headless_env = dict(env, QT_QPA_PLATFORM="offscreen")
    headless_env.pop("SNAPDEMO_TRACE", None)
    run(args, headless_env)
    picture = read_ppm(run(["convert", png, "-depth", "8", "ppm:-"], env).stdout)
    check(picture.width == dev(525) and picture.height == dev(403),
          "headless picture is %dx%d, not %dx%d" % (picture.width, picture.height, dev(525), dev(403)))
    w, h = dev(CHART_W), dev(CHART_H)
    mine = picture.region(dev(CHART_LEFT), dev(CHART_TOP), w, h)
    real = shot.region(origin[0], origin[1], w, h)
    differing = sum(1 for i in range(0, len(mine), 3) if mine[i:i + 3] != real[i:i + 3])
    check(differing == 0, "headless and real chart differ in %d of %d pixels" % (differing, w * h))


def check_usage_errors(exe, env, bad_argument_lists):
    """Each bad command line ends the program with status 2 and a usage line."""
    for bad in bad_argument_lists:
        p = run([exe] + bad, env, check_rc=False)
        check(p.returncode == 2, "%s: exit status %d, expected 2" % (bad, p.returncode))
        check(b"usage:" in p.stderr, "%s: no usage line" % (bad,))


def check_bad_arguments(snapdemo, env):
    check_usage_errors(snapdemo, env, (["--move", "1,2"], ["--screenshot"], ["--screenshot", "x.png", "--move", "1;2"],
                                      ["--nonsense"]))


# ---- the run -------------------------------------------------------------------------------

def main():
    global S
    args = sys.argv[1:]
    if "--scale" in args:
        at = args.index("--scale")
        S = float(args[at + 1])
        del args[at:at + 2]
    if not args:
        print(__doc__)
        return 2
    snapdemo = os.path.abspath(args[0])
    work = args[1] if len(args) > 1 else tempfile.mkdtemp(prefix="e2e_snapdemo_")
    os.makedirs(work, exist_ok=True)
    started = time.monotonic()
    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", SNAPDEMO_TRACE="1")
    if S != 1.0:
        env["QT_SCALE_FACTOR"] = repr(S)
    program = None
    try:
        check_bad_arguments(snapdemo, env)
        # Keep the pointer off the window while it appears.
        run(["xdotool", "mousemove", "1", "1"], env)
        program = Program([snapdemo], env)
        program.next_line("activated")
        wid, wx, wy = find_window(env)
        origin = (wx + dev(CHART_LEFT), wy + dev(CHART_TOP))
        marks = demo_marks()
        program.drain()

        baseline = screenshot(env)
        write_ppm(baseline, os.path.join(work, "window_before_moves.ppm"))
        check_marks_shown(baseline, origin, marks)

        shot = baseline
        for n, pointer in enumerate(MOVES):
            run(["xdotool", "mousemove", str(origin[0] + dev(pointer[0] + 0.5)), str(origin[1] + dev(pointer[1] + 0.5))],
                env)
            line = program.next_line("move")
            lines = [line] + program.drain()
            check(not any(l == "activated" for l in lines), "the form was activated again by a mouse move")
            in_chart, lbl_x, lbl_y = parse_move_line([l for l in lines if l.startswith("move")][-1])
            check(in_chart, "pointer %s: not reported inside the plot" % (pointer,))
            # The window repaints after the handler; give it a few tries.
            for attempt in range(10):
                shot = screenshot(env)
                try:
                    check_move(shot, baseline, origin, marks, pointer, (lbl_x, lbl_y))
                    break
                except Failure:
                    if attempt == 9:
                        raise
                    time.sleep(0.1)
            print("move %d to %s: LblX=%s LblY=%s ok" % (n + 1, pointer, lbl_x, lbl_y))

        write_ppm(shot, os.path.join(work, "window_after_moves.ppm"))
        check_headless_matches(snapdemo, env, work, shot, origin)
        print("headless chart pixels match the real window (device pixel ratio %g)" % S)

        run(["xdotool", "mousemove", str(wx + dev(EXIT_BUTTON_CENTRE[0])), str(wy + dev(EXIT_BUTTON_CENTRE[1])),
             "click", "1"], env)
        try:
            rc = program.proc.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure("snapdemo did not end after Exit was clicked")
        check(rc == 0, "snapdemo ended with status %d after Exit; stderr: %s" % (rc, " | ".join(program.stderr)))
        print("Exit ends the program with status 0 (%.1f s in all)" % (time.monotonic() - started))
        return 0
    except Failure as f:
        print("FAILED: %s" % f)
        return 1
    finally:
        if program and program.proc.poll() is None:
            program.proc.kill()
            program.proc.wait()
        xvfb.terminate()
        try:
            xvfb.wait(timeout=5)
        except subprocess.TimeoutExpired:
            xvfb.kill()


if __name__ == "__main__":
    sys.exit(main())
