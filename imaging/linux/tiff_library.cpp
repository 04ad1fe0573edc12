// Loads libtiff with dlopen on first use and resolves the functions the TIFF decoder calls.
#include "imaging/linux/tiff_library.h"

#include <dlfcn.h>

#include <optional>

// The library's SONAME, read at configure time from the libtiff the build found.
#ifndef KORVANTH_TIFF_SONAME
#error "KORVANTH_TIFF_SONAME must name the libtiff to load"
#endif

namespace korvanth::imaging {

namespace {

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(::dlsym(library, name));
  return function != nullptr;
}

std::optional<TiffLibrary> Load() {
  // Local: libtiff's symbols (and those of the libraries it brings) stay out of the
  // program's namespace. The handle is never closed; the library lives as long as the
  // process.
  void* library = ::dlopen(KORVANTH_TIFF_SONAME, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return std::nullopt;
  TiffLibrary t;
  const bool complete =
      Resolve(library, "TIFFClose", t.Close) && Resolve(library, "TIFFFdOpenExt", t.FdOpenExt) &&
      Resolve(library, "TIFFGetField", t.GetField) &&
      Resolve(library, "TIFFGetFieldDefaulted", t.GetFieldDefaulted) &&
      Resolve(library, "TIFFIsTiled", t.IsTiled) &&
      Resolve(library, "TIFFOpenOptionsAlloc", t.OpenOptionsAlloc) &&
      Resolve(library, "TIFFOpenOptionsFree", t.OpenOptionsFree) &&
      Resolve(library, "TIFFOpenOptionsSetMaxSingleMemAlloc", t.OpenOptionsSetMaxSingleMemAlloc) &&
      Resolve(library, "TIFFRGBAImageOK", t.RGBAImageOK) &&
      Resolve(library, "TIFFReadRGBAImageOriented", t.ReadRGBAImageOriented) &&
      Resolve(library, "TIFFReadScanline", t.ReadScanline) &&
      Resolve(library, "TIFFReadTile", t.ReadTile) &&
      Resolve(library, "TIFFScanlineSize64", t.ScanlineSize64) &&
      Resolve(library, "TIFFSetErrorHandler", t.SetErrorHandler) &&
      Resolve(library, "TIFFSetWarningHandler", t.SetWarningHandler) &&
      Resolve(library, "TIFFTileRowSize", t.TileRowSize) &&
      Resolve(library, "TIFFTileSize", t.TileSize);
  if (!complete) {
    ::dlclose(library);
    return std::nullopt;
  }
  // The decoder reports failures by status; libtiff's own messages would go to stderr.
  t.SetErrorHandler(nullptr);
  t.SetWarningHandler(nullptr);
  return t;
}

}  // namespace

const TiffLibrary* LoadedTiffLibrary() {
  static const std::optional<TiffLibrary> library = Load();
  return library ? &*library : nullptr;
}

}  // namespace korvanth::imaging
