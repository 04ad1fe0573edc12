// Scrolling the view just far enough that a part of the picture comes into sight, as the
// block does when the keyboard moves it.
#pragma once

#include <cstdint>

#include "convert/layout_format.h"
#include "convert/picture_file.h"
#include "platform/win32_api.h"
#include "viewer/view_state.h"

namespace korvanth {

// How a span longer than the page comes into sight: from its start (the keys, which move
// the block by its corner), or by the least scroll that fills the page with it (a zoom,
// which should move a view that shows nothing but the block not at all).
enum class LongSpan { FromItsStart, LeastScroll };

// The scroll offset (screen pixels) that shows [start, end) in a page of `page` pixels,
// moved as little as possible from `offset`; a longer span as `longSpan` says.
std::int64_t RevealOffset(std::int64_t offset, std::int64_t page, std::int64_t start,
                          std::int64_t end, LongSpan longSpan = LongSpan::FromItsStart);

// Scrolls so the picture pixels from `corner` over `size` are in the client area (as far
// as the scroll range allows) and repaints the view when it moved.
void RevealPictureArea(HWND window, ViewState& view, SelectionPoint corner, PixelSize size,
                       LongSpan longSpan = LongSpan::FromItsStart);

}  // namespace korvanth
