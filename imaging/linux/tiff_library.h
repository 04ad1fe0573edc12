// libtiff, opened the first time a TIFF is read rather than when the program starts:
// libtiff brings a dozen compression libraries with it, and loading them all would cost
// every run of the converter, most of which never meet a TIFF. tiffio.h still gives the
// types and tags; the functions are called through this table.
#pragma once

#include <tiffio.h>

namespace korvanth::imaging {

// The libtiff functions the TIFF decoder uses, each resolved from the loaded library.
struct TiffLibrary {
  decltype(&::TIFFClose) Close = nullptr;
  decltype(&::TIFFFdOpenExt) FdOpenExt = nullptr;
  decltype(&::TIFFGetField) GetField = nullptr;
  decltype(&::TIFFGetFieldDefaulted) GetFieldDefaulted = nullptr;
  decltype(&::TIFFIsTiled) IsTiled = nullptr;
  decltype(&::TIFFOpenOptionsAlloc) OpenOptionsAlloc = nullptr;
  decltype(&::TIFFOpenOptionsFree) OpenOptionsFree = nullptr;
  decltype(&::TIFFOpenOptionsSetMaxSingleMemAlloc) OpenOptionsSetMaxSingleMemAlloc = nullptr;
  decltype(&::TIFFRGBAImageOK) RGBAImageOK = nullptr;
  decltype(&::TIFFReadRGBAImageOriented) ReadRGBAImageOriented = nullptr;
  decltype(&::TIFFReadScanline) ReadScanline = nullptr;
  decltype(&::TIFFReadTile) ReadTile = nullptr;
  decltype(&::TIFFScanlineSize64) ScanlineSize64 = nullptr;
  decltype(&::TIFFSetErrorHandler) SetErrorHandler = nullptr;
  decltype(&::TIFFSetWarningHandler) SetWarningHandler = nullptr;
  decltype(&::TIFFTileRowSize) TileRowSize = nullptr;
  decltype(&::TIFFTileSize) TileSize = nullptr;
};

// The library, loaded (and its messages silenced) by the first call from any thread; null
// when it is not installed or lacks a function, and then on every later call too.
const TiffLibrary* LoadedTiffLibrary();

}  // namespace korvanth::imaging
