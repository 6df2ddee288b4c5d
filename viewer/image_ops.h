// Drawing between 32-bit pixel buffers: what the viewer does with its pictures, kept apart from
// the window so that it can be checked pixel by pixel.
#pragma once
#include <cstdint>

#include "viewer/bmp_decoder.h"

namespace bmp {

// A black picture of the given size; throws std::bad_alloc when there is no memory for it.
Image MakeImage(int width, int height);

// Fills the rectangle [left, right) x [top, bottom), clipped to the picture.
void FillRect(Image& dst, int left, int top, int right, int bottom, std::uint32_t pixel);

// Copies `src` with its top-left corner at (left, top) of `dst`, clipped to `dst`; what lies
// outside `src` keeps its pixels.
void Draw(Image& dst, const Image& src, int left, int top);

// Stretches `src` over the whole of `dst`, each target pixel taking the source pixel under
// its centre (no blending, like a colour-on-colour stretch).
void StretchDraw(Image& dst, const Image& src);

}  // namespace bmp
