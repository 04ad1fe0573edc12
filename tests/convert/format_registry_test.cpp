// The format registry against facts written out by hand, and the Windows menu resource
// against the registry (the resource compiler cannot read C++ data, so the two are
// checked here).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/menu_resource.h"
#include "convert/format_registry.h"

using namespace korvanth;

namespace {

struct Facts {
  LayoutFormat format;
  const char* name;
  const char* cliName;
  const char* caption;
  int command;
  PixelSize block, sheet;
  std::size_t tiles;
};

const Facts kFacts[] = {
    {LayoutFormat::Terrain1, "Terrain1", "terrain1", "地形1(&L)", 40003, {64, 96}, {128, 320}, 40},
    {LayoutFormat::Terrain2, "Terrain2", "terrain2", "地形2(&A)", 40004, {96, 128}, {128, 384}, 48},
    {LayoutFormat::Roof, "Roof", "roof", "屋根(&R)", 40005, {64, 64}, {96, 128}, 12},
};

TEST(FormatRegistryTest, EntriesHoldTheFormatsFacts) {
  const auto registry = korvanth::FormatRegistry();
  ASSERT_EQ(registry.size(), std::size(kFacts));
  for (std::size_t i = 0; i < registry.size(); ++i) {
    const korvanth::FormatEntry& e = registry[i];
    const Facts& f = kFacts[i];
    EXPECT_EQ(e.format, f.format);
    EXPECT_EQ(e.name, f.name);
    EXPECT_EQ(e.cliName, f.cliName);
    EXPECT_STREQ(e.menuCaption, f.caption);
    EXPECT_EQ(e.commandId, f.command);
    EXPECT_EQ(e.block, f.block);
    EXPECT_EQ(e.sheet, f.sheet);
    EXPECT_EQ(e.table.size(), f.tiles);

    EXPECT_EQ(&korvanth::FormatEntryFor(f.format), &e);
    EXPECT_EQ(korvanth::FormatEntryForCommand(f.command), &e);
    EXPECT_EQ(korvanth::FormatEntryForCliName(f.cliName), &e);
    EXPECT_EQ(SelectionBlockSize(f.format), f.block);
    EXPECT_EQ(SheetSize(f.format), f.sheet);
    EXPECT_EQ(LayoutFormatFromName(f.cliName), f.format);
  }
  // The plain list of formats names the same formats in the same order.
  ASSERT_EQ(std::size(kAllLayoutFormats), std::size(kFacts));
  for (std::size_t i = 0; i < std::size(kFacts); ++i)
    EXPECT_EQ(kAllLayoutFormats[i], kFacts[i].format);
  for (int command : {0, 40001, 40002, 40006, 40007, 40008})
    EXPECT_EQ(korvanth::FormatEntryForCommand(command), nullptr) << command;
  for (const char* name : {"", "Terrain1", "terrain", "roof ", "3"})
    EXPECT_EQ(korvanth::FormatEntryForCliName(name), nullptr) << name;
}

std::string ReadSource(const std::string& relative) {
  std::ifstream in(std::string(KORVANTH_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(FormatRegistryTest, WindowsMenuResourceListsTheRegistrysFormats) {
  // #define NAME value, from the header the resource script includes.
  std::map<std::string, std::string> defines;
  const std::string header = ReadSource("app/menu_resource.h");
  const std::regex define(R"(#define\s+(\w+)\s+(.+))");
  for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it)
    defines[(*it)[1]] = (*it)[2];

  const std::string script = ReadSource("app/windows/korvanth.rc");
  const std::size_t popup = script.find("POPUP MENU_TEXT_FORMAT");
  ASSERT_NE(popup, std::string::npos);
  const std::size_t begin = script.find("BEGIN", popup);
  // The format items come first, then a separator and the tileset items.
  const std::size_t end = script.find("END", begin);
  const std::string body = script.substr(begin, end - begin);

  std::vector<std::pair<std::string, int>> items;
  const std::regex item(R"(MENUITEM\s+(\w+)\s*,\s*(\w+))");
  for (std::sregex_iterator it(body.begin(), body.end(), item), stop; it != stop; ++it) {
    std::string caption = defines[(*it)[1]];
    if (caption.size() >= 2 && caption.front() == '"')
      caption = caption.substr(1, caption.size() - 2);
    items.emplace_back(caption, std::stoi(defines[(*it)[2]]));
  }
  // The formats first, then the two tileset check items.
  const auto registry = korvanth::FormatRegistry();
  ASSERT_EQ(items.size(), registry.size() + 2);
  for (std::size_t i = 0; i < registry.size(); ++i) {
    EXPECT_EQ(items[i].first, registry[i].menuCaption);
    EXPECT_EQ(items[i].second, registry[i].commandId);
  }
  EXPECT_EQ(items[registry.size()].second, IDM_TILESET_TILED);
  EXPECT_EQ(items[registry.size()].first, MENU_TEXT_TILESET_TILED);
  EXPECT_EQ(items[registry.size() + 1].second, IDM_TILESET_GODOT);
  EXPECT_EQ(items[registry.size() + 1].first, MENU_TEXT_TILESET_GODOT);
  EXPECT_NE(body.find("MENUITEM SEPARATOR"), std::string::npos);
}

}  // namespace
