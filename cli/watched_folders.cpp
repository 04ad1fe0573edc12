// Groups watched files by folder, each with its names; a name that is a folder is refused.
#include "cli/watched_folders.h"

#include <algorithm>
#include <filesystem>

#include "convert/utf8_path.h"

namespace korvanth {

namespace fs = std::filesystem;

WatchedFolders GroupByFolder(const std::vector<std::string>& files) {
  WatchedFolders result;
  for (const std::string& file : files) {
    const fs::path path = PathFromUtf8(file);
    const fs::path name = path.filename();
    if (name.empty() || name == "." || name == "..") {
      return {{}, PrintableName(file) + ": names a folder; --watch watches a file"};
    }
    const std::string folder = path.has_parent_path() ? Utf8FromPath(path.parent_path()) : ".";
    auto entry = std::find_if(result.folders.begin(), result.folders.end(),
                              [&](const WatchedFolder& known) { return known.folder == folder; });
    if (entry == result.folders.end()) entry = result.folders.insert(entry, {folder, {}});
    const std::string own = Utf8FromPath(name);
    if (std::find(entry->names.begin(), entry->names.end(), own) == entry->names.end())
      entry->names.push_back(own);
  }
  return result;
}

}  // namespace korvanth
