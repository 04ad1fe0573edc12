// Off Windows: registered window classes and the stock objects they refer to.
#pragma once

#include <QColor>
#include <QIcon>

#include <optional>
#include <string>

#include "platform/linux/win32_subset.h"

struct HBRUSH__ {
  COLORREF colour;
};

// The system's stock icons have no picture here; the program's own carry theirs.
struct HICON__ {
  int kind;
  QIcon picture;
};

namespace korvanth::platform {

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC procedure = nullptr;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
};

// The class registered under this name or atom (MAKEINTATOM), if any.
std::optional<WindowClass> FindWindowClass(LPCSTR nameOrAtom);

// The icon the program registered under this resource number, if any.
HICON FindProgramIcon(WORD id);

// The colour a class background brush paints with; none for a null brush.
std::optional<QColor> BrushColour(HBRUSH brush);

}  // namespace korvanth::platform
