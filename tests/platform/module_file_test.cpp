// The program's own file name, as GetModuleFileNameA gives it.
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32_api.h"

namespace {

TEST(ModuleFileName, TheProgramsFileCutToTheBuffer) {
  const std::string program = QCoreApplication::applicationFilePath().toStdString();
  ASSERT_GT(program.size(), 4u);
  char whole[4096];
  EXPECT_EQ(GetModuleFileNameA(nullptr, whole, sizeof whole), program.size());
  EXPECT_EQ(std::string(whole), program);
  EXPECT_EQ(GetModuleFileNameA(GetModuleHandleA(nullptr), whole, sizeof whole), program.size());
  // Too small: as much as fits and a zero, and the buffer's size as the result.
  char cut[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetModuleFileNameA(nullptr, cut, sizeof cut), sizeof cut);
  EXPECT_EQ(std::string(cut), program.substr(0, 4));
  EXPECT_EQ(GetModuleFileNameA(nullptr, cut, 0), 0u);
}

}  // namespace
