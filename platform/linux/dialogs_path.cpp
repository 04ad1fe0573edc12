// Handing a confirmed path back through the OPENFILENAME record.
#include <algorithm>
#include <cstring>

#include "platform/linux/dialogs_internal.h"

namespace korvanth::platform {
namespace {

WORD ClampToWord(qsizetype value) { return static_cast<WORD>(std::min<qsizetype>(value, 0xFFFF)); }

// Windows reports a buffer that is too small by the needed size, terminator included,
// in its first two bytes (a little-endian WORD).
void ReportNeededSize(char* buffer, DWORD size, qsizetype needed) {
  if (buffer == nullptr || size < 2) return;
  const WORD word = ClampToWord(needed);
  buffer[0] = static_cast<char>(word & 0xFF);
  buffer[1] = static_cast<char>(word >> 8);
}

bool Fits(const QByteArray& text, DWORD size) { return static_cast<qsizetype>(size) > text.size(); }

void CopyWhole(const QByteArray& text, char* buffer) {
  std::memcpy(buffer, text.constData(), static_cast<std::size_t>(text.size()));
  buffer[text.size()] = '\0';
}

}  // namespace

bool StorePickedPath(const QByteArray& path, OPENFILENAMEA& ofn) {
  const qsizetype nameStart = path.lastIndexOf('/') + 1;
  const QByteArray title = path.mid(nameStart);
  const bool wantsTitle = ofn.lpstrFileTitle != nullptr && ofn.nMaxFileTitle > 0;
  bool fits = true;
  if (ofn.lpstrFile == nullptr || !Fits(path, ofn.nMaxFile)) {
    ReportNeededSize(ofn.lpstrFile, ofn.nMaxFile, path.size() + 1);
    fits = false;
  }
  if (wantsTitle && !Fits(title, ofn.nMaxFileTitle)) {
    ReportNeededSize(ofn.lpstrFileTitle, ofn.nMaxFileTitle, title.size() + 1);
    fits = false;
  }
  if (!fits) return false;

  CopyWhole(path, ofn.lpstrFile);
  if (wantsTitle) CopyWhole(title, ofn.lpstrFileTitle);
  ofn.nFileOffset = ClampToWord(nameStart);
  const qsizetype dot = path.lastIndexOf('.');
  if (dot < nameStart) {
    ofn.nFileExtension = ClampToWord(path.size());  // no extension: the terminator
  } else if (dot == path.size() - 1) {
    ofn.nFileExtension = 0;  // a name ending in "." counts as having none, as on Windows
  } else {
    ofn.nFileExtension = ClampToWord(dot + 1);
  }
  return true;
}

}  // namespace korvanth::platform
