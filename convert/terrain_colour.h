// The colour a terrain shows in the map editors' panels: the mean of what its full tile
// shows, so that different terrains differ at a glance.
#pragma once

#include <cstdint>
#include <optional>

#include "imaging/handles.h"

namespace korvanth {

// The alpha-weighted mean colour (0xRRGGBB, each channel rounded) of the `size` x `size`
// square at (x, y) of `sheet`: fully transparent pixels count for nothing, opaque ones
// fully. None when every pixel is fully transparent or the square cannot be read.
std::optional<std::uint32_t> MeanOpaqueColour(ImageHandle& sheet, int x, int y, int size);

}  // namespace korvanth
