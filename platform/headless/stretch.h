// SPDX-License-Identifier: MIT
// The stretch copy of the in-memory backend.
#pragma once

#include "platform/headless/headless.h"

namespace vx::headless {

// Both rectangles are in pixel coordinates of their images. A negative extent runs the other
// way; differing signs mirror. A zero extent copies nothing. Source pixels outside the image
// read as black; destination pixels outside the image are not written.
struct StretchArgs {
    int32_t DestX, DestY, DestWidth, DestHeight;
    int32_t SourceX, SourceY, SourceWidth, SourceHeight;
};

// Each destination pixel becomes the coverage-weighted mean of the source pixels under it.
void StretchAveraging(const Image& source, Image& dest, const StretchArgs& args);
// Each destination pixel takes the source pixel under its centre.
void StretchNearest(const Image& source, Image& dest, const StretchArgs& args);

} // namespace vx::headless
