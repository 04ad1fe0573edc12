// A format's block as an SVG picture for the README: its tiles and quarters, what each
// quarter shows, the parts of a terrain block and the block's size at 32-pixel tiles.
#pragma once

#include <string>

#include "convert/format_registry.h"
#include "quarter_looks.h"

namespace korvanth::block_pictures {

std::string BlockSvg(const FormatEntry& entry, const BlockLooks& looks);

}  // namespace korvanth::block_pictures
