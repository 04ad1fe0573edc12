// KERNEL32's UTF-8 <-> UTF-16 conversion. Off Windows the ANSI code page is UTF-8, so
// CP_ACP and CP_UTF8 behave the same. Results are built first and copied only when they
// fit, so a short buffer is never written at all.
#include <cstdint>
#include <cstring>
#include <string>

#include "api/linux/win_base.h"

namespace {

constexpr DWORD kMbErrInvalidChars = 0x00000008;
constexpr DWORD kWcErrInvalidChars = 0x00000080;
constexpr char16_t kReplacement = 0xFFFD;

bool IsUtf8CodePage(UINT codePage) {
  // CP_ACP, CP_OEMCP, CP_THREAD_ACP and CP_UTF8 all mean UTF-8 here.
  return codePage == CP_ACP || codePage == 1 || codePage == 3 || codePage == CP_UTF8;
}

bool InRange(unsigned char b, unsigned char lo, unsigned char hi) { return b >= lo && b <= hi; }

// Decodes UTF-8; each maximal ill-formed subsequence becomes one U+FFFD unless strict.
bool DecodeUtf8(const unsigned char* in, std::size_t size, bool strict, std::u16string& out) {
  std::size_t i = 0;
  while (i < size) {
    const unsigned char b0 = in[i];
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    }
    int need = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    char32_t cp = 0;
    if (InRange(b0, 0xC2, 0xDF)) {
      need = 1;
      cp = b0 & 0x1F;
    } else if (InRange(b0, 0xE0, 0xEF)) {
      need = 2;
      cp = b0 & 0x0F;
      if (b0 == 0xE0) lo = 0xA0;
      if (b0 == 0xED) hi = 0x9F;  // no encoded surrogates
    } else if (InRange(b0, 0xF0, 0xF4)) {
      need = 3;
      cp = b0 & 0x07;
      if (b0 == 0xF0) lo = 0x90;
      if (b0 == 0xF4) hi = 0x8F;
    } else {
      if (strict) return false;
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < need; ++k, ++j) {
      const unsigned char first = k == 0 ? lo : 0x80;
      const unsigned char last = k == 0 ? hi : 0xBF;
      if (j >= size || !InRange(in[j], first, last)) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (in[j] & 0x3F);
    }
    if (!ok) {
      if (strict) return false;
      out.push_back(kReplacement);
      i = j;  // resume at the byte that broke the sequence
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i = j;
  }
  return true;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Encodes UTF-16; a lone surrogate becomes U+FFFD unless strict.
bool EncodeUtf8(const char16_t* in, std::size_t size, bool strict, std::string& out,
                bool& replaced) {
  for (std::size_t i = 0; i < size; ++i) {
    const char16_t c = in[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < size && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF) {
      AppendUtf8(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (in[i + 1] - 0xDC00), out);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      if (strict) return false;
      replaced = true;
      AppendUtf8(kReplacement, out);
    } else {
      AppendUtf8(c, out);
    }
  }
  return true;
}

std::size_t WideLength(const WCHAR* s) {
  std::size_t n = 0;
  while (s[n] != 0) ++n;
  return n;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH multiByte, int multiByteCount,
                        LPWSTR wide, int wideCount) {
  if (!IsUtf8CodePage(codePage) || (flags & ~kMbErrInvalidChars) != 0) return 0;
  if (multiByte == nullptr || multiByteCount == 0 || multiByteCount < -1 || wideCount < 0) return 0;
  if (wideCount > 0 && wide == nullptr) return 0;
  const std::size_t size =
      multiByteCount == -1 ? std::strlen(multiByte) + 1 : static_cast<std::size_t>(multiByteCount);
  std::u16string result;
  if (!DecodeUtf8(reinterpret_cast<const unsigned char*>(multiByte), size,
                  (flags & kMbErrInvalidChars) != 0, result))
    return 0;
  if (result.size() > static_cast<std::size_t>(INT32_MAX)) return 0;
  const int needed = static_cast<int>(result.size());
  if (wideCount == 0) return needed;
  if (needed > wideCount) return 0;
  std::memcpy(wide, result.data(), result.size() * sizeof(WCHAR));
  return needed;
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                        int multiByteCount, LPCCH defaultChar, BOOL* usedDefaultChar) {
  if (!IsUtf8CodePage(codePage) || (flags & ~kWcErrInvalidChars) != 0) return 0;
  // As in Win32, CP_UTF8 takes no default character.
  if (codePage == CP_UTF8 && (defaultChar != nullptr || usedDefaultChar != nullptr)) return 0;
  if (wide == nullptr || wideCount == 0 || wideCount < -1 || multiByteCount < 0) return 0;
  if (multiByteCount > 0 && multiByte == nullptr) return 0;
  const std::size_t size =
      wideCount == -1 ? WideLength(wide) + 1 : static_cast<std::size_t>(wideCount);
  std::string result;
  bool replaced = false;
  if (!EncodeUtf8(wide, size, (flags & kWcErrInvalidChars) != 0, result, replaced)) return 0;
  if (result.size() > static_cast<std::size_t>(INT32_MAX)) return 0;
  const int needed = static_cast<int>(result.size());
  if (multiByteCount == 0) {
    if (usedDefaultChar) *usedDefaultChar = replaced ? TRUE : FALSE;
    return needed;
  }
  if (needed > multiByteCount) return 0;
  std::memcpy(multiByte, result.data(), result.size());
  if (usedDefaultChar) *usedDefaultChar = replaced ? TRUE : FALSE;
  return needed;
}
