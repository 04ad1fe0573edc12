// Finding one of the host's GDI+ encoders by the MIME type its encoder list gives it.
#pragma once

#include "imaging/gdiplus_api.h"

namespace korvanth {

// The encoder's index in the list GDI+ reports, or -1; `clsid` is written only when found.
int FindEncoderByMimeType(const WCHAR* mimeType, CLSID* clsid);

}  // namespace korvanth
