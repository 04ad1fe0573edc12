// Building a tile sheet from the selected block and saving it with the encoder that
// the file name's extension selects.
#pragma once

#include "convert/conversion_state.h"
#include "convert/layout_format.h"
#include "convert/sheet_conversion.h"
#include "imaging/handles.h"

namespace korvanth {

// Text shown when an extension selects no encoder and the sheet is saved as BMP.
inline constexpr const char kBitmapFallbackWarning[] = "ビットマップ形式で保存します";

// Whoever runs the conversion decides how the warning reaches the user: the window shows
// a message box, the command-line converter writes to standard error. The call returns
// when the user has seen it.
using FormatWarningHandler = void (*)(const char* text);
void SetFormatWarningHandler(FormatWarningHandler handler);

// The encoder's index in the list GDI+ reports, or -1; `clsid` is written only when found.
int FindEncoderByMimeType(const WCHAR* mimeType, CLSID* clsid);

// The encoder for an extension (the text after the last '.'), compared without regard to
// ASCII case; anything else selects BMP after the warning. A zero identifier when GDI+
// reports no such encoder.
CLSID EncoderForExtension(const char* extension);

// The sheet and the graphics surface drawing on it, released graphics first.
struct SheetBuild {
  ImageHandle sheet;
  GraphicsHandle graphics;
};

// Creates the format's transparent 32-bit sheet at 96 dpi and copies every quarter of the
// block at `origin` from `source` into it by the format's table. The source's resolution
// is set to 96 dpi as well, so quarters are copied unscaled. Any origin is safe: quarters
// wholly outside the picture are left transparent.
SheetBuild BuildSheet(LayoutFormat format, ImageHandle& source, SelectionPoint origin);

// Converts the block at SelectionOrigin of SourceImage by CurrentLayoutFormat and saves
// it at the UTF-8 `path` through the conversion core. The BMP fallback warning goes to the
// handler first; the state is read after the user has seen it. A name that leads to the
// picture's own file (IsSameFile) is refused: the open picture is never written over.
ConversionStatus ExportSelection(const char* path);

// Converts the block at SelectionOrigin of SourceImage by CurrentLayoutFormat and saves
// it at `path`. True exactly when the sheet was saved (see ExportSelection).
bool ExportSheet(const char* path);

}  // namespace korvanth
