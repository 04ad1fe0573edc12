// The converter's two jobs, one block's sheet or a batch of every block, and their checks.
#include "cli/convert_jobs.h"

#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "imaging/ordered_workers.h"
#include "cli/block_map_choice.h"
#include "cli/job_messages.h"
#include "cli/single_block.h"
#include "cli/terminal.h"
#include "convert/conversion_job.h"
#include "convert/map_blocks.h"
#include "convert/picture_file.h"
#include "convert/export_sheet.h"
#include "convert/picture_block_load.h"
#include "convert/picture_lock.h"
#include "convert/utf8_path.h"
#include "imaging/file_types.h"

namespace korvanth {

namespace fs = std::filesystem;

namespace {

// Prints one line and returns false when the input could not be read; the reasons are the
// loader's own, the same on every host. A folder is named as such whatever the loader said.
bool ReportLoad(const std::string& input, LoadProblem problem, PixelSize size, std::FILE* err) {
  std::error_code ec;
  if (problem != LoadProblem::None && fs::is_directory(PathFromUtf8(input), ec) && !ec) {
    std::fprintf(err, "%s: %s: is a folder, not a picture\n", kProgram,
                 PrintableName(input).c_str());
    return false;
  }
  if (problem != LoadProblem::None) {
    std::fprintf(err, "%s: %s: %s\n", kProgram, PrintableName(input).c_str(),
                 LoadProblemText(problem));
    return false;
  }
  if (size.width == 0 || size.height == 0) {
    std::fprintf(err, "%s: %s: the picture is empty\n", kProgram, PrintableName(input).c_str());
    return false;
  }
  return true;
}

// A loaded picture's size; the loader admits none beyond 32-bit positions.
PixelSize SizeOf(ImageHandle& picture) {
  return {static_cast<int>(picture.Width()), static_cast<int>(picture.Height())};
}

// Loads the whole input into `picture`; one line when it cannot be read.
bool LoadInput(const std::string& input, ImageHandle& picture, std::FILE* err) {
  const LoadProblem problem = LoadPictureFile(input, picture).problem;
  return ReportLoad(input, problem, SizeOf(picture), err);
}

// Appends one printf-style message to `out`: a batch's workers gather their messages for
// the main thread, which prints them in the order of the sheets.
[[gnu::format(printf, 2, 3)]] void Say(std::string& out, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  va_list again;
  va_copy(again, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, arguments);
  va_end(arguments);
  if (length > 0) {
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(length) + 1);
    std::vsnprintf(out.data() + start, static_cast<std::size_t>(length) + 1, format, again);
    out.resize(start + static_cast<std::size_t>(length));
  }
  va_end(again);
}

// Runs `job`: its sheet, then its tilesets; one line in `messages` for each failure.
bool WriteSheet(const ConversionJob& job, std::string& messages) {
  const ConversionResult result =
      RunConversion(job, [&](ConversionWarning) { messages += FallbackWarningLine(job.output); });
  const std::string output = PrintableName(job.output);
  if (result.sheet.problem == ConversionProblem::OpenPicture) {
    messages += InputPictureLine(job.output);
  } else if (!result.sheet.ok()) {
    Say(messages, "%s: %s: cannot write: %s\n", kProgram, output.c_str(),
        ConversionReason(result.sheet).c_str());
  }
  for (const FileProblem& tileset : result.tilesets) {
    if (tileset.isPicture)
      messages += InputPictureLine(tileset.path);
    else
      Say(messages, "%s: %s: cannot write the tileset: %s\n", kProgram,
          PrintableName(tileset.path).c_str(), tileset.reason.english.c_str());
  }
  return result.ok();
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
  if (const int status = CheckOutputFile(options.output, err); status != kExitOk) return status;
  // Only the part of the file under the block is decoded, once the block has a place.
  const SheetLayout layout = options.layout();
  SingleBlockPlace place;
  PictureBlock loaded = LoadPictureBlock(options.input, layout, [&](PixelSize size) {
    place = PlaceSingleBlock(options, size);
    return place.origin;
  });
  const PixelSize size{loaded.pictureWidth, loaded.pictureHeight};
  if (!ReportLoad(options.input, loaded.outcome.problem, size, err)) return kExitFailure;
  std::fputs(place.said.c_str(), err);
  if (!place.origin) return place.status;

  std::string messages;
  ConversionJob job{&loaded.region,   layout,        loaded.origin, options.output,
                    options.tilesets, options.input, nullptr,       options.terrainName};
  // The picture's block map is the user's file too, though a single block does not read it.
  job.otherInputs.push_back({BlockMapPathFor(options.input), {"ブロックマップ", "the block map"}});
  const bool written = WriteSheet(job, messages);
  std::fputs(messages.c_str(), err);
  return written ? kExitOk : kExitFailure;
}

namespace {

// One sheet of a batch: its block, its layout and its file name in the folder.
struct BatchSheet {
  SelectionPoint origin;
  SheetLayout layout;
  std::string fileName;
};

// Every whole block of the picture, STEM_COLUMN_ROW.TYPE; none (after one line) when the
// picture holds no whole block.
std::vector<BatchSheet> GridSheets(const ConvertOptions& options, PixelSize size, std::FILE* err) {
  const SheetLayout layout = options.layout();
  const PixelSize block = SelectionBlockSize(layout);
  const int columns = size.width / block.width;
  const int rows = size.height / block.height;
  std::vector<BatchSheet> sheets;
  if (columns == 0 || rows == 0) {
    std::fprintf(err, "%s: %s: the %d x %d picture holds no whole %d x %d block\n", kProgram,
                 PrintableName(options.input).c_str(), size.width, size.height, block.width,
                 block.height);
    return sheets;
  }
  const std::string stem(FileStem(options.input));
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column)
      sheets.push_back({{column * block.width, row * block.height},
                        layout,
                        stem + "_" + std::to_string(column) + "_" + std::to_string(row) + "." +
                            options.batchType});
  return sheets;
}

// Every block (and frame) of the map at its own format, NAME.TYPE; none (after one line)
// when a block does not fit the picture or two sheets would share a file.
std::vector<BatchSheet> MapBatchSheets(const ConvertOptions& options, const BlockMapChoice& choice,
                                       PixelSize size, std::FILE* err) {
  const BlockMap& map = *choice.map;
  const std::vector<MapSheet> named = MapSheets(map);
  Phrase problem = FirstMapBlockProblem(map, size, options.layout(), false);
  if (problem.empty()) problem = SharedSheetFileProblem(map, named);
  std::vector<BatchSheet> sheets;
  if (!problem.empty()) {
    std::fprintf(err, "%s: %s: %s; nothing written\n", kProgram, PrintableName(choice.file).c_str(),
                 PrintableName(problem.english).c_str());
    return sheets;
  }
  for (const MapSheet& sheet : named) {
    const MappedBlock& block = map.blocks[sheet.block];
    sheets.push_back({MappedFrameOrigin(block, sheet.frame, options.tileSize),
                      {block.format, options.tileSize, options.complete},
                      sheet.stem + "." + options.batchType});
  }
  return sheets;
}

}  // namespace

int RunBatchConversion(const ConvertOptions& given, std::FILE* err) {
  if (!NamesAreText(given, err)) return kExitUsage;
  // A picture's name for the folder is the atlas's OUTPUT without --atlas.
  if (const auto extension = ExtensionOf(given.output);
      extension && FileTypeForExtension(*extension) != nullptr) {
    std::fputs(OutdirIsAPictureLine(given.output).c_str(), err);
    return kExitUsage;
  }
  ConvertOptions options = given;
  BlockMapChoice choice;
  if (const int status = ChooseBlockMap(options, choice, err); status != kExitOk) return status;
  ImageHandle picture;
  if (!LoadInput(options.input, picture, err)) return kExitFailure;
  const PixelSize size = SizeOf(picture);
  const std::vector<BatchSheet> sheets =
      choice.map ? MapBatchSheets(options, choice, size, err) : GridSheets(options, size, err);
  if (sheets.empty()) return kExitFailure;

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

  const bool showProgress = IsTerminal(err);
  const int total = static_cast<int>(sheets.size());
  // The picture is shared by every worker, read under the lock; each sheet is its own.
  PictureLock pictureLock;
  std::vector<std::string> messages(static_cast<std::size_t>(total));
  std::vector<char> written(static_cast<std::size_t>(total), 0);
  int failures = 0;
  RunInOrder(
      total, options.jobs.value_or(AvailableCores()),
      [&](int item) {
        if (showProgress)
          std::fprintf(err, "\r\033[K[%d/%d] %s", item + 1, total,
                       PrintableName(sheets[static_cast<std::size_t>(item)].fileName).c_str());
      },
      [&](int item) {
        const BatchSheet& sheet = sheets[static_cast<std::size_t>(item)];
        ConversionJob job{&picture,         sheet.layout,
                          sheet.origin,     Utf8FromPath(folder / PathFromUtf8(sheet.fileName)),
                          options.tilesets, options.input,
                          &pictureLock,     options.terrainName};
        // The map is an input too: no sheet or tileset is written over it.
        if (choice.map)
          job.otherInputs.push_back({choice.file, {"ブロックマップ", "the block map"}});
        written[static_cast<std::size_t>(item)] =
            WriteSheet(job, messages[static_cast<std::size_t>(item)]);
      },
      [&](int item) {
        std::fputs(messages[static_cast<std::size_t>(item)].c_str(), err);
        if (!written[static_cast<std::size_t>(item)]) ++failures;
      });
  if (showProgress) std::fprintf(err, "\r\033[K");
  std::fprintf(err, "%s: %d of %d sheets written to %s\n", kProgram, total - failures, total,
               PrintableName(options.output).c_str());
  return failures == 0 ? kExitOk : kExitFailure;
}

bool InputAndOutputAreText(const ConvertOptions& options, std::FILE* err) {
  return NamesAreText(options, err);
}

int CheckOutputFile(const std::string& output, std::FILE* err) {
  if (EndsInSeparator(output)) {
    std::fprintf(err, "%s: %s: the output name ends in '%c', so it names a folder; name a file\n",
                 kProgram, PrintableName(output).c_str(), output.back());
    return kExitUsage;
  }
  // Said before the extension: a folder's name needs none, and none would make it a file.
  std::error_code ec;
  if (fs::is_directory(PathFromUtf8(output), ec) && !ec) {
    std::fputs(OutputIsAFolderLine(output).c_str(), err);
    return kExitFailure;
  }
  // The file name's own extension: a '.' in a folder's name ("out.d/sheet") is none.
  if (!ExtensionOf(output)) {
    std::fprintf(err, "%s: %s: the output name needs an extension (%s)\n", kProgram,
                 PrintableName(output).c_str(), CanonicalExtensions(".", ", ").c_str());
    return kExitUsage;
  }
  return kExitOk;
}

bool LoadWholeInput(const std::string& input, ImageHandle& picture, std::FILE* err) {
  return LoadInput(input, picture, err);
}

}  // namespace korvanth
