#include "app/menu_install.h"

#include <iterator>

#include "app/menu_resource.h"
#include "platform/win32_api.h"

void InstallMenuResource() {
  static const PortableMenuItem kMainMenu[] = {
      {0, MF_POPUP, 0, MENU_TEXT_FILE},
      {1, MF_STRING, IDM_FILE_OPEN, MENU_TEXT_OPEN},
      {1, MF_SEPARATOR, 0, nullptr},
      {1, MF_STRING, IDM_FILE_EXIT, MENU_TEXT_EXIT},
      {0, MF_POPUP, 0, MENU_TEXT_FORMAT},
      {1, MF_STRING, IDM_FORMAT_TERRAIN1, MENU_TEXT_TERRAIN1},
      {1, MF_STRING, IDM_FORMAT_TERRAIN2, MENU_TEXT_TERRAIN2},
      {1, MF_STRING, IDM_FORMAT_ROOF, MENU_TEXT_ROOF},
      {1, MF_SEPARATOR, 0, nullptr},
      {1, MF_STRING, IDM_TILESET_TILED, MENU_TEXT_TILESET_TILED},
      {1, MF_STRING, IDM_TILESET_GODOT, MENU_TEXT_TILESET_GODOT},
      {0, MF_POPUP, 0, MENU_TEXT_COLOUR},
      {1, MF_STRING, IDM_COLOUR_FRAME, MENU_TEXT_FRAME},
      {1, MF_STRING, IDM_COLOUR_BACKGROUND, MENU_TEXT_BACKGROUND},
  };
  RegisterPortableMenuResource(IDR_MAIN_MENU, kMainMenu, std::size(kMainMenu));
}
