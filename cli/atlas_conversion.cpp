// --all --atlas: names the blocks, checks the atlas fits from the header, then writes it.
#include "cli/atlas_conversion.h"

#include <string>

#include "cli/convert_jobs.h"
#include "cli/job_messages.h"
#include "convert/animation_runs.h"
#include "imaging/ordered_workers.h"
#include "convert/atlas_budget.h"
#include "convert/atlas_job.h"
#include "convert/block_names.h"
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
    if (const std::string problem = ReadSmallTextFile(file, kMaxNamesFileBytes, text);
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
bool AtlasFitsItsBounds(const ConvertOptions& options, std::FILE* err) {
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
                                                options.tilesets})
                                  .english;
  if (refusal.empty()) return true;
  std::fprintf(err, "%s: %s: %s; nothing written\n", kProgram,
               PrintableName(options.output).c_str(), refusal.c_str());
  return false;
}

}  // namespace

int RunAtlasConversion(const ConvertOptions& options, std::FILE* err) {
  if (!InputAndOutputAreText(options, err)) return kExitUsage;
  if (!OutputNamesAFile(options.output, err)) return kExitUsage;
  if (!AtlasFitsItsBounds(options, err)) return kExitFailure;
  ImageHandle picture;
  if (!LoadWholeInput(options.input, picture, err)) return kExitFailure;
  const PixelSize block = SelectionBlockSize(options.layout());
  const int columns = static_cast<int>(picture.Width()) / block.width;
  const int rows = static_cast<int>(picture.Height()) / block.height;
  if (columns == 0 || rows == 0) {
    std::fprintf(err, "%s: %s: the %u x %u picture holds no whole %d x %d block\n", kProgram,
                 PrintableName(options.input).c_str(), picture.Width(), picture.Height(),
                 block.width, block.height);
    return kExitFailure;
  }

  AtlasJob job;
  if (const int status = NameTheBlocks(options, columns, rows, job.names, err); status != kExitOk)
    return status;
  job.picture = &picture;
  job.layout = options.layout();
  job.output = options.output;
  job.tilesets = options.tilesets;
  job.pictureFile = options.input;
  if (!options.namesFile.empty())
    job.otherInputs.push_back({options.namesFile, {"名前ファイル", "the names file"}});
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
  const std::string animated = options.frames > 1
                                   ? " (" + std::to_string(result.runs) + " animations of " +
                                         std::to_string(options.frames) + " frames)"
                                   : std::string();
  std::fprintf(err, "%s: %d blocks%s into %s, %d empty blocks skipped\n", kProgram, result.placed,
               animated.c_str(), PrintableName(options.output).c_str(), result.skipped);
  return kExitOk;
}

}  // namespace korvanth
