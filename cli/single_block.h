// Where the block of a single conversion lies, judged from the picture's size alone (known
// from its header before anything is decoded): a block wholly outside the picture and a
// --cell past the last cell are refused, a block partly outside is converted with a warning.
#pragma once

#include <optional>
#include <string>

#include "cli/options.h"

namespace korvanth {

struct SingleBlockPlace {
  std::optional<SelectionPoint> origin;  // empty: refused
  std::string said;                      // the refusal's line, or the warning; empty: none
  int status = 0;                        // the exit status of a refusal
};

// The place of the block of `options` (--origin, or --cell) in a picture of `picture`'s
// size. A cell is one where the whole block lies, from 0,0 to the last such cell; cell 0
// of a picture smaller than the block remains, and is placed as the window places it.
SingleBlockPlace PlaceSingleBlock(const ConvertOptions& options, PixelSize picture);

}  // namespace korvanth
