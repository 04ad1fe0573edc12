// The Open and Save dialogs: filters, extension completion by file type, and the save they run.
#include "app/file_dialogs.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/picture_loading.h"
#include "app/replace_question.h"
#include "app/sheet_saving.h"
#include "app/status_bar.h"
#include "app/window_messages.h"
#include "app/window_state.h"
#include "convert/format_registry.h"
#include "convert/picture_file.h"
#include "convert/utf8_path.h"
#include "imaging/file_types.h"

namespace korvanth {

namespace {

// The Save dialog's extensions by file type (1-based index minus one), from the file type
// table.
const std::vector<std::string_view>& SaveExtensions() {
  static const std::vector<std::string_view> extensions = SaveDialogExtensions();
  return extensions;
}

constexpr int kFileNameField = 1152;
constexpr int kCancelCommand = 2;

std::string_view ExtensionForFilter(DWORD filterIndex) {
  if (filterIndex < 1 || filterIndex > SaveExtensions().size()) return SaveExtensions()[0];
  return SaveExtensions()[filterIndex - 1];
}

// Replaces the text from `at` on (or appends, when `at` is the end) with "." and the
// extension. False, with the text unchanged, when the result would not fit the buffer.
bool PutExtension(char (&text)[kPathBufferSize], char* at, std::string_view extension) {
  const size_t keep = static_cast<size_t>(at - text);
  if (keep + 1 + extension.size() >= sizeof text) return false;
  std::snprintf(at, sizeof text - keep, ".%.*s", static_cast<int>(extension.size()),
                extension.data());
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
  if (!PutExtension(text, at, ExtensionForFilter(record->nFilterIndex))) return;
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

// Names every tileset that could not be written beside the saved sheet.
void ShowTilesetFailures(HWND owner, const std::vector<FileProblem>& problems,
                         UiLanguage language) {
  if (problems.empty()) return;
  std::string text = InLanguage(kTilesetsFailedHeadline, language);
  for (const FileProblem& problem : problems)
    text += "\n" + problem.path + ": " + InLanguage(problem.reason, language);
  MessageBoxA(owner, text.c_str(), "", MB_OK | MB_ICONERROR);
}

// The Save dialog alone; `dialogAsks`: it asks before a name that is there is replaced.
bool AskSaveName(HWND owner, const SaveProposal& proposal, UiLanguage language,
                 DialogMemory& memory, char (&path)[kPathBufferSize], bool dialogAsks) {
  char name[kPathBufferSize] = {};
  // The whole path: a folder in the name is where the dialog opens on every host. A
  // proposal too long for the field is left out rather than cut.
  if (proposal.path.size() < sizeof name)
    std::snprintf(name, sizeof name, "%s", proposal.path.c_str());
  const std::string filter = SaveDialogFilter(language);
  OPENFILENAMEA record = DialogRecord(
      owner, filter.c_str(), name,
      OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | (dialogAsks ? OFN_OVERWRITEPROMPT : 0));
  record.lpfnHook = SaveDialogHook;
  if (!proposal.folder.empty()) record.lpstrInitialDir = proposal.folder.c_str();
  if (memory.saveFileType >= 1 && memory.saveFileType <= SaveExtensions().size())
    record.nFilterIndex = memory.saveFileType;
  if (!GetSaveFileNameA(&record)) return false;

  std::snprintf(path, sizeof path, "%s", name);
  // A completed name that would not fit is not saved rather than saved under a cut name.
  if (std::strchr(path, '.') == nullptr &&
      !PutExtension(path, path + std::strlen(path), ExtensionForFilter(record.nFilterIndex)))
    return false;
  RememberSave(memory, path, record.nFilterIndex);
  return true;
}

}  // namespace

bool RunOpenDialog(WindowState& state, HWND owner) {
  char name[kPathBufferSize] = {};
  const std::string filter = OpenDialogFilter(state.language);
  OPENFILENAMEA record = DialogRecord(owner, filter.c_str(), name, OFN_HIDEREADONLY);
  const std::string folder = OpenDialogFolder(state.dialogs.pictureFolder);
  if (!folder.empty()) record.lpstrInitialDir = folder.c_str();
  if (GetOpenFileNameA(&record)) LoadSourceImage(state, owner, name);
  return true;
}

bool AskWhereToSave(HWND owner, SaveProposal proposal, DialogMemory& memory, OutputRequest request,
                    UiLanguage language, char (&path)[kPathBufferSize]) {
  // Tilesets beside the output: the dialog's question, about the output alone, would be
  // a second one.
  const bool ownQuestion = request.tilesets != kNoTilesets;
  while (AskSaveName(owner, proposal, language, memory, path, !ownQuestion)) {
    if (!ownQuestion) return true;
    request.output = path;
    if (ConfirmReplacing(owner, PlanOutput(request), language)) return true;
    proposal = SaveProposal{FolderOf(path), std::string(FileNameOf(path)), path};
  }
  return false;
}

void ShowSaveFailure(HWND owner, const std::string& path, const Phrase& cause,
                     UiLanguage language) {
  const std::string text = std::string(InLanguage(kSaveFailedHeadline, language)) + "\n" + path +
                           "\n(" + InLanguage(cause, language) + ")";
  MessageBoxA(owner, text.c_str(), "", MB_OK | MB_ICONERROR);
}

bool RunSaveDialog(WindowState& state, HWND owner) {
  char path[kPathBufferSize] = {};
  const SaveProposal proposal = ProposeSaveName(
      state.picture.path, FormatEntryFor(state.format).cliName, state.dialogs.saveExtension);
  const OutputRequest request{true, {}, state.tilesets, state.picture.path, WindowInputs(state)};
  if (!AskWhereToSave(owner, proposal, state.dialogs, request, state.language, path)) return false;
  const ConversionResult saved = SaveSelection(state, owner, path);
  if (!saved.sheet.ok()) ShowSaveFailure(owner, path, ConversionCause(saved.sheet), state.language);
  ShowTilesetFailures(owner, saved.tilesets, state.language);
  ReportSave(state, path, saved);
  return saved.sheet.ok();
}

UINT_PTR CALLBACK SaveDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
      if (notify == nullptr) return 0;
      if (notify->hdr.code == CDN_INITDONE) {
        // Some dialogs put the caret before the proposed name: selected, typing replaces it.
        SendDlgItemMessageA(GetParent(dialog), kFileNameField, EM_SETSEL, 0, -1);
        return 0;
      }
      if (notify->hdr.code != CDN_TYPECHANGE) return 0;
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
