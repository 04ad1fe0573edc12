// One conversion as every front end asks for it: the block of a picture, its format, the
// sheet's name and the tilesets that go beside it. Running it plans the output
// (output_plan.h), warns about the BMP fallback before anything is written, writes the
// sheet whole or not at all and then each tileset on its own, and says why anything was
// not written.
#pragma once

#include <string>
#include <vector>

#include "convert/picture_file.h"
#include "convert/layout_format.h"
#include "convert/picture_lock.h"
#include "convert/same_file.h"
#include "convert/sheet_conversion.h"
#include "convert/output_plan.h"
#include "imaging/handles.h"

namespace korvanth {

struct ConversionJob {
  ImageHandle* picture = nullptr;  // none: nothing is written (a failed load converts, as empty)
  SheetLayout layout;  // the format, its tile size and whether missing shapes are appended
  SelectionPoint origin;
  std::string output;  // the sheet's UTF-8 name, any length; its extension picks the file type
  TilesetKinds tilesets = kNoTilesets;
  std::string pictureFile;  // the picture's own file, never written over; empty when none
  PictureLock* pictureLock = nullptr;      // held while the block is read, for a shared picture
  std::string terrainName = {};            // the tilesets' terrain; empty: the sheet's stem
  std::vector<ReadFile> otherInputs = {};  // further files the run reads, never written over
};

struct ConversionResult {
  ConversionStatus sheet;             // the sheet's outcome; no tileset is tried without it
  std::vector<FileProblem> tilesets;  // every tileset that was not written
  bool ok() const { return sheet.ok() && tilesets.empty(); }
};

// Runs `job`. The fallback warning reaches `warn` (may be empty) before anything is
// written; the job is read again after it, so a sink may bring the job up to date (the
// window's user can change the format or close the picture while the warning shows).
ConversionResult RunConversion(const ConversionJob& job, const WarningSink& warn);

}  // namespace korvanth
