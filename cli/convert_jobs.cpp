#include "cli/convert_jobs.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "cli/terminal.h"
#include "convert/block_placement.h"
#include "convert/conversion_state.h"
#include "convert/export_sheet.h"
#include "convert/same_file.h"
#include "convert/sheet_conversion.h"
#include "convert/sheet_tilesets.h"
#include "convert/utf8_path.h"
#include "imaging/file_types.h"

namespace korvanth {

namespace fs = std::filesystem;

namespace {

constexpr const char kProgram[] = "korvanth-convert";

fs::path PathFromUtf8(const std::string& text) {
  return fs::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8FromPath(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// Checks the input and loads it into `picture`. Prints one line and returns false when it
// cannot be read; the reasons are the loader's own, the same on every host.
bool LoadInput(const std::string& input, ImageHandle& picture, std::FILE* err) {
  std::error_code ec;
  if (fs::is_directory(PathFromUtf8(input), ec) && !ec) {
    std::fprintf(err, "%s: %s: is a folder, not a picture\n", kProgram,
                 PrintableName(input).c_str());
    return false;
  }
  const LoadOutcome outcome = LoadPictureFile(input, picture);
  if (outcome.problem != LoadProblem::None) {
    std::fprintf(err, "%s: %s: %s\n", kProgram, PrintableName(input).c_str(),
                 LoadProblemText(outcome.problem));
    return false;
  }
  if (picture.Width() == 0 || picture.Height() == 0) {
    std::fprintf(err, "%s: %s: the picture is empty\n", kProgram, PrintableName(input).c_str());
    return false;
  }
  return true;
}

// A loaded picture's size; the loader admits none beyond 32-bit positions.
PixelSize SizeOf(ImageHandle& picture) {
  return {static_cast<int>(picture.Width()), static_cast<int>(picture.Height())};
}

// Writes the chosen tilesets beside the sheet just written at `output`; one line for each
// that could not be written.
bool WriteTilesets(TilesetKinds kinds, LayoutFormat format, const std::string& input,
                   const std::string& output, std::FILE* err) {
  bool all = true;
  for (const TilesetTarget& target : kTilesetTargets) {
    const TilesetKinds kind = TilesetKindOf(target);
    const std::string path = TilesetPathFor(output, target.extension);
    if ((kinds & kind) && IsSameFile(input, path)) {
      std::fprintf(err, "%s: %s: is the input picture; it is never written over\n", kProgram,
                   PrintableName(path).c_str());
      kinds = TilesetKinds(kinds & ~kind);
      all = false;
    }
  }
  for (const TilesetWriteFailure& failure : WriteSheetTilesets(kinds, format, output)) {
    std::fprintf(err, "%s: %s: cannot write the tileset: %s\n", kProgram,
                 PrintableName(failure.path).c_str(), failure.reason.c_str());
    all = false;
  }
  return all;
}

// The unknown-extension warning: what happens, in English, with the window's own text.
void WarnAboutFallback(std::FILE* err, const std::string& output) {
  std::fprintf(err,
               "%s: warning: %s: the extension selects no file type; BMP content is written "
               "under this name (%s)\n",
               kProgram, PrintableName(output).c_str(), kBitmapFallbackWarning);
}

// Writes the sheet of the block at `origin` to `output`, and its tilesets; one line for
// each failure.
bool WriteSheet(ImageHandle& picture, const std::string& input, const std::string& output,
                LayoutFormat format, SelectionPoint origin, TilesetKinds tilesets, std::FILE* err) {
  if (IsSameFile(input, output)) {
    std::fprintf(err, "%s: %s: is the input picture; it is never written over\n", kProgram,
                 PrintableName(output).c_str());
    return false;
  }
  const ConversionStatus status = ConvertBlockToFile(
      picture, format, origin, output, [&](ConversionWarning) { WarnAboutFallback(err, output); });
  if (status.ok()) return WriteTilesets(tilesets, format, input, output, err);
  std::fprintf(err, "%s: %s: cannot write: %s\n", kProgram, PrintableName(output).c_str(),
               ConversionReason(status).c_str());
  return false;
}

void WarnIfOutside(SelectionPoint origin, PixelSize block, PixelSize picture, std::FILE* err) {
  // In 64 bits: the block's far edge may lie beyond the largest 32-bit position.
  const std::int64_t right = std::int64_t{origin.x} + block.width;
  const std::int64_t bottom = std::int64_t{origin.y} + block.height;
  if (origin.x < 0 || origin.y < 0 || right > picture.width || bottom > picture.height) {
    std::fprintf(err,
                 "%s: warning: the %d x %d block at %d,%d reaches outside the %d x %d "
                 "picture; the outside stays transparent\n",
                 kProgram, block.width, block.height, origin.x, origin.y, picture.width,
                 picture.height);
  }
}

// Why the batch's folder could not be made: a file in the way, a name part longer than any
// host takes (Wine answers that with a missing path), or the system's own cause.
const char* FolderFailureReason(const std::string& folder, const std::error_code& ec) {
  if (!ec || ec == std::errc::file_exists || ec == std::errc::not_a_directory)
    return "a file of that name is in the way";
  const std::optional<std::vector<WCHAR>> wide = WidenUtf8(folder);
  if (wide && HasOverlongWindowsName(wide->data()))
    return SaveProblemText(SaveProblem::NameTooLong);
  return SaveProblemText(SaveProblemFromErrorCode(ec));
}

// Every name the job opens must be valid UTF-8: one line and a usage error otherwise,
// before anything is read or written.
bool NamesAreText(const ConvertOptions& options, std::FILE* err) {
  for (const std::string* name : {&options.input, &options.output}) {
    if (!IsValidUtf8(*name)) {
      std::fprintf(err, "%s: %s: the name is not valid UTF-8; rename it or pick another name\n",
                   kProgram, PrintableName(*name).c_str());
      return false;
    }
  }
  return true;
}

// A name ending in a separator can only be a folder ('\\' is one on Windows alone).
bool EndsInSeparator(const std::string& name) {
  if (name.empty()) return false;
#ifdef _WIN32
  if (name.back() == '\\') return true;
#endif
  return name.back() == '/';
}

}  // namespace

int RunSingleConversion(const ConvertOptions& options, std::FILE* err) {
  if (!NamesAreText(options, err)) return kExitUsage;
  if (EndsInSeparator(options.output)) {
    std::fprintf(err, "%s: %s: the output name ends in '%c', so it names a folder; name a file\n",
                 kProgram, PrintableName(options.output).c_str(), options.output.back());
    return kExitUsage;
  }
  if (std::strchr(options.output.c_str(), '.') == nullptr) {
    std::fprintf(err, "%s: %s: the output name needs an extension (%s)\n", kProgram,
                 PrintableName(options.output).c_str(), CanonicalExtensions(".", ", ").c_str());
    return kExitUsage;
  }
  ImageHandle picture;
  if (!LoadInput(options.input, picture, err)) return kExitFailure;
  const PixelSize size = SizeOf(picture);
  const PixelSize block = SelectionBlockSize(options.format);
  SelectionPoint origin;
  if (options.origin) origin = *options.origin;
  if (options.cell) {
    const auto placed = PlaceBlockOnCell(options.cell->column, options.cell->row, block, size);
    if (!placed) {
      std::fprintf(err, "%s: --cell %d,%d names no block of this picture\n", kProgram,
                   options.cell->column, options.cell->row);
      return kExitUsage;
    }
    origin = *placed;
  }
  WarnIfOutside(origin, block, size, err);

  const bool written = WriteSheet(picture, options.input, options.output, options.format, origin,
                                  options.tilesets, err);
  return written ? kExitOk : kExitFailure;
}

int RunBatchConversion(const ConvertOptions& options, std::FILE* err) {
  if (!NamesAreText(options, err)) return kExitUsage;
  ImageHandle picture;
  if (!LoadInput(options.input, picture, err)) return kExitFailure;
  const PixelSize size = SizeOf(picture);
  const PixelSize block = SelectionBlockSize(options.format);
  const int columns = size.width / block.width;
  const int rows = size.height / block.height;
  if (columns == 0 || rows == 0) {
    std::fprintf(err, "%s: %s: the %d x %d picture holds no whole %d x %d block\n", kProgram,
                 PrintableName(options.input).c_str(), size.width, size.height, block.width,
                 block.height);
    return kExitFailure;
  }

  std::error_code ec;
  const fs::path folder = PathFromUtf8(options.output);
  fs::create_directories(folder, ec);
  std::error_code checked;
  if (!fs::is_directory(folder, checked)) {
    const char* reason = FolderFailureReason(options.output, ec);
    std::fprintf(err, "%s: %s: cannot create the output folder: %s\n", kProgram,
                 PrintableName(options.output).c_str(), reason);
    return kExitFailure;
  }

  const std::string stem = Utf8FromPath(PathFromUtf8(options.input).stem());
  const bool showProgress = IsTerminal(err);
  const int total = columns * rows;
  int done = 0;
  int failures = 0;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      const std::string name =
          stem + "_" + std::to_string(column) + "_" + std::to_string(row) + "." + options.batchType;
      const std::string output = Utf8FromPath(folder / PathFromUtf8(name));
      if (showProgress)
        std::fprintf(err, "\r\033[K[%d/%d] %s", done + 1, total, PrintableName(name).c_str());
      const SelectionPoint origin{column * block.width, row * block.height};
      if (!WriteSheet(picture, options.input, output, options.format, origin, options.tilesets,
                      err))
        ++failures;
      ++done;
    }
  }
  if (showProgress) std::fprintf(err, "\r\033[K");
  std::fprintf(err, "%s: %d of %d sheets written to %s\n", kProgram, total - failures, total,
               PrintableName(options.output).c_str());
  return failures == 0 ? kExitOk : kExitFailure;
}

}  // namespace korvanth
