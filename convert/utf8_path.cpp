// UTF-8 file names checked strictly, widened to UTF-16, turned into paths and printed safely.
#include "convert/utf8_path.h"

#include <cstdio>
#include <limits>

#ifndef MB_ERR_INVALID_CHARS
#define MB_ERR_INVALID_CHARS 0x00000008
#endif

namespace korvanth {

namespace {

// Length of the well-formed sequence starting at `at`, or 0 when it is ill-formed.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char b0 = byte(at);
  if (b0 < 0x80) return 1;
  std::size_t need = 0;
  unsigned char lo = 0x80;
  unsigned char hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (at + need >= text.size()) return 0;
  for (std::size_t k = 1; k <= need; ++k) {
    const unsigned char b = byte(at + k);
    if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) return 0;
  }
  return need + 1;
}

// C0 controls, DEL and the C1 controls (U+0080 to U+009F, encoded C2 80 to C2 9F): a
// terminal would act on them instead of showing them.
bool IsControlCharacter(std::string_view sequence) {
  const auto b0 = static_cast<unsigned char>(sequence[0]);
  if (sequence.size() == 1) return b0 < 0x20 || b0 == 0x7F;
  return sequence.size() == 2 && b0 == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::optional<std::vector<WCHAR>> WidenUtf8(std::string_view text) {
  if (!IsValidUtf8(text) || text.find('\0') != std::string_view::npos) return std::nullopt;
  if (text.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) return std::nullopt;
  std::vector<WCHAR> wide(1, 0);
  if (text.empty()) return wide;
  const int bytes = static_cast<int>(text.size());
  const int units =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), bytes, nullptr, 0);
  if (units <= 0) return std::nullopt;
  wide.assign(static_cast<std::size_t>(units) + 1, 0);
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), bytes, wide.data(), units) !=
      units)
    return std::nullopt;
  return wide;
}

std::string PrintableName(std::string_view text) {
  std::string printable;
  const auto escape = [&](std::string_view bytes) {
    for (const char byte : bytes) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(byte));
      printable += escaped;
    }
  };
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = SequenceLength(text, i);
    if (length == 0) {
      escape(text.substr(i, 1));
      ++i;
    } else {
      const std::string_view sequence = text.substr(i, length);
      if (IsControlCharacter(sequence))
        escape(sequence);
      else
        printable.append(sequence);
      i += length;
    }
  }
  return printable;
}

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

namespace {

// Where the file name starts: after the path's last separator.
std::size_t FileNameStart(std::string_view path) {
#ifdef _WIN32
  const std::size_t separator = path.find_last_of("/\\:");
#else
  const std::size_t separator = path.rfind('/');
#endif
  return separator == std::string_view::npos ? 0 : separator + 1;
}

}  // namespace

std::string_view FileNameOf(std::string_view path) { return path.substr(FileNameStart(path)); }

std::string_view FileStem(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return name;
  return name.substr(0, dot);
}

std::optional<std::string_view> ExtensionOf(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  return name.substr(dot + 1);
}

std::string TilesetPathFor(std::string_view sheetPath, std::string_view extension) {
  std::string path(sheetPath.substr(0, FileNameStart(sheetPath)));
  path += FileStem(sheetPath);
  path += extension;
  return path;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

bool IsDeviceName(std::string_view fileName) {
  const std::string_view stem = fileName.substr(0, fileName.find('.'));
  for (const std::string_view device : {"CON", "PRN", "AUX", "NUL"})
    if (SameNameIgnoringCase(stem, device)) return true;
  if (stem.size() != 4 || stem[3] < '1' || stem[3] > '9') return false;
  return SameNameIgnoringCase(stem.substr(0, 3), "COM") ||
         SameNameIgnoringCase(stem.substr(0, 3), "LPT");
}

bool WidenPath(const char* path, WCHAR (&wide)[kPathBufferSize]) {
  if (path == nullptr) return false;
  // A byte that is not valid text fails the widening: replacing it would name another file.
  const int units =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, wide, kPathBufferSize);
  if (units <= 0) {
    wide[0] = 0;
    return false;
  }
  return true;
}

}  // namespace korvanth
