// Writing a plan: the output's bytes and its tilesets, each file whole or all or nothing.
#include "convert/output_writer.h"

#include <new>
#include <string>

#include "convert/text_stream.h"
#include "convert/utf8_path.h"
#include "imaging/staged_file.h"

namespace korvanth {

namespace {

// Writes the tileset's text into `staged` piece by piece: an atlas's may run to many MiB.
SaveProblem StageTileset(const PlannedTileset& tileset, const TilesetDescription& description,
                         StagedFile& staged) {
  const auto name = WidenUtf8(tileset.path);
  if (!name) return SaveProblem::Other;
  SaveProblem problem = staged.Begin(name->data());
  {
    TextStream out([&](std::string_view piece) {
      if (problem == SaveProblem::None)
        problem = staged.Write({reinterpret_cast<const std::uint8_t*>(piece.data()), piece.size()});
    });
    tileset.target->write(description, out);
  }
  return problem != SaveProblem::None ? problem : staged.Finish();
}

SaveOutcome Outcome(SaveProblem problem) { return {StatusForProblem(problem), problem}; }

}  // namespace

WriteOutcome WriteOutputs(const OutputPlan& plan, WritePolicy policy, const OutputEncoder& encode) {
  const bool together = policy == WritePolicy::AllOrNothing;
  WriteOutcome outcome;
  if (plan.refusal != ConversionProblem::None || together) outcome.problems = PlanRefusals(plan);
  if (!outcome.problems.empty()) {
    outcome.output = Outcome(SaveProblem::Other);
    return outcome;
  }
  const auto failed = [&](const std::string& path, SaveProblem problem) {
    outcome.problems.push_back({path, false, Phrase(SaveProblemCause(problem))});
  };

  // The output first: its pixels and bytes are gone before the tilesets are written.
  std::vector<StagedFile> staged(1);
  std::vector<std::string> paths = {plan.output};
  {
    std::vector<std::uint8_t> bytes;
    GpStatus encoded = Ok;
    try {
      encoded = encode(bytes);
    } catch (const std::bad_alloc&) {
      encoded = OutOfMemory;
    }
    if (encoded != Ok) {
      outcome.output = {encoded, SaveProblem::EncoderFailed};
      failed(plan.output, SaveProblem::EncoderFailed);
      return outcome;
    }
    SaveProblem problem = staged[0].Stage(plan.wideOutput.data(), bytes);
    if (problem == SaveProblem::None && !together) problem = staged[0].Commit();
    outcome.output = Outcome(problem);
    if (problem != SaveProblem::None) {
      failed(plan.output, problem);
      if (!together) return outcome;
    }
  }
  for (const PlannedTileset& tileset : plan.tilesets) {
    if (!tileset.refusal.empty()) {  // only a file written on its own gets here refused
      outcome.problems.push_back({tileset.path, tileset.isPicture, tileset.refusal});
      continue;
    }
    StagedFile& file = together ? staged.emplace_back() : staged[0];
    SaveProblem problem = StageTileset(tileset, plan.description, file);
    if (problem == SaveProblem::None && !together) problem = file.Commit();
    if (problem != SaveProblem::None) failed(tileset.path, problem);
    paths.push_back(tileset.path);
  }
  if (!together || !outcome.ok()) return outcome;  // staged files are removed as they go
  // Each move replaces one file in one step. A move can fail only if the folder changes
  // under the run (its temporaries were just written there); that leaves the files moved
  // before it new and the rest as they were, and says which.
  for (std::size_t i = 0; i < staged.size(); ++i) {
    const SaveProblem problem = staged[i].Commit();
    if (problem != SaveProblem::None) {
      outcome.partlyWritten = outcome.partlyWritten || i > 0;
      failed(paths[i], problem);
      if (i == 0) outcome.output = Outcome(problem);
    } else if (!outcome.ok()) {
      outcome.partlyWritten = true;
    }
  }
  return outcome;
}

}  // namespace korvanth
