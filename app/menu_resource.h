/* Menu resource 101: identifiers and captions, written once for both hosts. Included by
   the Windows resource script and by the C++ code, so it holds only #defines. */
#ifndef KORVANTH_APP_MENU_RESOURCE_H
#define KORVANTH_APP_MENU_RESOURCE_H

#define IDR_MAIN_MENU 101

#define IDM_FILE_OPEN 40001
#define IDM_FILE_EXIT 40002
#define IDM_FORMAT_TERRAIN1 40003
#define IDM_FORMAT_TERRAIN2 40004
#define IDM_FORMAT_ROOF 40005
#define IDM_COLOUR_FRAME 40006
#define IDM_COLOUR_BACKGROUND 40007
#define IDM_TILESET_TILED 40021
#define IDM_TILESET_GODOT 40022

#define MENU_TEXT_FILE "ﾌｧｲﾙ(&F)"
#define MENU_TEXT_OPEN "開く(&O)..."
#define MENU_TEXT_EXIT "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"
#define MENU_TEXT_FORMAT "形式(&F)"
#define MENU_TEXT_TERRAIN1 "地形1(&L)"
#define MENU_TEXT_TERRAIN2 "地形2(&A)"
#define MENU_TEXT_ROOF "屋根(&R)"
#define MENU_TEXT_TILESET_TILED "Tiled用タイルセットも保存(&T)"
#define MENU_TEXT_TILESET_GODOT "Godot用タイルセットも保存(&G)"
#define MENU_TEXT_COLOUR "色(&C)"
#define MENU_TEXT_FRAME "枠(&F)..."
#define MENU_TEXT_BACKGROUND "背景(&B)..."

#endif
