// The two display colours and their conversion to the ARGB the imaging layer takes.
#pragma once

#include "imaging/gdiplus_api.h"
#include "viewer/view_state.h"

namespace korvanth {

// 0xFF000000 | R << 16 | G << 8 | B; the top byte of the COLORREF is ignored.
constexpr ARGB ColourToArgb(COLORREF colour) {
  return 0xFF000000u | (colour & 0xFFu) << 16 | ((colour >> 8) & 0xFFu) << 8 |
         ((colour >> 16) & 0xFFu);
}

constexpr ARGB ColourToArgbAlpha(COLORREF colour, unsigned alpha) {
  return (alpha & 0xFFu) << 24 | (colour & 0xFFu) << 16 | ((colour >> 8) & 0xFFu) << 8 |
         ((colour >> 16) & 0xFFu);
}

}  // namespace korvanth
