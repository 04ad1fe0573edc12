// The converter's lines that every kind of run says alike, and those of its plain mistakes.
#include "cli/job_messages.h"

#include "convert/export_sheet.h"
#include "convert/format_registry.h"
#include "convert/utf8_path.h"
#include "imaging/save_file.h"

namespace korvanth {

namespace {

// "64 x 96"
std::string SizeText(PixelSize size) {
  return std::to_string(size.width) + " x " + std::to_string(size.height);
}

// "the 64 x 96 block at 300,300 ": how both outside lines begin.
std::string BlockAt(SelectionPoint origin, PixelSize block) {
  return "the " + SizeText(block) + " block at " + std::to_string(origin.x) + "," +
         std::to_string(origin.y) + " ";
}

}  // namespace

std::string FallbackWarningLine(const std::string& output) {
  return std::string(kProgram) + ": warning: " + PrintableName(output) +
         ": the extension selects no file type; BMP content is written under this name (" +
         kBitmapFallbackWarning + ")\n";
}

std::string InputPictureLine(const std::string& path) {
  return std::string(kProgram) + ": " + PrintableName(path) +
         ": is the input picture; it is never written over\n";
}

std::string OutputIsAFolderLine(const std::string& output) {
  return std::string(kProgram) + ": " + PrintableName(output) +
         ": cannot write: " + SaveProblemText(SaveProblem::IsFolder) + "\n";
}

std::string OutdirIsAPictureLine(const std::string& outdir) {
  return std::string(kProgram) + ": " + PrintableName(outdir) +
         ": OUTDIR is the folder --all writes its sheets into, not a picture; drop the "
         "extension, or add --atlas for one atlas picture\n";
}

std::string PartlyOutsideLine(SelectionPoint origin, PixelSize block, PixelSize picture) {
  return std::string(kProgram) + ": warning: " + BlockAt(origin, block) + "reaches outside the " +
         SizeText(picture) + " picture; the outside stays transparent\n";
}

std::string WhollyOutsideLine(SelectionPoint origin, PixelSize block, PixelSize picture) {
  return std::string(kProgram) + ": " + BlockAt(origin, block) + "lies wholly outside the " +
         SizeText(picture) + " picture; nothing written\n";
}

std::string CellPastTheLastLine(int column, int row, int lastColumn, int lastRow,
                                SheetLayout layout, PixelSize picture) {
  return std::string(kProgram) + ": --cell " + std::to_string(column) + "," + std::to_string(row) +
         " is past the last cell: the " + SizeText(picture) + " picture has cells 0,0 to " +
         std::to_string(lastColumn) + "," + std::to_string(lastRow) + " for the " +
         SizeText(SelectionBlockSize(layout)) + " " +
         std::string(FormatEntryFor(layout.format).cliName) + " block at tile size " +
         std::to_string(layout.tileSize) + "\n";
}

}  // namespace korvanth
