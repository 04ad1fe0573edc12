// Asking once before a save replaces files, or leaves an older tileset naming another sheet.
#include "app/replace_question.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "convert/utf8_path.h"

namespace korvanth {

namespace {

constexpr UiText kReplacedHeading{"次のファイルを置き換えます。", "These files will be replaced:"};
constexpr UiText kLeftBehindHeading{
    "次のタイルセットは書き出せないため、前のシートを指したままになります。",
    "These tilesets cannot be written beside this sheet and will keep naming another sheet:"};
constexpr UiText kSaveQuestion{"保存しますか？", "Save?"};

// A regular file, or a link to one: what a save writes over (a folder or a device is
// refused by the save itself, and reported then).
bool IsFileThere(const std::string& path) {
  if (!IsValidUtf8(path)) return false;
  std::error_code error;
  return std::filesystem::is_regular_file(PathFromUtf8(path), error);
}

struct FilesASaveTouches {
  std::vector<std::string> replaced;    // files there now that the save writes over
  std::vector<FileProblem> leftBehind;  // tilesets there now that it cannot write, and why
  bool empty() const { return replaced.empty() && leftBehind.empty(); }
};

FilesASaveTouches FilesTouched(const OutputPlan& plan) {
  FilesASaveTouches files;
  if (plan.refusal != ConversionProblem::None) return files;
  if (IsFileThere(plan.output)) files.replaced.push_back(plan.output);
  for (const PlannedTileset& tileset : plan.tilesets) {
    if (!IsFileThere(tileset.path)) continue;
    if (tileset.refusal.empty())
      files.replaced.push_back(tileset.path);
    else if (tileset.cannotImport)
      files.leftBehind.push_back({tileset.path, false, tileset.refusal});
  }
  return files;
}

std::string ReplaceQuestionText(const FilesASaveTouches& files, UiLanguage language) {
  std::string text;
  if (!files.replaced.empty()) {
    text += InLanguage(kReplacedHeading, language);
    for (const std::string& path : files.replaced) text += "\n" + PrintableName(path);
    text += "\n";
  }
  if (!files.leftBehind.empty()) {
    text += InLanguage(kLeftBehindHeading, language);
    for (const FileProblem& tileset : files.leftBehind)
      text += "\n" + PrintableName(tileset.path) + ": " + InLanguage(tileset.reason, language);
    text += "\n";
  }
  return text + InLanguage(kSaveQuestion, language);
}

}  // namespace

bool ConfirmReplacing(HWND owner, const OutputPlan& plan, UiLanguage language) {
  const FilesASaveTouches files = FilesTouched(plan);
  if (files.empty()) return true;
  const std::string text = ReplaceQuestionText(files, language);
  return MessageBoxA(owner, text.c_str(), "", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

}  // namespace korvanth
