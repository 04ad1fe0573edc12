// Scrolling the view just far enough that a part of the picture comes into sight, as the
// block does when the keyboard moves it.
#pragma once

#include <cstdint>

#include "convert/layout_format.h"
#include "convert/picture_file.h"
#include "platform/win32_api.h"
#include "viewer/view_state.h"

namespace korvanth {

// The scroll offset (screen pixels) that shows [start, end) in a page of `page` pixels,
// moved as little as possible from `offset`. A span longer than the page shows its start.
std::int64_t RevealOffset(std::int64_t offset, std::int64_t page, std::int64_t start,
                          std::int64_t end);

// Scrolls so the picture pixels from `corner` over `size` are in the client area (as far
// as the scroll range allows) and repaints the view when it moved.
void RevealPictureArea(HWND window, ViewState& view, SelectionPoint corner, PixelSize size);

}  // namespace korvanth
