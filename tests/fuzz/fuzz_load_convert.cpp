// The converter's whole path over any bytes: they are loaded as a picture file, and the
// sheet of one block is built and saved by the conversion core the converter uses. The
// layout format, the sheet's file type and the block's place come from the input's
// length, so every seed is a plain picture and a reproducer replays as it ran. A picture
// that loads must convert, and so must the region of it that the block needs, to the
// same file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "convert/conversion_job.h"
#include "convert/picture_file.h"
#include "convert/layout_format.h"
#include "convert/picture_block_load.h"
#include "convert/sheet_conversion.h"
#include "imaging/handles.h"
#include "tests/fuzz/fuzz_input.h"

using namespace korvanth;

namespace {

std::filesystem::path OutputFolder;

void RemoveOutputFolder() {
  std::error_code ec;
  std::filesystem::remove_all(OutputFolder, ec);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  GdiplusStartupInput startupInput;
  ULONG_PTR token = 0;
  GdiplusStartup(&token, &startupInput, nullptr);
  std::string folder = (std::filesystem::temp_directory_path() / "korvanth-fuzz-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    std::perror("korvanth-fuzz: no temporary folder");
    std::exit(1);
  }
  OutputFolder = folder;
  std::atexit(RemoveOutputFolder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::InputFile input(data, size);
  if (input.file() == nullptr || !fuzz::WithinFuzzBudget(fuzz::ReadHeader(input.file()))) return 0;
  ImageHandle picture;
  if (LoadPictureFile(input.path(), picture).problem != LoadProblem::None) return 0;

  static constexpr const char* kExtensions[] = {".png", ".bmp", ".gif", ".jpg", ".tif"};
  // Left of, at and right of the corner: blocks partly outside convert too.
  static constexpr int kOffsets[] = {0, -32, 48};
  const LayoutFormat format = kAllLayoutFormats[size % 3];
  const char* extension = kExtensions[size / 3 % 5];
  const int offset = kOffsets[size / 15 % 3];
  const std::string output = (OutputFolder / "sheet").string() + extension;
  const ConversionStatus status =
      RunConversion({&picture, format, SelectionPoint{offset, offset}, output, kNoTilesets, {}}, {})
          .sheet;
  if (!status.ok()) {
    std::fprintf(stderr, "a loaded %u x %u picture did not convert to %s: %s\n", picture.Width(),
                 picture.Height(), output.c_str(), ConversionReason(status).c_str());
    std::abort();
  }
  // The block's region alone converts to the same file.
  PictureBlock block = LoadPictureBlock(input.path(), format, offset, offset);
  const std::string fromRegion = (OutputFolder / "region").string() + extension;
  if (block.outcome.problem != LoadProblem::None ||
      !RunConversion({&block.region, format, block.origin, fromRegion, kNoTilesets, {}}, {}).ok() ||
      block.pictureWidth != static_cast<std::int32_t>(picture.Width()) ||
      block.pictureHeight != static_cast<std::int32_t>(picture.Height()) ||
      ReadAll(fromRegion) != ReadAll(output)) {
    std::fprintf(stderr, "the block's region of a loaded %u x %u picture gave another sheet\n",
                 picture.Width(), picture.Height());
    std::abort();
  }
  return 0;
}
