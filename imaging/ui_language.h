// The program's two languages, and texts in both of them: the window's captions and
// messages, and the causes the lower layers give (which the converter prints in English).
#pragma once

#include <string>
#include <utility>

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

// A text made at run time in both languages: a cause that names a file or a count. Built
// from both texts at once, never from one alone, so that no message lacks a language.
struct Phrase {
  std::string japanese;
  std::string english;

  Phrase() = default;
  Phrase(std::string inJapanese, std::string inEnglish)
      : japanese(std::move(inJapanese)), english(std::move(inEnglish)) {}
  explicit Phrase(const UiText& text) : japanese(text.japanese), english(text.english) {}

  bool empty() const { return english.empty() && japanese.empty(); }
  friend bool operator==(const Phrase&, const Phrase&) = default;
};

inline const std::string& InLanguage(const Phrase& phrase, UiLanguage language) {
  return language == UiLanguage::English ? phrase.english : phrase.japanese;
}

}  // namespace korvanth
