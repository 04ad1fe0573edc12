// Where the Open and Save dialogs start, the name Save proposes and what a save remembers.
#include "app/dialog_start.h"

#include <filesystem>
#include <system_error>

#include "convert/utf8_path.h"
#include "imaging/file_types.h"

namespace korvanth {

namespace {}  // namespace

std::string FolderOf(const std::string& path) {
  return Utf8FromPath(PathFromUtf8(path).parent_path());
}

std::string OpenDialogFolder(const std::string& previousFolder) {
  std::error_code error;
  if (previousFolder.empty() || !std::filesystem::is_directory(PathFromUtf8(previousFolder), error))
    return {};
  return previousFolder;
}

SaveProposal ProposeSaveName(const std::string& picturePath, std::string_view suffix,
                             const std::string& lastExtension) {
  SaveProposal proposal;
  if (picturePath.empty()) return proposal;  // no picture file: nothing to name after
  const std::filesystem::path picture = PathFromUtf8(picturePath);
  proposal.folder = Utf8FromPath(picture.parent_path());
  proposal.name = Utf8FromPath(picture.stem());
  proposal.name += '_';
  proposal.name += suffix;
  proposal.name += '.';
  proposal.name += lastExtension.empty() ? "png" : lastExtension;
  proposal.path = Utf8FromPath(picture.parent_path() / PathFromUtf8(proposal.name));
  return proposal;
}

void RememberSave(DialogMemory& memory, const std::string& savedPath, unsigned fileType) {
  memory.saveFileType = fileType;
  const std::string extension = Utf8FromPath(PathFromUtf8(savedPath).extension());
  if (extension.size() > 1 && FileTypeForExtension(std::string_view(extension).substr(1)))
    memory.saveExtension = extension.substr(1);
}

}  // namespace korvanth
