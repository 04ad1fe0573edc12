// The window's process-wide state: the loaded picture, the current layout format and the
// selection block's top-left corner in picture pixels; the window's exporter reads it.
// Loading a picture into a handle of the caller's own (the converter's way) is here too.
#pragma once

#include <cstdint>
#include <string>

#include "convert/layout_format.h"
#include "convert/load_problem.h"
#include "imaging/handles.h"

namespace korvanth {

struct SourceImageState {
  // None (null) or a heap-held handle taken with GdipAlloc. A failed load still leaves
  // a handle, holding no image, with a size of 0 x 0.
  ImageHandle* image = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  // The file the picture came from, absolute (UTF-8); empty unless a load succeeded.
  std::string path;

  bool exists() const { return image != nullptr; }
};

struct SelectionPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

extern SourceImageState SourceImage;
extern LayoutFormat CurrentLayoutFormat;
extern SelectionPoint SelectionOrigin;

// Paths are held in 260-byte buffers (259 bytes of text and a terminator) and widened
// into 260 UTF-16 units.
inline constexpr int kPathBufferSize = 260;

// Widens a zero-terminated ANSI path into a buffer of kPathBufferSize units. False when
// the path does not fit (nothing is written past the buffer) or is not valid text (a byte
// that is not UTF-8 is never replaced).
bool WidenPath(const char* path, WCHAR (&wide)[kPathBufferSize]);

// Disposes of the loaded picture and frees its handle; the picture becomes none.
void DestroySourceImage();

struct LoadOutcome {
  LoadProblem problem = LoadProblem::None;
  GpStatus status = Ok;  // the handle's last status when the load failed
};

// Replaces the loaded picture by the one in the file at `path`: the old picture is gone
// before the file is opened, and a failed load leaves an empty 0 x 0 picture. The file's
// header is judged first: only BMP, GIF, PNG, TIFF and JPEG files whose decoding fits the
// memory bound reach the decoder. A loaded picture keeps its file's name.
LoadOutcome ReplaceSourceImage(const char* path);

// Loads the picture in the file at the UTF-8 `path` (any length) into `picture`, by the
// same rules, touching no process-wide state; `picture` holds no image when it fails.
LoadOutcome LoadPictureFile(const std::string& path, ImageHandle& picture);

}  // namespace korvanth
