// Everything one request writes, decided before anything is: the sheet's (or atlas's) file
// and its file type, each chosen tileset beside it and the description they are built
// from, and every refusal, each checked here once: no picture, a name that is not UTF-8 or
// has no extension, a name that leads to the open picture or another file the run reads,
// a tileset named like its own sheet, a sheet type the tileset's editor cannot import and
// a sheet name a tileset cannot carry. output_writer.h writes a plan.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "convert/same_file.h"
#include "convert/sheet_conversion.h"
#include "convert/tileset_description.h"
#include "convert/tileset_targets.h"

namespace korvanth {

struct OutputRequest {
  bool hasPicture = true;   // false: no picture is open, nothing can be written
  std::string output = {};  // the sheet's or atlas's UTF-8 name; its extension picks the type
  TilesetKinds tilesets = kNoTilesets;
  std::string pictureFile = {};             // the picture's own file, never written over
  std::vector<ReadFile> otherInputs = {};   // further files the run reads, never written over
  UiText outputWord = {"シート", "sheet"};  // the output in the tilesets' refusals: "atlas"
};

struct FileProblem {
  std::string path;        // the file that was not written
  bool isPicture = false;  // it would have landed on the picture's own file
  Phrase reason;           // a few words of both languages
};

struct PlannedTileset {
  const TilesetTarget* target = nullptr;
  std::string path;
  Phrase refusal = {};        // why it is not written; empty: it is
  bool isPicture = false;     // the refusal is that it would land on the picture
  bool cannotImport = false;  // the refusal is that its editor cannot import the sheet
};

struct OutputPlan {
  std::string output;
  std::vector<WCHAR> wideOutput;  // the same name for the file functions
  EncoderChoice encoder;          // its type is null when the name holds no '.' at all
  // The output's own refusal: nothing is written. OtherInput's reason names the file.
  ConversionProblem refusal = ConversionProblem::None;
  Phrase refusalReason;
  std::vector<PlannedTileset> tilesets;  // every chosen target, in the table's order
  TilesetDescription description;        // filled in by the job once the pixels are known
};

// The plan of `request`. Tilesets are planned even when the output is refused, so that a
// front end can refuse an unusable tileset before it reads anything.
OutputPlan PlanOutput(const OutputRequest& request);

// The output's refusal, if any, followed by the tilesets' refusals; empty: nothing refused.
std::vector<FileProblem> PlanRefusals(const OutputPlan& plan);

}  // namespace korvanth
