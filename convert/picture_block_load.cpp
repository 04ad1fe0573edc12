// Loads one block: the header judged first, the block placed, then only the region under it.
#include "convert/picture_block_load.h"

#include "convert/load_problem.h"
#include "convert/utf8_path.h"

namespace korvanth {

PictureBlock LoadPictureBlock(const std::string& path, SheetLayout layout,
                              const BlockPlacement& place) {
  PictureBlock block;
  const std::optional<std::vector<WCHAR>> wide = WidenUtf8(path);
  if (!wide) {
    block.outcome = {LoadProblem::BadPath, block.region.Record(InvalidParameter)};
    return block;
  }
  const imaging::PictureHeader header =
      imaging::JudgePictureOfNames(path.c_str(), reinterpret_cast<const char16_t*>(wide->data()));
  if (const LoadProblem refused = ProblemOfHeader(header); refused != LoadProblem::None) {
    block.outcome = {refused, block.region.Record(StatusOfProblem(refused))};
    return block;
  }
  // A judged header's size fits 32 bits (the pixel bound admits nothing larger).
  block.pictureWidth = static_cast<std::int32_t>(header.needs.width);
  block.pictureHeight = static_cast<std::int32_t>(header.needs.height);
  const std::optional<SelectionPoint> origin = place({block.pictureWidth, block.pictureHeight});
  if (!origin) {
    block.placed = false;
    return block;
  }
  block.placedAt = *origin;
  const PixelSize size = SelectionBlockSize(layout);
  imaging::LoadedRegion loaded;
  block.region = ImageHandle::FromPictureRegion(wide->data(), origin->x, origin->y, size.width,
                                                size.height, loaded);
  if (const GpStatus status = block.region.lastStatus(); status != Ok) {
    block.outcome = {ProblemOfFailedDecode(status, header.type), status};
    return block;
  }
  if (loaded.pictureWidth != header.needs.width || loaded.pictureHeight != header.needs.height) {
    // The decoder saw another size than the header: the place is not known to hold.
    block.region = ImageHandle();
    block.outcome = {LoadProblem::Damaged, block.region.Record(GenericError)};
    return block;
  }
  block.origin = {static_cast<std::int32_t>(origin->x - loaded.region.left),
                  static_cast<std::int32_t>(origin->y - loaded.region.top)};
  return block;
}

PictureBlock LoadPictureBlock(const std::string& path, SheetLayout layout, std::int32_t x,
                              std::int32_t y) {
  return LoadPictureBlock(path, layout, [&](PixelSize) { return SelectionPoint{x, y}; });
}

}  // namespace korvanth
