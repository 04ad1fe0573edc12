// The window's message boxes, in both languages: the headlines above a file's name and
// cause, and the boxes that stand alone. A box speaks the window's language throughout:
// the cause beneath a headline comes from the same language's table.
#pragma once

#include <string>

#include "app/ui_text.h"
#include "convert/export_sheet.h"

namespace korvanth {

inline constexpr UiText kOpenFailedHeadline = {"開けませんでした。", "Could not open the picture."};
inline constexpr UiText kSaveFailedHeadline = {"保存できませんでした。",
                                               "Could not save the sheet."};
inline constexpr UiText kTilesetsFailedHeadline = {"タイルセットを保存できませんでした",
                                                   "Could not save the tilesets"};
inline constexpr UiText kExportFailedHeadline = {"書き出せませんでした。",
                                                 "Could not export the picture."};
inline constexpr UiText kExportPartlyWritten = {
    "一部のファイルだけが新しくなりました。もう一度書き出してください。",
    "Only some of the files were replaced. Export again."};
inline constexpr UiText kExportNothingWritten = {
    "何も書き込んでいません。元のファイルはそのままです。",
    "Nothing was written. The old files are as they were."};
inline constexpr UiText kNoPictureToExport = {
    "ピクチャが開かれていません。先に「開く」でピクチャを開いてください。",
    "No picture is open. Open one first (File > Open)."};
inline constexpr UiText kBitmapFallbackBox = {kBitmapFallbackWarning, "Saving in bitmap format"};

// "5個のブロックを書き出しました（空のブロック 1個は飛ばしました）。" and its English.
std::string ExportCountsText(int placed, int skipped, UiLanguage language);

}  // namespace korvanth
