// Thin lines through points given to a fraction of a logical pixel, drawn
// straight into the device pixels of a picture at any scale, aliased or
// smooth. This is how a bitmap that shows more than one device pixel per
// logical pixel (or smooths edges) draws data lines: a painter would stroke
// each of a million short segments as a path (ten times the exact raster's
// cost at ratio 2), and points rounded to logical pixels first would keep
// the logical staircase at every scale.
//
// The rule is the exact raster's, taken to the device grid: a segment steps
// along its major axis (the one it moves further along), one device pixel at
// a time, and at each step covers the band Scale * Width device pixels wide
// across it, centred on the line. Like the exact raster it covers its start
// and stops before its end: logical pixel (x, y) is the square [x, x + 1) x
// [y, y + 1), a point (x, y) lies at that square's centre, and a segment
// from A to B covers the major-axis positions from half a logical pixel
// before A up to half a logical pixel before B - so whole points at scale 2
// cover the two device columns of each logical pixel the exact raster steps
// through. Pixels are covered by the rule that places filled boxes (their
// centre inside the band), so lines and boxes line up at every scale.
// Smooth lines weigh the two band edges' pixels by the part of them the
// band covers.
#pragma once

#include <cstdint>

#include "platform/graphics.h"

namespace zkw {

// Draws the open line through Points[0..Count-1] (logical coordinates) into
// the device pixels of Target at Scale (up to 64) device pixels per logical
// pixel, Width logical pixels wide, in Pixel; Smooth blends the band edges.
// Clipped to the picture; segments with a point that is not finite are left
// out, and coordinates beyond 2^22 are pulled in to it.
void DrawFinePolyline(const TPixelView& Target, const TPointF* Points, int Count, double Scale, double Width,
                      std::uint32_t Pixel, bool Smooth);

}  // namespace zkw
