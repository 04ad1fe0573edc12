// Helpers shared by the test suites: scratch folders, generated pictures and
// reading files back as plain 0xAARRGGBB pixels, independently of the imaging layer.
#pragma once

#include <QImage>
#include <QString>

#include <filesystem>
#include <set>
#include <string>

// A fresh folder under the system's temporary folder, removed with its contents.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// A picture whose every pixel is distinct in its position: red and green carry x and y,
// blue and alpha a hash of both, with semi-transparent values included.
QImage PatternImage(int width, int height, bool withAlpha = true);

// Reads a file with Qt alone, converted to non-premultiplied ARGB32; null on failure.
QImage ReadBack(const std::string& path);

// The names of the entries of `folder`, sorted.
std::set<std::string> FileNamesIn(const std::filesystem::path& folder);

// Writes raw bytes to a file (for corrupt and hostile inputs).
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// UTF-16 copy of a UTF-8 path, zero-terminated, for the GDI+ calls.
std::u16string Wide(const std::string& utf8);
