// Window classes, module handles and the stock icon, cursor and brushes.
#include "platform/linux/window_class.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

struct HINSTANCE__ {
  int unused;
};

namespace {

std::vector<korvanth::platform::WindowClass>& Classes() {
  static std::vector<korvanth::platform::WindowClass> classes;
  return classes;
}

bool IsAtom(LPCSTR name) { return reinterpret_cast<ULONG_PTR>(name) <= 0xFFFF; }

// Atoms count from 0xC000 upwards, as Windows gives them to registered classes.
constexpr ATOM kFirstAtom = 0xC000;

HBRUSH__ gStockBrushes[] = {
    {RGB(255, 255, 255)}, {RGB(192, 192, 192)}, {RGB(128, 128, 128)},
    {RGB(64, 64, 64)},    {RGB(0, 0, 0)},
};
HINSTANCE__ gModule{};
HICON__ gApplicationIcon{1, {}};
HICON__ gArrowCursor{2, {}};

}  // namespace

namespace korvanth::platform {

std::optional<WindowClass> FindWindowClass(LPCSTR nameOrAtom) {
  if (nameOrAtom == nullptr) return std::nullopt;
  auto& classes = Classes();
  if (IsAtom(nameOrAtom)) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom));
    if (atom < kFirstAtom || static_cast<size_t>(atom - kFirstAtom) >= classes.size())
      return std::nullopt;
    return classes[atom - kFirstAtom];
  }
  for (const auto& windowClass : classes)
    if (windowClass.name == nameOrAtom) return windowClass;
  return std::nullopt;
}

std::optional<QColor> BrushColour(HBRUSH brush) {
  if (brush == nullptr) return std::nullopt;
  const auto value = reinterpret_cast<ULONG_PTR>(brush);
  if (value <= 31) {
    // (HBRUSH)(COLOR_xxx + 1): a system colour.
    if (value - 1 == COLOR_BTNFACE) return QColor(240, 240, 240);
    return QColor(255, 255, 255);
  }
  const COLORREF colour = brush->colour;
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace korvanth::platform

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
  if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
      windowClass->lpszClassName == nullptr || IsAtom(windowClass->lpszClassName) ||
      windowClass->lpfnWndProc == nullptr)
    return 0;
  auto& classes = Classes();
  for (const auto& existing : classes)
    if (existing.name == windowClass->lpszClassName) return 0;  // already registered
  if (classes.size() >= 0x10000 - kFirstAtom) return 0;
  korvanth::platform::WindowClass entry;
  entry.name = windowClass->lpszClassName;
  entry.style = windowClass->style;
  entry.procedure = windowClass->lpfnWndProc;
  entry.instance = windowClass->hInstance;
  entry.icon = windowClass->hIcon;
  entry.cursor = windowClass->hCursor;
  entry.background = windowClass->hbrBackground;
  classes.push_back(entry);
  return static_cast<ATOM>(kFirstAtom + classes.size() - 1);
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  // Only the program itself is a module here.
  return moduleName == nullptr ? &gModule : nullptr;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
  if ((module != nullptr && module != &gModule) || fileName == nullptr || size == 0) return 0;
  std::error_code error;
  const std::string name = std::filesystem::read_symlink("/proc/self/exe", error).string();
  if (error || name.empty()) return 0;
  const size_t copied = std::min<size_t>(name.size(), size - 1);
  std::memcpy(fileName, name.data(), copied);
  fileName[copied] = '\0';
  return name.size() < size ? static_cast<DWORD>(name.size()) : size;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (instance == nullptr && name == IDI_APPLICATION) return &gApplicationIcon;
  // The program's own icons are those it registered (RegisterLinuxIconResource).
  if (instance == &gModule && IsAtom(name))
    return korvanth::platform::FindProgramIcon(
        static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
  return nullptr;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance == nullptr && name == IDC_ARROW) return &gArrowCursor;
  return nullptr;
}

HGDIOBJ GetStockObject(int object) {
  if (object >= WHITE_BRUSH && object <= BLACK_BRUSH) return &gStockBrushes[object];
  return nullptr;
}
