// The window's messages that carry counts.
#include "app/window_messages.h"

namespace korvanth {

std::string ExportCountsText(int placed, int skipped, UiLanguage language) {
  if (language == UiLanguage::Japanese)
    return std::to_string(placed) + "個のブロックを書き出しました（空のブロック " +
           std::to_string(skipped) + "個は飛ばしました）。";
  const auto blocks = [](int count, const char* kind) {
    return std::to_string(count) + kind + (count == 1 ? " block" : " blocks");
  };
  return "Exported " + blocks(placed, "") + " (skipped " + blocks(skipped, " empty") + ").";
}

}  // namespace korvanth
