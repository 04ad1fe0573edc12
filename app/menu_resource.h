/* Command identifiers of the main window's menu, which app/main_menu.h describes. */
#ifndef KORVANTH_APP_MENU_RESOURCE_H
#define KORVANTH_APP_MENU_RESOURCE_H

/* The menu template's number where a host loads menus by number. */
#define IDR_MAIN_MENU 101

#define IDM_FILE_OPEN 40001
#define IDM_FILE_EXIT 40002
/* Every block of the picture into one atlas. */
#define IDM_FILE_EXPORT_ALL 40009
/* The format items: IDM_FORMAT_FIRST + the format's place in the registry, up to
   IDM_FORMAT_LAST. */
#define IDM_FORMAT_FIRST 40051
#define IDM_FORMAT_LAST 40069
#define IDM_FORMAT_TERRAIN1 (IDM_FORMAT_FIRST + 0)
#define IDM_FORMAT_TERRAIN2 (IDM_FORMAT_FIRST + 1)
#define IDM_FORMAT_ROOF (IDM_FORMAT_FIRST + 2)
/* The 形式 menu's check item that completes the terrain shapes. */
#define IDM_FORMAT_COMPLETE 40008
#define IDM_COLOUR_FRAME 40006
#define IDM_COLOUR_BACKGROUND 40007
/* The view menu: zoom steps 1x to 8x (IDM_VIEW_ZOOM1 + zoom - 1), then the preview. */
#define IDM_VIEW_ZOOM1 40011
#define IDM_VIEW_ZOOM2 40012
#define IDM_VIEW_ZOOM3 40013
#define IDM_VIEW_ZOOM4 40014
#define IDM_VIEW_ZOOM5 40015
#define IDM_VIEW_ZOOM6 40016
#define IDM_VIEW_ZOOM7 40017
#define IDM_VIEW_ZOOM8 40018
#define IDM_VIEW_PREVIEW 40020
/* One check item per tileset target: IDM_TILESET_FIRST + the target's index, up to
   IDM_TILESET_LAST. */
#define IDM_TILESET_FIRST 40021
#define IDM_TILESET_LAST 40039
/* The 形式 menu's check item of the block-map mode. */
#define IDM_FORMAT_BLOCK_MAP 40090
/* The tile size submenu's radio items, consecutive from the smallest size. */
#define IDM_TILE_SIZE_FIRST 40041
#define IDM_TILE_SIZE_LAST 40049
/* The view menu's check item that shows the status bar. */
#define IDM_VIEW_STATUS_BAR 40080
/* The ファイル menu's recent pictures, newest first. */
#define IDM_FILE_RECENT_FIRST 40100
#define IDM_FILE_RECENT_LAST 40107
/* The language menu's radio items, consecutive in UiLanguage's order. */
#define IDM_LANGUAGE_JAPANESE 40070
#define IDM_LANGUAGE_ENGLISH 40071

#endif
