#include "convert/picture_block_load.h"

#include "convert/load_problem.h"
#include "convert/utf8_path.h"

namespace korvanth {

PictureBlock LoadPictureBlock(const std::string& path, LayoutFormat format, std::int32_t x,
                              std::int32_t y) {
  PictureBlock block;
  const std::optional<std::vector<WCHAR>> wide = WidenUtf8(path);
  if (!wide) {
    block.outcome = {LoadProblem::BadPath, block.region.Record(InvalidParameter)};
    return block;
  }
  const imaging::PictureHeader header = imaging::ReadPictureHeaderOfNames(
      path.c_str(), reinterpret_cast<const char16_t*>(wide->data()));
  if (const LoadProblem refused = ProblemOfHeader(header); refused != LoadProblem::None) {
    block.outcome = {refused, block.region.Record(StatusOfProblem(refused))};
    return block;
  }
  const PixelSize size = SelectionBlockSize(format);
  imaging::LoadedRegion loaded;
  block.region =
      ImageHandle::FromPictureRegion(wide->data(), x, y, size.width, size.height, loaded);
  if (const GpStatus status = block.region.lastStatus(); status != Ok) {
    block.outcome = {ProblemOfFailedDecode(status, header.type), status};
    return block;
  }
  // Pictures are below 2^31 pixels a side, and the region lies inside the picture.
  block.pictureWidth = static_cast<std::int32_t>(loaded.pictureWidth);
  block.pictureHeight = static_cast<std::int32_t>(loaded.pictureHeight);
  block.origin = {static_cast<std::int32_t>(x - loaded.region.left),
                  static_cast<std::int32_t>(y - loaded.region.top)};
  return block;
}

}  // namespace korvanth
