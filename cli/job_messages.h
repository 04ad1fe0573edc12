// The converter's message lines that more than one of its jobs prints, and the lines of its
// plain mistakes, said once.
#pragma once

#include <string>

#include "convert/layout_format.h"
#include "convert/picture_file.h"

namespace korvanth {

// Every message line starts with the program's name.
inline constexpr char kProgram[] = "korvanth-convert";

// The unknown-extension warning: what happens, in English, with the window's own text.
std::string FallbackWarningLine(const std::string& output);

// An output (sheet, tileset or atlas file) that leads to the input picture.
std::string InputPictureLine(const std::string& path);

// An OUTPUT that is a folder already there: the same words as a save that meets one.
std::string OutputIsAFolderLine(const std::string& output);

// An OUTDIR of --all named like a picture, as if --atlas were given.
std::string OutdirIsAPictureLine(const std::string& outdir);

// The block at `origin` reaches outside the picture: in part (a warning, the rest stays
// transparent) or wholly (nothing to convert).
std::string PartlyOutsideLine(SelectionPoint origin, PixelSize block, PixelSize picture);
std::string WhollyOutsideLine(SelectionPoint origin, PixelSize block, PixelSize picture);

// --cell COL,ROW past `last`, the last cell where the block of `layout` lies whole.
std::string CellPastTheLastLine(int column, int row, int lastColumn, int lastRow,
                                SheetLayout layout, PixelSize picture);

}  // namespace korvanth
