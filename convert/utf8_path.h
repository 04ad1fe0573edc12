// File names as the program receives them (UTF-8 bytes) and as the host's file functions
// take them (UTF-16). A name that is not valid UTF-8 is refused, never repaired: turning a
// stray byte into U+FFFD would name another file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/gdiplus_api.h"

namespace korvanth {

// Whether `text` is well-formed UTF-8 (no stray or overlong bytes, no encoded surrogates).
bool IsValidUtf8(std::string_view text);

// The name widened to zero-terminated UTF-16, however long; empty when `text` is not valid
// UTF-8 or holds a zero byte.
std::optional<std::vector<WCHAR>> WidenUtf8(std::string_view text);

// The file-system path a UTF-8 name stands for, and back (through char8_t, so that Windows
// widens and narrows it as UTF-8 whatever the code page). Only valid UTF-8 goes in: Windows'
// conversion to UTF-16 throws on anything else.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

// The parts of a file's name, by one rule: the file name follows the path's last separator
// ('/', and on Windows '\\' and a drive's ':'); a '.' in a folder's name is no extension.

// The file name of `path` without its folder: "tiles.png" for "/a/tiles.png".
std::string_view FileNameOf(std::string_view path);

// The file name's stem: everything before its last '.', or the whole file name when it has
// none (or only a leading one): "tiles" for "/a/tiles.png", as sheets, blocks and tilesets
// are named after their picture or sheet.
std::string_view FileStem(std::string_view path);

// The text after the file name's last '.', or nothing when the file name has no '.'.
std::optional<std::string_view> ExtensionOf(std::string_view path);

// The tileset's path for a sheet saved at `sheetPath`: the sheet's folder and stem with
// `extension` (a target's, such as ".tsx").
std::string TilesetPathFor(std::string_view sheetPath, std::string_view extension);

// Whether two names are equal with ASCII letters compared without regard to case (as a
// file system may compare them).
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// Whether a file name is one Windows keeps for a device (CON, PRN, AUX, NUL, COM1 to COM9,
// LPT1 to LPT9, in any case, with or without an extension): writing it there reaches the
// device, not a file.
bool IsDeviceName(std::string_view fileName);

// The window's dialogs hold paths in 260-byte buffers (259 bytes of text and a
// terminator), widened into 260 UTF-16 units.
inline constexpr int kPathBufferSize = 260;

// Widens a zero-terminated ANSI path into a buffer of kPathBufferSize units. False when
// the path does not fit (nothing is written past the buffer) or is not valid text (a byte
// that is not UTF-8 is never replaced).
bool WidenPath(const char* path, WCHAR (&wide)[kPathBufferSize]);

// The name for messages, always on one line: valid UTF-8 stays as it is, except control
// characters (newline, escape, ...); those and every byte that is not UTF-8 are written as
// \xHH, byte by byte.
std::string PrintableName(std::string_view text);

}  // namespace korvanth
