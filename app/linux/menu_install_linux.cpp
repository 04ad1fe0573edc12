// Off Windows: the menu description registered once as a template and loaded from there.
#include <vector>

#include "app/main_menu.h"
#include "app/menu_install.h"

namespace korvanth {

// The Linux host loads menus from registered templates: the description is registered
// once, under the menu's number, and loaded from there.
HMENU CreateMainMenu(HINSTANCE instance) {
  // Kept: the registered template refers to these items.
  static const std::vector<LinuxMenuItem> kTemplate = [] {
    std::vector<LinuxMenuItem> items;
    for (const MenuLine& line : MainMenuLines())
      items.push_back({line.depth, line.flags, line.command, line.caption});
    return items;
  }();
  RegisterLinuxMenuResource(IDR_MAIN_MENU, kTemplate.data(), kTemplate.size());
  return LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAIN_MENU));
}

}  // namespace korvanth
