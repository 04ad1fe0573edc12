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
#define MENU_TEXT_VIEW "表示(&V)"
#define MENU_TEXT_ZOOM1 "等倍(&1)\tCtrl+0"
#define MENU_TEXT_ZOOM2 "2倍(&2)"
#define MENU_TEXT_ZOOM3 "3倍(&3)"
#define MENU_TEXT_ZOOM4 "4倍(&4)"
#define MENU_TEXT_ZOOM5 "5倍(&5)"
#define MENU_TEXT_ZOOM6 "6倍(&6)"
#define MENU_TEXT_ZOOM7 "7倍(&7)"
#define MENU_TEXT_ZOOM8 "8倍(&8)"
#define MENU_TEXT_PREVIEW "シートのプレビュー(&P)"

#endif
