#include "app/menu_install.h"

#include <vector>

#include "app/menu_resource.h"
#include "convert/format_registry.h"
#include "platform/win32_api.h"

using namespace korvanth;

void InstallMenuResource() {
  // Built once and kept: the registered resource refers to these items.
  static const std::vector<PortableMenuItem> kMainMenu = [] {
    std::vector<PortableMenuItem> menu = {
        {0, MF_POPUP, 0, MENU_TEXT_FILE},   {1, MF_STRING, IDM_FILE_OPEN, MENU_TEXT_OPEN},
        {1, MF_SEPARATOR, 0, nullptr},      {1, MF_STRING, IDM_FILE_EXIT, MENU_TEXT_EXIT},
        {0, MF_POPUP, 0, MENU_TEXT_FORMAT},
    };
    for (const FormatEntry& entry : FormatRegistry())
      menu.push_back({1, MF_STRING, static_cast<UINT>(entry.commandId), entry.menuCaption});
    menu.push_back({0, MF_POPUP, 0, MENU_TEXT_COLOUR});
    menu.push_back({1, MF_STRING, IDM_COLOUR_FRAME, MENU_TEXT_FRAME});
    menu.push_back({1, MF_STRING, IDM_COLOUR_BACKGROUND, MENU_TEXT_BACKGROUND});
    return menu;
  }();
  RegisterPortableMenuResource(IDR_MAIN_MENU, kMainMenu.data(), kMainMenu.size());
}
