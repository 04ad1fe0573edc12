// Loads a picture file into the caller's handle, its path widened strictly, with the cause.
#include "convert/picture_file.h"

#include "convert/utf8_path.h"

namespace korvanth {

namespace {

// Loads the file named by `path` (and `wide`, the same name in UTF-16; null when the name
// was refused) into `picture`, which holds no image when the load fails.
LoadOutcome LoadInto(const char* path, const WCHAR* wide, ImageHandle& picture) {
  if (wide == nullptr) {
    picture = ImageHandle();
    return {LoadProblem::BadPath, picture.Record(InvalidParameter)};
  }
  const imaging::PictureHeader header =
      imaging::JudgePictureOfNames(path, reinterpret_cast<const char16_t*>(wide));
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

}  // namespace

LoadOutcome LoadPictureFile(const std::string& path, ImageHandle& picture) {
  const std::optional<std::vector<WCHAR>> wide = WidenUtf8(path);
  return LoadInto(path.c_str(), wide ? wide->data() : nullptr, picture);
}

LoadOutcome LoadPictureNamed(const char* path, ImageHandle& picture) {
  WCHAR wide[kPathBufferSize];
  return LoadInto(path, WidenPath(path, wide) ? wide : nullptr, picture);
}

}  // namespace korvanth
