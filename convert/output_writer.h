// Writing an output plan (output_plan.h): the sheet's or atlas's bytes and each planned
// tileset, by one of two policies.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "convert/output_plan.h"
#include "imaging/save_file.h"

namespace korvanth {

enum class WritePolicy {
  // The sheet whole or not at all, then each tileset the same way on its own: a tileset
  // that fails leaves the sheet written, and a refused one is skipped.
  EachFileWhole,
  // Every file complete beside its target first, and only then moved into place; one
  // refusal or failure writes nothing.
  AllOrNothing,
};

// Gives the output's whole file; called once, before any tileset is written, so that the
// caller can let its pixels go.
using OutputEncoder = std::function<GpStatus(std::vector<std::uint8_t>& bytes)>;

struct WriteOutcome {
  SaveOutcome output;                 // the sheet's or atlas's own save
  std::vector<FileProblem> problems;  // every file not written, the output's first
  bool partlyWritten = false;         // all or nothing: a file could not be moved after others were
  bool ok() const { return problems.empty(); }
};

WriteOutcome WriteOutputs(const OutputPlan& plan, WritePolicy policy, const OutputEncoder& encode);

}  // namespace korvanth
