// A file's stamp from its directory entry alone (status, size, last write time).
#include "app/file_stamp.h"

#include <filesystem>
#include <system_error>

#include "convert/utf8_path.h"

namespace korvanth {

FileStamp FileStampOf(const std::string& path) {
  // Only valid UTF-8 becomes a path: Windows' conversion throws on anything else.
  if (path.empty() || !IsValidUtf8(path)) return {};
  const std::filesystem::path name = PathFromUtf8(path);
  std::error_code error;
  if (!std::filesystem::is_regular_file(name, error) || error) return {};
  FileStamp stamp;
  stamp.regular = true;
  stamp.size = std::filesystem::file_size(name, error);
  if (error) return {};
  const auto written = std::filesystem::last_write_time(name, error);
  if (error) return {};
  stamp.written = static_cast<std::int64_t>(written.time_since_epoch().count());
  return stamp;
}

}  // namespace korvanth
