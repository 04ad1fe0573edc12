#include "app/remembered_choices.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/dialog_start.h"
#include "app/main_menu.h"
#include "app/settings_location.h"
#include "app/sheet_preview.h"
#include "app/window_state.h"
#include "convert/text_file.h"
#include "convert/utf8_path.h"
#include "imaging/picture_header.h"
#include "viewer/view_zoom.h"

namespace korvanth {

static_assert(kMaxRememberedZoom == kMaxZoom);

namespace {

void ApplyChoices(const RememberedSettings& settings) {
  MainWindowState.remembered = settings;
  MainWindowState.format = settings.format;
  // Only a size the タイルサイズ menu offers; the converter's other sizes stay its own.
  if (TileSizeMenuItemFor(settings.tileSize) != nullptr) {
    MainWindowState.tileSize = settings.tileSize;
    MainWindowState.view.cell = settings.tileSize;
  }
  MainWindowState.complete = settings.complete;
  MainWindowState.tilesets = settings.tilesets;
  MainWindowState.view.zoom = ClampZoom(settings.zoom);
  MainWindowState.dialogs.pictureFolder = settings.openFolder;
  MainWindowState.dialogs.saveExtension = settings.saveType;
  MainWindowState.dialogs.saveFileType = static_cast<unsigned>(settings.saveFilter);
}

}  // namespace

SettingsRead ReadSettingsFile(const std::string& path) {
  std::string text;
  const std::string problem = ReadSmallTextFile(path, kMaxSettingsBytes, text);
  if (problem == "no such file") return {};
  if (!problem.empty()) {
    std::fprintf(stderr, "korvanth: %s: %s; starting from the default settings\n",
                 PrintableName(path).c_str(), problem.c_str());
    return {RememberedSettings{}, false};
  }
  // A line that breaks the text rule is ignored like any unknown line, but said once.
  if (const std::size_t bad = FirstUnreadableLine(WithoutByteOrderMark(text)); bad != 0)
    std::fprintf(stderr, "korvanth: %s: %s; it is ignored\n", PrintableName(path).c_str(),
                 UnreadableLineText(bad).c_str());
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  return {ParseSettings({bytes, text.size()}), true};
}

bool WriteSettingsFile(const std::string& path, const RememberedSettings& settings) {
  std::error_code folderError;
  std::filesystem::create_directories(PathFromUtf8(FolderOf(path)), folderError);
  // A settings file that is a link stays one: the save replaces the file it names.
  const SaveOutcome outcome = WriteTextFileWhole(path, FormatSettings(settings));
  if (outcome.ok()) return true;
  std::fprintf(stderr, "korvanth: %s: %s; the settings were not remembered\n",
               PrintableName(path).c_str(), SaveProblemText(outcome.problem));
  return false;
}

void BeginRun(int argc, char** argv) {
  const bool reset = argc > 1 && std::strcmp(argv[1], kResetSettingsOption) == 0;
  if (reset) {
    --argc;
    ++argv;  // argument 0 is never read as a picture
  }
  MainWindowState.argumentCount = argc;
  MainWindowState.argumentVector = argv;
  MainWindowState.settingsPath = SettingsFilePath();
  if (MainWindowState.settingsPath.empty()) return;
  if (reset) {
    // The whole-file save itself leaves anything but a regular file alone.
    MainWindowState.settingsWritable = true;
    return;
  }
  const SettingsRead read = ReadSettingsFile(MainWindowState.settingsPath);
  MainWindowState.settingsWritable = read.readable;
  ApplyChoices(read.settings);
}

std::string PictureToOpenAtStart() {
  if (MainWindowState.argumentCount > 1) return MainWindowState.argumentVector[1];
  const std::string& remembered = MainWindowState.remembered.picture;
  // A picture moved away since is forgotten quietly; a damaged one still says so.
  WCHAR wide[kPathBufferSize];
  if (!remembered.empty() && WidenPath(remembered.c_str(), wide) &&
      imaging::ReadPictureHeaderOfNames(remembered.c_str(), reinterpret_cast<const char16_t*>(wide))
          .opened)
    return remembered;
  return MainWindowState.bundledSample;
}

PixelSize PictureSizeOnDisk(const std::string& path) {
  WCHAR wide[kPathBufferSize];
  if (path.empty() || !WidenPath(path.c_str(), wide)) return {0, 0};
  const imaging::PictureHeader header =
      imaging::ReadPictureHeaderOfNames(path.c_str(), reinterpret_cast<const char16_t*>(wide));
  if (header.verdict != imaging::HeaderVerdict::Fits) return {0, 0};
  // A picture that fits the memory bound has sides far below INT_MAX.
  return {static_cast<int>(header.needs.width), static_cast<int>(header.needs.height)};
}

void ShowRememberedPreview(HWND window) {
  const RememberedSettings& remembered = MainWindowState.remembered;
  if (remembered.previewCorner)
    PlaceSheetPreview({remembered.previewCorner->x, remembered.previewCorner->y});
  if (remembered.previewShown) ShowSheetPreview(window, true);
}

RememberedSettings CurrentChoices(HWND window) {
  RememberedSettings choices = MainWindowState.remembered;
  choices.format = MainWindowState.format;
  choices.zoom = MainWindowState.view.zoom;
  choices.tileSize = MainWindowState.tileSize;
  choices.complete = MainWindowState.complete;
  choices.tilesets = MainWindowState.tilesets;
  choices.openFolder = MainWindowState.dialogs.pictureFolder;
  choices.saveType = MainWindowState.dialogs.saveExtension;
  choices.saveFilter = static_cast<int>(MainWindowState.dialogs.saveFileType);
  // The picture open now; with none open, the one remembered before stays.
  if (!SourceImage.path.empty()) choices.picture = SourceImage.path;
  choices.previewShown = SheetPreviewShown();
  RECT preview{};
  if (SheetPreviewWindow() != nullptr && GetWindowRect(SheetPreviewWindow(), &preview))
    choices.previewCorner = RememberedPoint{preview.left, preview.top};
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (GetWindowPlacement(window, &placement)) {
    const RECT& normal = placement.rcNormalPosition;
    choices.windowSize =
        RememberedSize{std::clamp<int>(normal.right - normal.left, kMinRememberedWindowSide,
                                       kMaxRememberedCoordinate),
                       std::clamp<int>(normal.bottom - normal.top, kMinRememberedWindowSide,
                                       kMaxRememberedCoordinate)};
  }
  return choices;
}

void RememberChoices(HWND window) {
  if (MainWindowState.settingsPath.empty() || !MainWindowState.settingsWritable) return;
  WriteSettingsFile(MainWindowState.settingsPath, CurrentChoices(window));
}

}  // namespace korvanth
