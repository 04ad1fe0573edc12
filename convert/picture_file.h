// A block's corner in picture pixels, and loading a picture file into a handle of the
// caller's own, with the cause of a failed load.
#pragma once

#include <cstdint>
#include <string>

#include "convert/layout_format.h"
#include "convert/load_problem.h"
#include "convert/utf8_path.h"
#include "imaging/handles.h"

namespace korvanth {

struct SelectionPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct LoadOutcome {
  LoadProblem problem = LoadProblem::None;
  GpStatus status = Ok;  // the handle's last status when the load failed
};

// Loads the picture in the file at `path` (UTF-8 off Windows, the ANSI code page on
// Windows, as the window's dialogs give it; at most kPathBufferSize - 1 bytes) into
// `picture`, which holds no image when it fails. The file's header is judged first: only
// BMP, GIF, PNG, TIFF and JPEG files whose decoding fits the memory bound reach the decoder.
LoadOutcome LoadPictureNamed(const char* path, ImageHandle& picture);

// Loads the picture in the file at the UTF-8 `path` (any length) into `picture`, by the
// same rules, touching no process-wide state; `picture` holds no image when it fails.
LoadOutcome LoadPictureFile(const std::string& path, ImageHandle& picture);

}  // namespace korvanth
