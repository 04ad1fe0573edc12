// The folders a watch opens for a list of files, each with the names it looks out for.
#pragma once

#include <string>
#include <vector>

namespace korvanth {

struct WatchedFolder {
  std::string folder;              // UTF-8; "." for a bare file name
  std::vector<std::string> names;  // the watched files' own names in it, each once
};

struct WatchedFolders {
  std::vector<WatchedFolder> folders;  // in the order the files first name them
  std::string error;                   // set (and folders empty) when a name holds no file name
};

// Splits every file name into its folder and its own name; a name that ends in a separator,
// "." or ".." names a folder and is refused.
WatchedFolders GroupByFolder(const std::vector<std::string>& files);

}  // namespace korvanth
