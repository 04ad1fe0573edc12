// The window's two languages, and a text of the window in both of them.
#pragma once

namespace korvanth {

// Japanese is the window's first language; the order is the settings file's numbering.
enum class UiLanguage { Japanese, English };

// A caption or message of the window, UTF-8, '&' before a menu mnemonic.
struct UiText {
  const char* japanese;
  const char* english;
};

constexpr const char* InLanguage(const UiText& text, UiLanguage language) {
  return language == UiLanguage::English ? text.english : text.japanese;
}

}  // namespace korvanth
