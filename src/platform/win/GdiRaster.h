// Private to the window layer: drawing recorded calls into the pixels of a memory bitmap. Every
// coordinate is clipped to the picture first, so no call loops over more than the picture's pixels
// whatever rectangle it is given.
#pragma once

#include "platform/win/DrawingContext.h"

namespace kxwin::detail {

// Draws one recorded call into the pixels. Text is not rasterised.
void rasterise(const DrawOp& op, BitmapPixels& target);

// a + b clamped to the LONG range: coordinates built from a position and a size never overflow.
LONG addClamped(std::int64_t a, std::int64_t b);

} // namespace kxwin::detail
