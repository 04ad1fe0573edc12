// --all --atlas: names the blocks, checks the atlas fits from the header, then writes it.
#include "cli/atlas_conversion.h"

#include <string>

#include "cli/block_map_choice.h"
#include "cli/convert_jobs.h"
#include "cli/job_messages.h"
#include "convert/animation_runs.h"
#include "imaging/ordered_workers.h"
#include "convert/atlas_budget.h"
#include "convert/atlas_job.h"
#include "convert/block_names.h"
#include "convert/map_blocks.h"
#include "convert/export_sheet.h"
#include "convert/output_plan.h"
#include "convert/text_file.h"
#include "convert/utf8_path.h"
#include "imaging/picture_header.h"

namespace korvanth {

namespace {

// The blocks' names from --names, or the defaults; 0 or the exit status of a failure,
// after its one line.
int NameTheBlocks(const ConvertOptions& options, int columns, int rows,
                  std::vector<std::string>& names, std::FILE* err) {
  std::string text;
  const std::string& file = options.namesFile;
  if (!file.empty()) {
    if (!IsValidUtf8(file)) {
      std::fprintf(err, "%s: %s: the name is not valid UTF-8; rename it or pick another name\n",
                   kProgram, PrintableName(file).c_str());
      return kExitUsage;
    }
    if (const std::string problem = ReadSmallTextFile(file, kMaxNamesFileBytes, text).english;
        !problem.empty()) {
      std::fprintf(err, "%s: %s: cannot read the names: %s\n", kProgram,
                   PrintableName(file).c_str(), problem.c_str());
      return kExitFailure;
    }
  }
  const std::string stem(FileStem(options.input));
  BlockNaming naming = NameBlocks(stem, columns, rows, text);
  if (naming.ok()) naming.error = NamedFrameProblem(naming.names, stem, columns, options.frames);
  if (!naming.ok()) {
    std::fprintf(err, "%s: %s: %s\n", kProgram, PrintableName(file).c_str(),
                 PrintableName(naming.error).c_str());
    return kExitUsage;
  }
  names = std::move(naming.names);
  return kExitOk;
}

// Whether the atlas of the picture's every block fits its bounds, judged from the picture's
// header before anything is decoded (a small file may declare a huge picture); one line
// when it does not. A header the loader refuses is left to the loader to report.
bool AtlasFitsItsBounds(const ConvertOptions& options, const BlockMap* map, std::FILE* err) {
  const auto wide = WidenUtf8(options.input);
  if (!wide) return true;
  const imaging::PictureHeader header = imaging::ReadPictureHeaderOfNames(
      options.input.c_str(), reinterpret_cast<const char16_t*>(wide->data()));
  if (header.verdict != imaging::HeaderVerdict::Fits) return true;
  const std::string refusal = AtlasSizeRefusal({{static_cast<int>(header.needs.width),
                                                 static_cast<int>(header.needs.height)},
                                                options.layout(),
                                                options.frames,
                                                PlanOutput({true, options.output}).encoder.type,
                                                options.tilesets,
                                                map})
                                  .english;
  if (refusal.empty()) return true;
  std::fprintf(err, "%s: %s: %s; nothing written\n", kProgram,
               PrintableName(options.output).c_str(), refusal.c_str());
  return false;
}

// The map's blocks must lie in the picture and their frames fit an atlas row; one line
// naming the map's line when they do not.
bool MapFitsThePicture(const BlockMapChoice& choice, SheetLayout layout, PixelSize picture,
                       std::FILE* err) {
  const Phrase problem = FirstMapBlockProblem(*choice.map, picture, layout, true);
  if (problem.empty()) return true;
  std::fprintf(err, "%s: %s: %s; nothing written\n", kProgram, PrintableName(choice.file).c_str(),
               PrintableName(problem.english).c_str());
  return false;
}

}  // namespace

int RunAtlasConversion(const ConvertOptions& given, std::FILE* err) {
  if (!InputAndOutputAreText(given, err)) return kExitUsage;
  if (const int status = CheckOutputFile(given.output, err); status != kExitOk) return status;
  ConvertOptions options = given;
  BlockMapChoice choice;
  if (const int status = ChooseBlockMap(options, choice, err); status != kExitOk) return status;
  const BlockMap* map = choice.map ? &*choice.map : nullptr;
  if (!AtlasFitsItsBounds(options, map, err)) return kExitFailure;
  ImageHandle picture;
  if (!LoadWholeInput(options.input, picture, err)) return kExitFailure;
  const PixelSize size{static_cast<int>(picture.Width()), static_cast<int>(picture.Height())};
  const PixelSize block = SelectionBlockSize(options.layout());
  const int columns = size.width / block.width;
  const int rows = size.height / block.height;
  if (map != nullptr) {
    if (!MapFitsThePicture(choice, options.layout(), size, err)) return kExitFailure;
  } else if (columns == 0 || rows == 0) {
    std::fprintf(err, "%s: %s: the %d x %d picture holds no whole %d x %d block\n", kProgram,
                 PrintableName(options.input).c_str(), size.width, size.height, block.width,
                 block.height);
    return kExitFailure;
  }

  AtlasJob job;
  if (map == nullptr)
    if (const int status = NameTheBlocks(options, columns, rows, job.names, err); status != kExitOk)
      return status;
  job.picture = &picture;
  job.layout = options.layout();
  job.output = options.output;
  job.tilesets = options.tilesets;
  job.pictureFile = options.input;
  if (!options.namesFile.empty())
    job.otherInputs.push_back({options.namesFile, {"名前ファイル", "the names file"}});
  if (map != nullptr) job.otherInputs.push_back({choice.file, {"ブロックマップ", "the block map"}});
  job.map = map;
  job.mapFile = choice.file;
  job.frames = options.frames;
  job.frameMs = options.frameMs.value_or(kDefaultFrameMs);
  job.workers = options.jobs.value_or(AvailableCores());
  const AtlasResult result = RunAtlas(job, [&](ConversionWarning) {
    std::fputs(FallbackWarningLine(options.output).c_str(), err);
  });
  if (result.unevenRow >= 0) {
    std::fprintf(err,
                 "%s: %s: block row %d holds %d blocks up to its last one that is not empty, "
                 "not whole runs of --frames %d\n",
                 kProgram, PrintableName(options.input).c_str(), result.unevenRow,
                 result.unevenRowBlocks, options.frames);
    return kExitUsage;
  }
  for (const FileProblem& problem : result.problems) {
    if (problem.isPicture)
      std::fputs(InputPictureLine(problem.path).c_str(), err);
    else
      std::fprintf(err, "%s: %s: cannot write: %s\n", kProgram, PrintableName(problem.path).c_str(),
                   problem.reason.english.c_str());
  }
  if (!result.ok()) {
    std::fprintf(err, "%s: %s\n", kProgram,
                 result.partlyWritten
                     ? "only some of the atlas's files were replaced; run it again"
                     : "nothing written: the atlas and its tilesets stay as they were");
    return kExitFailure;
  }
  // A map's animations may differ in their frames.
  std::string animated;
  if (options.frames > 1)
    animated = " (" + std::to_string(result.runs) + " animations of " +
               std::to_string(options.frames) + " frames)";
  else if (result.animations > 0)
    animated = " (" + std::to_string(result.animations) + " animations)";
  std::fprintf(err, "%s: %d blocks%s into %s, %d empty blocks skipped\n", kProgram, result.placed,
               animated.c_str(), PrintableName(options.output).c_str(), result.skipped);
  return kExitOk;
}

}  // namespace korvanth
