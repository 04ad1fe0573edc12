#include "convert/conversion_state.h"

#include <new>

#include "convert/same_file.h"
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
  SourceImage.path.clear();
}

namespace {

// Loads the file named by `path` (and `wide`, the same name in UTF-16; null when the name
// was refused) into `picture`, which holds no image when the load fails.
LoadOutcome LoadInto(const char* path, const WCHAR* wide, ImageHandle& picture) {
  if (wide == nullptr) {
    picture = ImageHandle();
    return {LoadProblem::BadPath, picture.Record(InvalidParameter)};
  }
  const imaging::PictureHeader header =
      imaging::ReadPictureHeaderOfNames(path, reinterpret_cast<const char16_t*>(wide));
  const LoadProblem refused = ProblemOfHeader(header);
  if (refused != LoadProblem::None) {
    picture = ImageHandle();
    return {refused, picture.Record(StatusOfProblem(refused))};
  }
  picture = ImageHandle::FromFile(wide);
  const GpStatus status = picture.lastStatus();
  if (status != Ok) return {ProblemOfFailedDecode(status, header.type), status};
  return {};
}

// Loads the file as the new process-wide picture, the old one gone first.
LoadOutcome LoadNamedPicture(const char* path, const WCHAR* wide) {
  DestroySourceImage();
  void* memory = GdipAlloc(sizeof(ImageHandle));
  if (memory == nullptr) return {LoadProblem::NoMemory, OutOfMemory};
  SourceImage.image = new (memory) ImageHandle();
  const LoadOutcome outcome = LoadInto(path, wide, *SourceImage.image);
  SourceImage.width = static_cast<std::int32_t>(SourceImage.image->Width());
  SourceImage.height = static_cast<std::int32_t>(SourceImage.image->Height());
  return outcome;
}

}  // namespace

LoadOutcome LoadPictureFile(const std::string& path, ImageHandle& picture) {
  const std::optional<std::vector<WCHAR>> wide = WidenUtf8(path);
  return LoadInto(path.c_str(), wide ? wide->data() : nullptr, picture);
}

LoadOutcome ReplaceSourceImage(const char* path) {
  WCHAR wide[kPathBufferSize];
  const LoadOutcome outcome = LoadNamedPicture(path, WidenPath(path, wide) ? wide : nullptr);
  if (outcome.problem == LoadProblem::None) SourceImage.path = AbsoluteName(path);
  return outcome;
}

}  // namespace korvanth
