// Planning one request's files: the output's type, each tileset's path and every refusal.
#include "convert/output_plan.h"

#include <optional>
#include <utility>

#include "convert/utf8_path.h"

namespace korvanth {

namespace {

bool LandsOnPicture(const OutputRequest& request, const std::string& path) {
  return !request.pictureFile.empty() && IsSameFile(request.pictureFile, path);
}

ConversionProblem OutputRefusal(const OutputRequest& request, const OutputPlan& plan) {
  if (!request.hasPicture) return ConversionProblem::NoPicture;
  if (plan.wideOutput.empty()) return ConversionProblem::InvalidName;
  if (plan.encoder.type == nullptr) return ConversionProblem::NoExtension;
  if (LandsOnPicture(request, request.output)) return ConversionProblem::OpenPicture;
  if (ReadFileAt(request.otherInputs, request.output)) return ConversionProblem::OtherInput;
  return ConversionProblem::None;
}

PlannedTileset PlanTileset(const OutputRequest& request, const OutputPlan& plan,
                           const TilesetTarget& target) {
  PlannedTileset tileset{&target, TilesetPathFor(request.output, target.extension)};
  const UiText word = request.outputWord;
  if (LandsOnPicture(request, tileset.path)) {
    tileset.refusal = ConversionCause({ConversionProblem::OpenPicture, {}});
    tileset.isPicture = true;
  } else if (const ReadFile* input = ReadFileAt(request.otherInputs, tileset.path)) {
    tileset.refusal = ReadFileRefusal(*input);
  } else if (plan.encoder.type != nullptr &&
             !(tileset.refusal = SheetTypeRefusal(target, *plan.encoder.type)).empty()) {
    tileset.cannotImport = true;
  } else if (SameNameIgnoringCase(tileset.path, request.output)) {
    tileset.refusal = {std::string(word.japanese) + "そのものです",
                       "it is the " + std::string(word.english) + " itself"};
  } else if (!IsTilesetSafeName(FileNameOf(request.output))) {
    tileset.refusal = {
        std::string(word.japanese) + "の名前に、タイルセットに書けない文字があります",
        "the " + std::string(word.english) + "'s name holds characters a tileset cannot carry"};
  }
  return tileset;
}

}  // namespace

OutputPlan PlanOutput(const OutputRequest& request) {
  OutputPlan plan;
  plan.output = request.output;
  if (auto wide = WidenUtf8(request.output)) plan.wideOutput = std::move(*wide);
  // A name without any '.' is refused; one whose '.' lies only in a folder's name has no
  // extension that selects a type, and so gets the fallback.
  if (request.output.find('.') != std::string::npos)
    plan.encoder = ChooseEncoder(ExtensionOf(request.output).value_or(std::string_view()));
  plan.refusal = OutputRefusal(request, plan);
  if (plan.refusal == ConversionProblem::OtherInput)
    plan.refusalReason = ReadFileRefusal(*ReadFileAt(request.otherInputs, request.output));
  else
    plan.refusalReason = ConversionCause({plan.refusal, {}});
  for (const TilesetTarget& target : kTilesetTargets)
    if (request.tilesets & TilesetKindOf(target))
      plan.tilesets.push_back(PlanTileset(request, plan, target));
  return plan;
}

std::vector<FileProblem> PlanRefusals(const OutputPlan& plan) {
  std::vector<FileProblem> problems;
  if (plan.refusal != ConversionProblem::None)
    problems.push_back(
        {plan.output, plan.refusal == ConversionProblem::OpenPicture, plan.refusalReason});
  for (const PlannedTileset& tileset : plan.tilesets)
    if (!tileset.refusal.empty())
      problems.push_back({tileset.path, tileset.isPicture, tileset.refusal});
  return problems;
}

}  // namespace korvanth
