#include "app/menu_install.h"

#include <vector>

#include "app/menu_resource.h"
#include "convert/format_registry.h"
#include "platform/win32_api.h"

namespace korvanth {

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
    menu.push_back({1, MF_SEPARATOR, 0, nullptr});
    menu.push_back({1, MF_STRING, IDM_TILESET_TILED, MENU_TEXT_TILESET_TILED});
    menu.push_back({1, MF_STRING, IDM_TILESET_GODOT, MENU_TEXT_TILESET_GODOT});
    menu.push_back({0, MF_POPUP, 0, MENU_TEXT_COLOUR});
    menu.push_back({1, MF_STRING, IDM_COLOUR_FRAME, MENU_TEXT_FRAME});
    menu.push_back({1, MF_STRING, IDM_COLOUR_BACKGROUND, MENU_TEXT_BACKGROUND});
    const char* const zoomCaptions[] = {MENU_TEXT_ZOOM1, MENU_TEXT_ZOOM2, MENU_TEXT_ZOOM3,
                                        MENU_TEXT_ZOOM4, MENU_TEXT_ZOOM5, MENU_TEXT_ZOOM6,
                                        MENU_TEXT_ZOOM7, MENU_TEXT_ZOOM8};
    menu.push_back({0, MF_POPUP, 0, MENU_TEXT_VIEW});
    for (UINT step = 0; step < 8; ++step)
      menu.push_back({1, MF_STRING, IDM_VIEW_ZOOM1 + step, zoomCaptions[step]});
    menu.push_back({1, MF_SEPARATOR, 0, nullptr});
    menu.push_back({1, MF_STRING, IDM_VIEW_PREVIEW, MENU_TEXT_PREVIEW});
    return menu;
  }();
  RegisterPortableMenuResource(IDR_MAIN_MENU, kMainMenu.data(), kMainMenu.size());
}

}  // namespace korvanth
