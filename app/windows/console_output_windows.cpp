// A GUI program has no console of its own. Its text goes where the starter redirected the
// standard handle (a file, a pipe); else to the console of the command prompt it was
// started from; else, started from the desktop, into a message box.
#include <windows.h>

#include <string>

#include "app/command_line.h"

namespace korvanth {

namespace {

bool Usable(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The text as UTF-16 for a console, which shows UTF-8 bytes by its own code page.
std::wstring Wide(const std::string& utf8) {
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0)
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                        length);
  return text;
}

bool Write(HANDLE handle, const std::string& text) {
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = Wide(text);
    return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  }
  return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

void PrintAnswer(const CommandLineAnswer& answer) {
  const bool toErr = answer.out.empty();
  const std::string& text = toErr ? answer.err : answer.out;
  if (text.empty()) return;
  HANDLE handle = GetStdHandle(toErr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (!Usable(handle) && AttachConsole(ATTACH_PARENT_PROCESS))
    handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (Usable(handle) && Write(handle, text)) return;
  MessageBoxA(nullptr, text.c_str(), "Korvanth",
              MB_OK | (toErr ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace korvanth
