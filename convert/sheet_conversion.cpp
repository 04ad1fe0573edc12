// What a conversion decides from the name and block (encoder, positions), and failure causes.
#include "convert/sheet_conversion.h"

#include <cstdint>
#include <limits>

namespace korvanth {

namespace {

bool AxisFits(std::int32_t corner, int extent) {
  return static_cast<std::int64_t>(corner) + extent - 1 <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

Phrase ConversionCause(const ConversionStatus& status) {
  switch (status.problem) {
    case ConversionProblem::None:
      return {};
    case ConversionProblem::NoPicture:
      return {"ピクチャが開かれていません", "no picture is open"};
    case ConversionProblem::NoExtension:
      return {"名前に拡張子がありません（" + CanonicalExtensions(".", "、") + "）",
              "the name has no extension (" + CanonicalExtensions(".", ", ") + ")"};
    case ConversionProblem::InvalidName:
      return {"名前が正しいUTF-8ではありません", "the name is not valid UTF-8"};
    case ConversionProblem::BlockOutOfRange:
      return {"ブロックが扱える最大のピクセル位置を超えています",
              "the block lies beyond the largest pixel position"};
    case ConversionProblem::BuildFailed:
      return {"シートを作れませんでした（メモリが足りません）",
              "the sheet could not be built (out of memory)"};
    case ConversionProblem::SaveFailed:
      return Phrase(SaveProblemCause(status.save.problem));
    case ConversionProblem::OpenPicture:
      return {"開いているピクチャです。上書きはしません",
              "it is the open picture; it is never written over"};
    case ConversionProblem::OtherInput:
      return {"Korvanthが読むファイルです。上書きはしません",
              "it is a file Korvanth reads; it is never written over"};
  }
  return {"シートを書き込めませんでした", "the sheet could not be written"};
}

std::string ConversionReason(const ConversionStatus& status) {
  return ConversionCause(status).english;
}

EncoderChoice ChooseEncoder(std::string_view extension) {
  const FileType* type = FileTypeForExtension(extension);
  return {type != nullptr ? type : &FallbackFileType(), type == nullptr};
}

bool BlockFitsPositions(SelectionPoint origin, PixelSize block) {
  return AxisFits(origin.x, block.width) && AxisFits(origin.y, block.height);
}

}  // namespace korvanth
