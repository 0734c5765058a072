#!/usr/bin/env python3
"""End-to-end test of the QML example quickdemo in a real X server.

Starts Xvfb, starts quickdemo in it with --trace (it reports where the chart
item lies in the window and the ranges after every pan) and drives the real
window with xdotool:

  * a left-button drag over the chart pans it (the default mouse action,
    maPan, comes from the ComboBox binding), and the ranges reported by the
    bound properties change against the drag;
  * with the pointer moved away (the hover highlight and tooltip gone), the
    chart item shows exactly the pixels that the headless mode
    (--screenshot with the same --drag) saves;
  * a bad argument gives status 2 and the usage.

Usage: e2e_quickdemo.py PATH/TO/quickdemo [WORK_DIR]
Needs Xvfb, xdotool and ImageMagick (import, convert).
"""

import os
import re
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app"))
from e2e_snapdemo import Failure, Program, check, check_usage_errors, read_ppm, run, screenshot, start_xvfb  # noqa: E402

TITLE = "quickdemo"
DRAG_STEPS = 8  # as the headless --drag
RANGES = re.compile(r"ranges x=\[([^,]+), ([^\]]+)\] y=\[([^,]+), ([^\]]+)\]")


def find_window(env):
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        ids = run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % TITLE], env, check_rc=False).stdout.split()
        if ids:
            wid = ids[0].decode()
            geo = run(["xdotool", "getwindowgeometry", "--shell", wid], env).stdout.decode()
            v = dict(l.split("=", 1) for l in geo.split() if "=" in l)
            return wid, int(v["X"]), int(v["Y"])
        time.sleep(0.1)
    raise Failure("the window '%s' did not appear" % TITLE)


def drag(env, origin, x1, y1, x2, y2):
    def pointer(x, y):
        run(["xdotool", "mousemove", str(origin[0] + x), str(origin[1] + y)], env)
    pointer(x1, y1)
    time.sleep(0.05)
    run(["xdotool", "mousedown", "1"], env)
    for i in range(1, DRAG_STEPS + 1):
        # The same points as the headless --drag (integer steps cut towards zero).
        pointer(x1 + int((x2 - x1) * i / DRAG_STEPS), y1 + int((y2 - y1) * i / DRAG_STEPS))
        time.sleep(0.15 if i == 1 else 0.02)
    time.sleep(0.05)
    run(["xdotool", "mouseup", "1"], env)


def check_bad_arguments(exe, env):
    check_usage_errors(exe, env, (["--drag", "1,2,3,4"], ["--screenshot"], ["--screenshot", "x.png", "--drag", "1,2"], ["--nonsense"]))


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    exe = os.path.abspath(sys.argv[1])
    work = sys.argv[2] if len(sys.argv) > 2 else tempfile.mkdtemp(prefix="e2e_quickdemo_")
    os.makedirs(work, exist_ok=True)
    xvfb, display = start_xvfb()
    # The software scene graph: Xvfb has no GPU; the picture is the item's texture either way.
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QT_QUICK_BACKEND="software")
    program = None
    try:
        check_bad_arguments(exe, env)
        run(["xdotool", "mousemove", "1000", "1000"], env)
        program = Program([exe, "--trace"], env)
        ready = program.next_line("ready")
        ix, iy, iw, ih = (int(v) for v in ready.split("=", 1)[1].split(","))
        _, wx, wy = find_window(env)
        chart = (wx + ix, wy + iy)
        program.drain()

        x1, y1, x2, y2 = 200, 150, 260, 190
        drag(env, chart, x1, y1, x2, y2)
        line = program.next_line("ranges")
        m = RANGES.search(line)
        check(m is not None, "no ranges in '%s'" % line)
        xlo, xhi, ylo, yhi = (float(v) for v in m.groups())
        check(xlo < 0 and xhi < 10, "a drag to the right moves x 0..10 left, got %s..%s" % (xlo, xhi))
        check(ylo > -1.2 and yhi > 1.2, "a drag down moves y -1.2..1.2 up, got %s..%s" % (ylo, yhi))
        program.drain()
        print("pan: ranges x %s..%s y %s..%s ok" % (xlo, xhi, ylo, yhi))

        # Away from the chart: no highlight, no tooltip over it.
        run(["xdotool", "mousemove", "1000", "1000"], env)
        png = os.path.join(work, "headless.png")
        run([exe, "--screenshot", png, "--drag", "%d,%d,%d,%d" % (x1, y1, x2, y2)], dict(env, QT_QPA_PLATFORM="offscreen"))
        headless = read_ppm(run(["convert", png, "-depth", "8", "ppm:-"], env).stdout)
        check((headless.width, headless.height) == (iw, ih),
              "headless picture is %dx%d, the item %dx%d" % (headless.width, headless.height, iw, ih))
        mine = headless.region(0, 0, iw, ih)
        differing = -1
        for _ in range(30):
            shot = screenshot(env)
            real = shot.region(chart[0], chart[1], iw, ih)
            differing = sum(1 for i in range(0, len(mine), 3) if mine[i:i + 3] != real[i:i + 3])
            if differing == 0:
                break
            time.sleep(0.1)
        check(differing == 0, "real and headless chart differ in %d pixels" % differing)
        print("the window shows exactly the headless picture after the drag")
        return 0
    except Failure as e:
        print("FAIL: %s" % e)
        return 1
    finally:
        if program is not None and program.proc.poll() is None:
            program.proc.kill()
        xvfb.terminate()
        try:
            xvfb.wait(timeout=5)
        except Exception:
            xvfb.kill()


if __name__ == "__main__":
    sys.exit(main())
