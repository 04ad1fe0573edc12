// Where the Open and Save dialogs start and the names the Save dialog proposes. Pure: the
// window hands in what it remembers, so remembered settings can feed the same rules.
#pragma once

#include <string>
#include <string_view>

namespace korvanth {

// What the dialogs remember between runs of them; empty or 0 until the first.
struct DialogMemory {
  std::string pictureFolder;  // the folder of the picture opened last
  std::string saveExtension;  // the extension (without the dot) of the last name saved under
  unsigned saveFileType = 0;  // the Save dialog's file type chosen last, 1-based
};

struct SaveProposal {
  std::string folder;  // empty: wherever the platform starts
  std::string name;    // the file name alone
  std::string path;    // both joined, with the host's separator; the name alone without a folder
};

// The folder a file name (UTF-8) lies in; empty for a name without one.
std::string FolderOf(const std::string& path);

// The Open dialog's folder: the one of the picture opened last, when it is still a
// folder; otherwise empty, which leaves the choice to the platform.
std::string OpenDialogFolder(const std::string& previousFolder);

// The Save dialog's start for the open picture `picturePath`: its folder, and the name
// STEM_SUFFIX.EXTENSION, the extension being the one saved under last (png before any).
// Without a picture file, nothing: the platform's folder and an empty name.
SaveProposal ProposeSaveName(const std::string& picturePath, std::string_view suffix,
                             const std::string& lastExtension);

// Remembers a confirmed Save dialog: its file type, and the extension of the name when
// it selects a type we write (any other keeps the one remembered before).
void RememberSave(DialogMemory& memory, const std::string& savedPath, unsigned fileType);

}  // namespace korvanth
