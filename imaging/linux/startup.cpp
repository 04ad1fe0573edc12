// Start-up, shut-down and GDI+'s heap. Nothing here needs global set-up (the codec
// libraries work without it), so every other call works whether or not start-up ran.
#include <atomic>
#include <cstdlib>

#include "imaging/linux/gdiplus_flat.h"

namespace Gdiplus {

namespace {
std::atomic<ULONG_PTR> nextToken{1};
}

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                      GdiplusStartupOutput* output) {
  if (token == nullptr || input == nullptr) return InvalidParameter;
  if (input->GdiplusVersion != 1) return UnsupportedGdiplusVersion;
  if (output != nullptr) *output = GdiplusStartupOutput{};
  *token = nextToken.fetch_add(1);
  return Ok;
}

VOID GdiplusShutdown(ULONG_PTR) {}

namespace DllExports {

void* GdipAlloc(size_t size) { return std::malloc(size); }

void GdipFree(void* ptr) { std::free(ptr); }

}  // namespace DllExports
}  // namespace Gdiplus
