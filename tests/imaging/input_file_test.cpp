// Opening an input: a regular file only, judged by what the name leads to after its
// links, and never waited on.
#include "imaging/input_file.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/test_files.h"

using korvanth::imaging::InputProblem;
using korvanth::imaging::OpenInputFile;

namespace fs = std::filesystem;

namespace {

TEST(InputFile, OnlyARegularFileIsOpened) {
  ScratchDir dir;
  WriteBytes(dir.file("plain"), "bytes");
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
  const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  dir.file("socket").copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  fs::create_directory(dir.path() / "folder");
  for (const char* target : {"plain", "fifo", "socket", "folder", "gone"})
    fs::create_symlink(target, dir.path() / (std::string("to-") + target));
  fs::create_symlink("/dev/zero", dir.path() / "to-zero");

  struct Case {
    std::string name;
    InputProblem expected;
  };
  const Case cases[] = {
      {"plain", InputProblem::None},          {"to-plain", InputProblem::None},
      {"missing", InputProblem::Missing},     {"no/such/file", InputProblem::Missing},
      {"plain/below", InputProblem::Missing}, {"to-gone", InputProblem::Missing},
      {"folder", InputProblem::IsFolder},     {"to-folder", InputProblem::IsFolder},
      {"fifo", InputProblem::NotRegular},     {"to-fifo", InputProblem::NotRegular},
      {"socket", InputProblem::NotRegular},   {"to-socket", InputProblem::NotRegular},
      {"to-zero", InputProblem::NotRegular},
  };
  for (const Case& c : cases) {
    const korvanth::imaging::OpenedInput opened = OpenInputFile(dir.file(c.name).c_str());
    EXPECT_EQ(opened.problem, c.expected) << c.name;
    EXPECT_EQ(opened.file != nullptr, c.expected == InputProblem::None) << c.name;
    if (opened.file == nullptr) continue;
    char bytes[8] = {};
    // Blocking reads again once open: the whole file comes in one call.
    EXPECT_EQ(std::fread(bytes, 1, sizeof bytes, opened.file), 5u) << c.name;
    EXPECT_EQ(std::string(bytes), "bytes");
    std::fclose(opened.file);
  }
  ::close(socket);
  EXPECT_TRUE(fs::is_fifo(dir.path() / "fifo"));
  EXPECT_EQ(std::string(korvanth::imaging::InputProblemText(InputProblem::NotRegular)),
            "is not a regular file");
}

TEST(InputFile, AFileThatMayNotBeReadIsDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  ScratchDir dir;
  WriteBytes(dir.file("secret"), "x");
  ASSERT_EQ(::chmod(dir.file("secret").c_str(), 0), 0);
  EXPECT_EQ(OpenInputFile(dir.file("secret").c_str()).problem, InputProblem::PermissionDenied);
}

}  // namespace
