// The two display colours and their conversion to the ARGB the imaging layer takes.
#pragma once

#include "imaging/gdiplus_api.h"

namespace korvanth {

inline constexpr int kFrameColour = 0;
inline constexpr int kBackgroundColour = 1;

// COLORREF values, 0x00BBGGRR: index 0 the frame colour, index 1 the background.
extern COLORREF ViewColours[2];

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
