#include "app/dialog_start.h"

#include <filesystem>
#include <system_error>

#include "imaging/file_types.h"

namespace korvanth {

namespace {

std::filesystem::path FromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string ToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

std::string FolderOf(const std::string& path) { return ToUtf8(FromUtf8(path).parent_path()); }

std::string OpenDialogFolder(const std::string& previousFolder) {
  std::error_code error;
  if (previousFolder.empty() || !std::filesystem::is_directory(FromUtf8(previousFolder), error))
    return {};
  return previousFolder;
}

SaveProposal ProposeSaveName(const std::string& picturePath, std::string_view suffix,
                             const std::string& lastExtension) {
  SaveProposal proposal;
  if (picturePath.empty()) return proposal;  // no picture file: nothing to name after
  const std::filesystem::path picture = FromUtf8(picturePath);
  proposal.folder = ToUtf8(picture.parent_path());
  proposal.name = ToUtf8(picture.stem());
  proposal.name += '_';
  proposal.name += suffix;
  proposal.name += '.';
  proposal.name += lastExtension.empty() ? "png" : lastExtension;
  proposal.path = ToUtf8(picture.parent_path() / FromUtf8(proposal.name));
  return proposal;
}

void RememberSave(DialogMemory& memory, const std::string& savedPath, unsigned fileType) {
  memory.saveFileType = fileType;
  const std::string extension = ToUtf8(FromUtf8(savedPath).extension());
  if (extension.size() > 1 && FileTypeForExtension(std::string_view(extension).substr(1)))
    memory.saveExtension = extension.substr(1);
}

}  // namespace korvanth
