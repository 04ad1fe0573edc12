#include "app/file_dialogs.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/picture_loading.h"
#include "convert/conversion_state.h"
#include "convert/export_sheet.h"
#include "convert/same_file.h"
#include "convert/sheet_conversion.h"
#include "convert/sheet_tilesets.h"
#include "imaging/file_types.h"

namespace korvanth {

namespace {

// Description and patterns per entry, each zero-terminated, the list ending in an extra zero.
constexpr char kOpenFilter[] =
    "画像ファイル (*.bmp; gif; png; tif)\0*.bmp;*.dib;*.rle;*.gif;*.png;*.tif\0"
    "ビットマップ (*.bmp; dib; rle)\0*.bmp;*.dib;*.rle\0"
    "GIF (*.gif)\0*.gif\0"
    "PNG (*.png)\0*.png\0"
    "TIFF (*.tif; tiff)\0*.tif;*.tiff\0"
    "すべてのファイル (*.*)\0*.*\0";

// Every file type a sheet can be written as ("JPEG (*.jpg; jpeg)\0*.jpg;*.jpeg\0"), then
// every file, in the Open filter's form; built once.
const char* SaveFilter() {
  static const std::string filter = [] {
    std::string text;
    for (const FileType& type : FileTypes()) {
      std::string shown;
      std::string patterns;
      for (std::string_view extension : type.extensions) {
        if (extension.empty()) continue;
        shown += shown.empty() ? "*." : "; ";
        shown += extension;
        patterns += patterns.empty() ? "*." : ";*.";
        patterns += extension;
      }
      text += std::string(type.label) + " (" + shown + ")" + '\0' + patterns + '\0';
    }
    // The string's own terminator ends the list.
    return text + "すべてのファイル (*.*)" + '\0' + "*.*" + '\0';
  }();
  return filter.c_str();
}

constexpr int kFileNameField = 1152;
constexpr int kCancelCommand = 2;

// The extension (without the dot) of the Save dialog's file type at a 1-based index:
// empty for every file, the first type's for an index beyond the list.
std::string ExtensionForFilter(DWORD filterIndex) {
  const auto types = FileTypes();
  if (filterIndex == types.size() + 1) return {};
  if (filterIndex < 1 || filterIndex > types.size()) return std::string(types[0].extensions[0]);
  return std::string(types[filterIndex - 1].extensions[0]);
}

// Replaces the text from `at` on (or appends, when `at` is the end) with "." and the
// extension. False, with the text unchanged, when the result would not fit the buffer.
bool PutExtension(char (&text)[kPathBufferSize], char* at, const char* extension) {
  const size_t keep = static_cast<size_t>(at - text);
  if (keep + 1 + std::strlen(extension) >= sizeof text) return false;
  std::snprintf(at, sizeof text - keep, ".%s", extension);
  return true;
}

void MatchNameToFileType(HWND hookDialog, const OPENFILENAMEA* record) {
  HWND saveDialog = GetParent(hookDialog);
  char text[kPathBufferSize] = {};
  SendDlgItemMessageA(saveDialog, kFileNameField, WM_GETTEXT, sizeof text,
                      reinterpret_cast<LPARAM>(text));
  text[sizeof text - 1] = '\0';
  if (text[0] == '\0') return;

  char* dot = std::strrchr(text, '.');
  char* at = dot != nullptr ? dot : text + std::strlen(text);
  // A name that would no longer fit keeps its text rather than being cut.
  if (!PutExtension(text, at, ExtensionForFilter(record->nFilterIndex).c_str())) return;
  SendDlgItemMessageA(saveDialog, kFileNameField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// A dialog record that starts on the first file type with an empty name; everything not
// set here is left to the platform's defaults.
OPENFILENAMEA DialogRecord(HWND owner, const char* filter, char (&name)[kPathBufferSize],
                           DWORD flags) {
  OPENFILENAMEA record{};
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  record.hwndOwner = owner;
  record.lpstrFilter = filter;
  record.nFilterIndex = 1;
  record.lpstrFile = name;
  record.nMaxFile = sizeof name;
  record.Flags = flags;
  return record;
}

// A failed save must not look like success: the file and the reason, over the window.
void ShowSaveFailure(HWND owner, const char* path, const ConversionStatus& status) {
  const std::string text =
      std::string("保存できませんでした。\n") + path + "\n(" + ConversionReason(status) + ")";
  MessageBoxA(owner, text.c_str(), "", MB_OK | MB_ICONERROR);
}

// Writes the tilesets the 形式 menu asks for beside the sheet just saved at `path`; a
// message box names every file that could not be written. A tileset that would land on
// the open picture (one named grass.tres) is not written, like a sheet would not be.
void WriteTilesetsOfSheet(HWND owner, const char* path) {
  if (SheetTilesets == kNoTilesets) return;
  TilesetKinds kinds = SheetTilesets;
  std::vector<TilesetWriteFailure> failures;
  for (const TilesetTarget& target : kTilesetTargets) {
    const TilesetKinds kind = TilesetKindOf(target);
    const std::string tileset = TilesetPathFor(path, target.extension);
    if ((kinds & kind) && IsSameFile(SourceImage.path, tileset)) {
      failures.push_back({tileset, ConversionReason({ConversionProblem::OpenPicture, {}})});
      kinds = TilesetKinds(kinds & ~kind);
    }
  }
  for (TilesetWriteFailure& failure : WriteSheetTilesets(kinds, CurrentLayoutFormat, path))
    failures.push_back(std::move(failure));
  if (failures.empty()) return;
  std::string text = "タイルセットを保存できませんでした";
  for (const TilesetWriteFailure& failure : failures)
    text += "\n" + failure.path + ": " + failure.reason;
  MessageBoxA(owner, text.c_str(), "", MB_OK | MB_ICONERROR);
}

}  // namespace

bool RunOpenDialog(HWND owner) {
  char name[kPathBufferSize] = {};
  OPENFILENAMEA record = DialogRecord(owner, kOpenFilter, name, OFN_HIDEREADONLY);
  if (GetOpenFileNameA(&record)) LoadSourceImage(owner, name);
  return true;
}

bool RunSaveDialog(HWND owner) {
  char name[kPathBufferSize] = {};
  OPENFILENAMEA record =
      DialogRecord(owner, SaveFilter(), name,
                   OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
  record.lpfnHook = SaveDialogHook;
  if (!GetSaveFileNameA(&record)) return false;

  char path[kPathBufferSize] = {};
  std::snprintf(path, sizeof path, "%s", name);
  if (std::strchr(path, '.') == nullptr) {
    // A completed name that would not fit is not saved rather than saved under a cut name.
    if (!PutExtension(path, path + std::strlen(path),
                      ExtensionForFilter(record.nFilterIndex).c_str())) {
      return false;
    }
  }
  const ConversionStatus saved = ExportSelection(path);
  // A picture closed while the format warning showed is the user's own doing: no box.
  if (!saved.ok() && saved.problem != ConversionProblem::NoPicture) {
    ShowSaveFailure(owner, path, saved);
  }
  if (saved.ok()) WriteTilesetsOfSheet(owner, path);
  return saved.ok();
}

UINT_PTR CALLBACK SaveDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
      if (notify == nullptr || notify->hdr.code != CDN_TYPECHANGE) return 0;
      MatchNameToFileType(dialog, notify->lpOFN);
      return 1;
    }
    case WM_COMMAND:
      return wParam == kCancelCommand ? 1 : 0;
    default:
      return 0;
  }
}

}  // namespace korvanth
