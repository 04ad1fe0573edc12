// Row loops that put pixels into a destination row: exact source-over compositing of
// non-premultiplied ARGB, conversions between the three stored layouts, solid fills.
#pragma once

#include <cstdint>
#include <optional>

#include "imaging/linux/gdiplus_flat.h"
#include "imaging/linux/pixel_image.h"

namespace korvanth::imaging {

std::optional<Layout> LayoutOf(Gdiplus::PixelFormat format);

// Source-over of `count` source pixels onto the destination row. Onto a transparent
// destination the source arrives bit for bit; an opaque source replaces the destination.
void BlendRow(Layout dstLayout, std::uint8_t* dst, Layout srcLayout, const std::uint8_t* src,
              std::int64_t count);

// Source-over of one colour onto `count` destination pixels.
void FillRow(Layout dstLayout, std::uint8_t* dst, Gdiplus::ARGB colour, std::int64_t count);

// FillRow over `rows` rows `stride` bytes apart, starting at `first`.
void FillRows(Layout dstLayout, std::uint8_t* first, std::int64_t stride, Gdiplus::ARGB colour,
              std::int64_t count, std::int64_t rows);

// Plain conversion (no blending): the destination takes the source's values; layouts
// without alpha read as opaque.
void ConvertRow(Layout dstLayout, std::uint8_t* dst, Layout srcLayout, const std::uint8_t* src,
                std::int64_t count);

// The exact non-premultiplied source-over of one pixel onto an ARGB destination.
std::uint32_t BlendArgb(std::uint32_t dst, std::uint32_t src);

}  // namespace korvanth::imaging
