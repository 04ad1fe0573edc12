#include "viewer/view_colours.h"

namespace korvanth {

COLORREF ViewColours[2] = {0x000000FF, 0x00808080};

}  // namespace korvanth
