// The format registry's rules, each held against every entry: its tables fit its sizes,
// its names are its own, and every lookup leads back to it.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "convert/format_registry.h"

using namespace korvanth;

namespace {

bool QuarterInside(QuarterRef quarter, PixelSize area) {
  return quarter.column >= 0 && quarter.row >= 0 && quarter.column * kQuarterSize < area.width &&
         quarter.row * kQuarterSize < area.height;
}

struct Rule {
  const char* name;
  std::function<bool(const FormatEntry&)> holds;
};

const Rule kRules[] = {
    {"the sheet is whole rows of tiles",
     [](const FormatEntry& e) {
       return e.sheet.width == e.sheetColumns * kTileSize && e.sheet.height % kTileSize == 0;
     }},
    {"the table has one entry per sheet tile",
     [](const FormatEntry& e) {
       return static_cast<int>(e.table.size()) ==
              (e.sheet.width / kTileSize) * (e.sheet.height / kTileSize);
     }},
    {"every quarter comes from inside the block and lands inside the sheet",
     [](const FormatEntry& e) {
       for (const LayoutTableEntry& tile : e.table)
         for (const QuarterPlacement& q : tile.quarters)
           if (!QuarterInside(q.source, e.block) || !QuarterInside(q.destination, e.sheet))
             return false;
       return true;
     }},
    {"every sheet quarter is filled once",
     [](const FormatEntry& e) {
       std::set<std::pair<int, int>> filled;
       for (const LayoutTableEntry& tile : e.table)
         for (const QuarterPlacement& q : tile.quarters)
           filled.insert({q.destination.column, q.destination.row});
       return filled.size() == e.table.size() * 4;
     }},
    {"the terrain regions lie inside the block",
     [](const FormatEntry& e) {
       for (const BlockRegion& r : e.terrain)
         if (!QuarterInside({r.column, r.row}, e.block) ||
             !QuarterInside({r.column + r.columns - 1, r.row + r.rows - 1}, e.block))
           return false;
       return true;
     }},
    {"the format's sizes and name lead to its entry",
     [](const FormatEntry& e) {
       return &FormatEntryFor(e.format) == &e && FormatEntryForCliName(e.cliName) == &e &&
              SelectionBlockSize(e.format) == e.block && SheetSize(e.format) == e.sheet &&
              LayoutTableFor(e.format).data() == e.table.data();
     }},
    {"its names are its own",
     [](const FormatEntry& e) {
       for (const FormatEntry& other : FormatRegistry())
         if (&other != &e && (other.name == e.name || other.cliName == e.cliName)) return false;
       return !e.name.empty() && !e.cliName.empty();
     }},
};

TEST(FormatRegistryTest, EveryEntryKeepsEveryRule) {
  const auto registry = FormatRegistry();
  ASSERT_EQ(registry.size(), std::size(kAllLayoutFormats));
  for (std::size_t i = 0; i < registry.size(); ++i) {
    EXPECT_EQ(registry[i].format, kAllLayoutFormats[i]);
    for (const Rule& rule : kRules)
      EXPECT_TRUE(rule.holds(registry[i])) << registry[i].name << ": " << rule.name;
  }
  for (const char* name : {"", "Terrain1", "terrain", "roof ", "3"})
    EXPECT_EQ(FormatEntryForCliName(name), nullptr) << name;
}

}  // namespace
