#!/usr/bin/env bash
# Rebuilds the picture gallery: builds the generator (examples/gallery), runs
# it into docs/gallery/ and writes docs/GALLERY.md from the code between the
# generator's `[gallery:NAME] Title` ... `[/gallery:NAME]` markers, so the
# pictures and the code shown next to them always come from the same source.
#   scripts/gallery.sh [BUILD_DIR]     (default: build-gallery)
# docs/gallery/fonts.txt records the system the pictures were made on; the
# CTest `gallery` compares against them only on the same system (same fonts).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-gallery}

if [[ ! -f "$BUILD_DIR/CMakeCache.txt" ]]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
fi
cmake --build "$BUILD_DIR" -j2 --target zkw_gallery zkw_example_stream

rm -f docs/gallery/*.png
mkdir -p docs/gallery
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/examples/gallery/zkw_gallery" docs/gallery
# The two demo programs, through their own headless picture option: their
# charts come from the demos' stored form descriptions, which only the demo
# library reads.
cmake --build "$BUILD_DIR" -j2 --target snapdemo actiondemo
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/app/snapdemo" --screenshot docs/gallery/demo-snapdemo.png --move 240,150
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/app/actiondemo" --screenshot docs/gallery/demo-actiondemo.png \
  --drag 200,200,240,200 --action maZoomWind --drag 160,242,360,74
# The live-data example after a second of frames (100,000 points of history).
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/examples/stream/zkw_example_stream" --points 100000 \
  --screenshot docs/gallery/stream.png
head -n1 /etc/debian_version > docs/gallery/fonts.txt 2>/dev/null || echo unknown > docs/gallery/fonts.txt

python3 - docs/gallery docs/GALLERY.md examples/gallery/main.cpp examples/stream/stream_frame.h <<'PY'
import os, re, sys, textwrap

pictures, out = sys.argv[1:3]
sources = sys.argv[3:]
start = re.compile(r"^[ \t]*// \[gallery:([a-z0-9-]+)\] (.+)$", re.M)
files = sorted(f for f in os.listdir(pictures) if f.endswith(".png"))
used = set()
parts = []
marks = []
for source in sources:
    text = open(source, encoding="utf-8").read()
    marks += [(source, text, m) for m in start.finditer(text)]
for source, text, m in marks:
    name, title = m.group(1), m.group(2).strip()
    end = text.find("// [/gallery:%s]" % name, m.end())
    if end < 0:
        sys.exit("gallery.sh: no end marker for " + name)
    body = text[m.end():end]
    body = body[: body.rfind("\n")]  # up to the end marker's line
    code = textwrap.dedent(body.strip("\n"))
    shown = [f for f in files if f == name + ".png" or f.startswith(name + "-")]
    if not shown:
        sys.exit("gallery.sh: topic %s wrote no picture" % name)
    used.update(shown)
    images = "\n".join("![%s](gallery/%s)" % (f[:-4], f) for f in shown)
    origin = "" if source == sources[0] else "From [%s](../%s):\n\n" % (source, source)
    parts.append("## %s\n\n%s\n\n%s```cpp\n%s\n```\n" % (title, images, origin, code))
# The demo programs: their pictures come from their own command lines.
demos = [
    ("demo-snapdemo", "The demo program snapdemo",
     "build/app/snapdemo --screenshot demo-snapdemo.png --move 240,150",
     "The red cursor mark snaps to the mark nearest to the pointer; the labels show its x and y."),
    ("demo-actiondemo", "The demo program actiondemo",
     "build/app/actiondemo --screenshot demo-actiondemo.png \\\n"
     "  --drag 200,200,240,200 --action maZoomWind --drag 160,242,360,74",
     "A pan, then a zoom window chosen in the drop-down; the log shows the chart's events."),
]
for name, title, command, note in demos:
    if name + ".png" not in files:
        sys.exit("gallery.sh: no picture of " + name)
    used.add(name + ".png")
    parts.append("## %s\n\n![%s](gallery/%s.png)\n\n%s\n\n```sh\n%s\n```\n" % (title, name, name, note, command))
left = sorted(set(files) - used)
if left:
    sys.exit("gallery.sh: pictures of no topic: " + ", ".join(left))
head = """# Gallery

Every picture below was drawn by the library itself, without a display
(`InitHeadless`, Qt's offscreen platform), and saved at the chart's size with
`SavePng`, or, for the pictures of a mouse drag, from the chart's window
surface (`WindowSurface()`), which also holds what the mouse drew. The code
under each picture is cut from the generator,
[examples/gallery/main.cpp](../examples/gallery/main.cpp); `Save` and
`SaveWindow` there write `NAME.png` and note its size for the check, and
`Prepare` gives a chart its size, both axes of layer 1 and their ranges.

Do not edit this page: `scripts/gallery.sh` builds the generator, runs it into
`docs/gallery/` and writes this page from the generator's source, so the
pictures and the code cannot drift apart. The CTest `gallery` runs the
generator into the build folder and checks that every picture is written, has
its chart's size and is not blank; on the system named in
`docs/gallery/fonts.txt` it also reports pictures that differ from the ones
here.

The two demo programs come last: their charts are read from the demos'
stored form descriptions, which only the demo library loads, so their
pictures are written by the programs themselves (`--screenshot`).

"""
open(out, "w", encoding="utf-8").write(head + "\n".join(parts))
print("wrote %s: %d topics, %d pictures" % (out, len(parts), len(used)))
PY
du -sh docs/gallery
