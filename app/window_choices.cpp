// The remembered choices over a run: read before the window opens, written back as it closes.
#include "app/window_choices.h"

#include <algorithm>
#include <cstdio>
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

void ApplyChoices(WindowState& state, const RememberedSettings& settings) {
  state.remembered = settings;
  state.format = settings.format;
  // Only a size the タイルサイズ menu offers; the converter's other sizes stay its own.
  if (TileSizeMenuItemFor(settings.tileSize) != nullptr) {
    state.tileSize = settings.tileSize;
    state.view.cell = settings.tileSize;
  }
  state.complete = settings.complete;
  state.tilesets = settings.tilesets;
  state.language = settings.language;
  state.view.zoom = ClampZoom(settings.zoom);
  state.dialogs.pictureFolder = settings.openFolder;
  state.dialogs.saveExtension = settings.saveType;
  state.dialogs.saveFileType = static_cast<unsigned>(settings.saveFilter);
  state.status.shown = settings.statusBarShown;
  state.recentPictures = settings.recentPictures;
  if (settings.frameColour) state.view.colours[kFrameColour] = *settings.frameColour;
  if (settings.backgroundColour) state.view.colours[kBackgroundColour] = *settings.backgroundColour;
}

}  // namespace

SettingsRead ReadSettingsFile(const std::string& path) {
  std::string text;
  const std::string problem = ReadSmallTextFile(path, kMaxSettingsBytes, text).english;
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

void BeginRun(WindowState& state, const WindowCommandLine& command) {
  state.argumentPicture = command.picture;
  state.settingsPath = SettingsFilePath();
  if (!state.settingsPath.empty()) {
    if (command.resetSettings) {
      // The whole-file save itself leaves anything but a regular file alone.
      state.settingsWritable = true;
    } else {
      const SettingsRead read = ReadSettingsFile(state.settingsPath);
      state.settingsWritable = read.readable;
      ApplyChoices(state, read.settings);
    }
  }
  // The run's language over the remembered one; the window closes remembering it.
  if (command.language) state.language = *command.language;
}

std::string PictureToOpenAtStart(const WindowState& state) {
  // Argument 1 names the start picture of the first showing alone: once that has opened
  // it, the argument is spent, and the start falls to the remembered picture or the sample.
  if (state.argumentPicture && !state.startPictureOpened) return *state.argumentPicture;
  const std::string& remembered = state.remembered.picture;
  // A picture moved away since is forgotten quietly; a damaged one still says so.
  WCHAR wide[kPathBufferSize];
  if (!remembered.empty() && WidenPath(remembered.c_str(), wide) &&
      imaging::ReadPictureHeaderOfNames(remembered.c_str(), reinterpret_cast<const char16_t*>(wide))
          .opened)
    return remembered;
  return state.bundledSample;
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

void ShowRememberedPreview(WindowState& state, HWND window) {
  const RememberedSettings& remembered = state.remembered;
  if (remembered.previewCorner)
    state.preview.placed = POINT{remembered.previewCorner->x, remembered.previewCorner->y};
  if (remembered.previewShown) ShowSheetPreview(state, window, true);
}

RememberedSettings CurrentChoices(const WindowState& state, HWND window) {
  RememberedSettings choices = state.remembered;
  choices.format = state.format;
  choices.zoom = state.view.zoom;
  choices.tileSize = state.tileSize;
  choices.complete = state.complete;
  choices.tilesets = state.tilesets;
  choices.language = state.language;
  choices.openFolder = state.dialogs.pictureFolder;
  choices.saveType = state.dialogs.saveExtension;
  choices.saveFilter = static_cast<int>(state.dialogs.saveFileType);
  // A COLORREF's top byte means nothing to the view.
  choices.frameColour = state.view.colours[kFrameColour] & 0x00FFFFFF;
  choices.backgroundColour = state.view.colours[kBackgroundColour] & 0x00FFFFFF;
  // The picture open now; with none open, the one remembered before stays.
  if (!state.picture.path.empty()) choices.picture = state.picture.path;
  choices.previewShown = state.preview.shown;
  choices.statusBarShown = state.status.shown;
  choices.recentPictures = state.recentPictures;
  RECT preview{};
  if (state.preview.window != nullptr && GetWindowRect(state.preview.window, &preview))
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

void RememberChoices(const WindowState& state, HWND window) {
  if (state.settingsPath.empty() || !state.settingsWritable) return;
  WriteSettingsFile(state.settingsPath, CurrentChoices(state, window));
}

}  // namespace korvanth
