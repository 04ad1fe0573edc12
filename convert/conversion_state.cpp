#include "convert/conversion_state.h"

#include <new>

#ifndef MB_ERR_INVALID_CHARS
#define MB_ERR_INVALID_CHARS 0x00000008
#endif

namespace korvanth {

SourceImageState SourceImage;
LayoutFormat CurrentLayoutFormat = LayoutFormat::Terrain1;
SelectionPoint SelectionOrigin;

bool WidenPath(const char* path, WCHAR (&wide)[kPathBufferSize]) {
  if (path == nullptr) return false;
  // A byte that is not valid text fails the widening: replacing it would name another file.
  const int units =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, wide, kPathBufferSize);
  if (units <= 0) {
    wide[0] = 0;
    return false;
  }
  return true;
}

void DestroySourceImage() {
  if (SourceImage.image == nullptr) return;
  SourceImage.image->~ImageHandle();
  GdipFree(SourceImage.image);
  SourceImage.image = nullptr;
  SourceImage.width = 0;
  SourceImage.height = 0;
}

LoadOutcome ReplaceSourceImage(const char* path) {
  WCHAR wide[kPathBufferSize];
  const bool widened = WidenPath(path, wide);

  DestroySourceImage();

  void* memory = GdipAlloc(sizeof(ImageHandle));
  if (memory == nullptr) return {LoadProblem::NoMemory, OutOfMemory};

  LoadOutcome outcome;
  if (widened) {
    SourceImage.image = new (memory) ImageHandle(ImageHandle::FromFile(wide));
    if (SourceImage.image->lastStatus() != Ok) {
      outcome = {LoadProblem::Decoder, SourceImage.image->lastStatus()};
    }
  } else {
    // A path that does not fit the buffer is refused: the picture is present but empty.
    SourceImage.image = new (memory) ImageHandle();
    SourceImage.image->Record(InvalidParameter);
    outcome = {LoadProblem::PathTooLong, InvalidParameter};
  }

  SourceImage.width = static_cast<std::int32_t>(SourceImage.image->Width());
  SourceImage.height = static_cast<std::int32_t>(SourceImage.image->Height());
  return outcome;
}

}  // namespace korvanth
