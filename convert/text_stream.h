// Text written piece by piece into a sink of the caller's choice (a string, a file being
// written), gathered in a small buffer so that a large text never has to be held whole.
#pragma once

#include <charconv>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace korvanth {

class TextStream {
 public:
  using Sink = std::function<void(std::string_view)>;

  explicit TextStream(Sink sink) : sink_(std::move(sink)) {}
  TextStream(const TextStream&) = delete;
  TextStream& operator=(const TextStream&) = delete;
  ~TextStream() { Flush(); }

  TextStream& operator<<(std::string_view text) {
    buffer_ += text;
    if (buffer_.size() >= kFlushBytes) Flush();
    return *this;
  }
  TextStream& operator<<(char c) { return *this << std::string_view(&c, 1); }
  TextStream& operator<<(long long number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    return *this << std::string_view(digits, static_cast<std::size_t>(end - digits));
  }
  TextStream& operator<<(int number) { return *this << static_cast<long long>(number); }
  TextStream& operator<<(std::size_t number) { return *this << static_cast<long long>(number); }

  // Hands what is buffered to the sink.
  void Flush() {
    if (buffer_.empty()) return;
    sink_(buffer_);
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kFlushBytes = std::size_t{1} << 16;
  Sink sink_;
  std::string buffer_;
};

// The whole text `write` gives, as one string (for sheets' tilesets and tests).
template <typename Write>
std::string TextOf(Write&& write) {
  std::string text;
  {
    TextStream out([&text](std::string_view piece) { text += piece; });
    write(out);
  }
  return text;
}

}  // namespace korvanth
