#include "convert/conversion_state.h"

#include <new>

#include "convert/utf8_path.h"

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

namespace {

// Loads the file named by `path` (and `wide`, the same name in UTF-16; null when the name
// was refused) as the new picture, the old one gone first.
LoadOutcome LoadNamedPicture(const char* path, const WCHAR* wide) {
  DestroySourceImage();

  void* memory = GdipAlloc(sizeof(ImageHandle));
  if (memory == nullptr) return {LoadProblem::NoMemory, OutOfMemory};

  LoadOutcome outcome;
  if (wide != nullptr) {
    const korvanth::imaging::PictureHeader header =
        korvanth::imaging::ReadPictureHeaderOfPath(path);
    const LoadProblem refused = ProblemOfHeader(header);
    if (refused != LoadProblem::None) {
      SourceImage.image = new (memory) ImageHandle();
      outcome = {refused, SourceImage.image->Record(StatusOfProblem(refused))};
    } else {
      SourceImage.image = new (memory) ImageHandle(ImageHandle::FromFile(wide));
      const GpStatus status = SourceImage.image->lastStatus();
      if (status != Ok) outcome = {ProblemOfFailedDecode(status, header.type), status};
    }
  } else {
    // A refused name: the picture is present but empty.
    SourceImage.image = new (memory) ImageHandle();
    SourceImage.image->Record(InvalidParameter);
    outcome = {LoadProblem::BadPath, InvalidParameter};
  }

  SourceImage.width = static_cast<std::int32_t>(SourceImage.image->Width());
  SourceImage.height = static_cast<std::int32_t>(SourceImage.image->Height());
  return outcome;
}

}  // namespace

LoadOutcome ReplaceSourceImage(const char* path) {
  WCHAR wide[kPathBufferSize];
  return LoadNamedPicture(path, WidenPath(path, wide) ? wide : nullptr);
}

LoadOutcome ReplaceSourceImageOfAnyLength(const std::string& path) {
  const std::optional<std::vector<WCHAR>> wide = WidenUtf8(path);
  return LoadNamedPicture(path.c_str(), wide ? wide->data() : nullptr);
}

}  // namespace korvanth
