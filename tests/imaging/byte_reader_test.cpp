// The bounded readers: a read that does not fit fails the reader and yields nothing, and
// every later read fails too, whatever its size. A byte stream over a file gives its
// bytes across the chunks it reads the file in.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "imaging/byte_reader.h"

namespace {

using korvanth::imaging::ByteReader;
using korvanth::imaging::ByteStream;
using korvanth::imaging::FileReader;

const std::vector<std::uint8_t> kBytes = {0x12, 0x34, 0x56, 0x78, 0x9A};

TEST(ByteReader, ReadsFieldsInBothOrdersAndStopsAtTheEnd) {
  ByteReader r(kBytes);
  EXPECT_EQ(r.U16BE(), 0x1234u);
  EXPECT_EQ(r.U16LE(), 0x7856u);
  EXPECT_EQ(r.remaining(), 1u);
  EXPECT_EQ(r.U16BE(), 0u);  // one byte left: the read fails and takes nothing
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.U8(), 0u);  // failure sticks, though a byte is there
  EXPECT_EQ(r.remaining(), 0u);

  ByteReader words(kBytes);
  EXPECT_EQ(words.U32LE(), 0x78563412u);
  EXPECT_TRUE(words.Seek(1));
  EXPECT_EQ(words.U32BE(), 0x3456789Au);
  EXPECT_FALSE(words.Seek(6));
  EXPECT_FALSE(words.ok());
}

TEST(ByteReader, LengthsFromTheBytesAreCheckedBeforeUse) {
  struct Case {
    std::size_t skip, take;
    bool fits;
  };
  const Case cases[] = {{0, 5, true}, {2, 3, true},         {2, 4, false},
                        {5, 0, true}, {0, SIZE_MAX, false}, {1, SIZE_MAX, false}};
  for (const Case& c : cases) {
    ByteReader r(kBytes);
    r.Skip(c.skip);
    ByteReader sub = r.Sub(c.take);
    EXPECT_EQ(r.ok(), c.fits) << c.skip << "+" << c.take;
    EXPECT_EQ(sub.size(), c.fits ? c.take : 0u) << c.skip << "+" << c.take;
  }
  EXPECT_FALSE(ByteReader::Failed().ok());
}

TEST(FileReader, ReadsNoMoreThanTheFileHolds) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fwrite(kBytes.data(), 1, kBytes.size(), file);
  std::rewind(file);
  FileReader r(file);
  EXPECT_EQ(r.size(), 5u);
  std::vector<std::uint8_t> got;
  EXPECT_TRUE(r.Read(2, got));
  EXPECT_EQ(got, (std::vector<std::uint8_t>{0x12, 0x34}));
  EXPECT_FALSE(r.Read(1u << 30, got));  // refused before anything is allocated
  EXPECT_TRUE(got.empty());
  EXPECT_EQ(r.NextByte(), -1);

  FileReader again(file);
  EXPECT_TRUE(again.Seek(4));
  EXPECT_EQ(again.NextByte(), 0x9A);
  EXPECT_EQ(again.NextByte(), -1);  // the end is not a failure
  EXPECT_TRUE(again.ok());
  EXPECT_FALSE(again.Skip(1));
  std::fclose(file);
}

TEST(ByteStream, GivesTheBytesAcrossItsChunks) {
  // 200000 bytes: more than three of the stream's 64 KiB chunks.
  std::vector<std::uint8_t> bytes(200000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 / 3);
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  FileReader reader(file);
  ByteStream stream(reader);
  EXPECT_EQ(stream.Next(), bytes[0]);
  EXPECT_TRUE(stream.Skip(65535));  // to the first byte of the second chunk
  EXPECT_EQ(stream.Next(), bytes[65536]);
  std::vector<std::uint8_t> got;
  EXPECT_TRUE(stream.Read(100000, got));  // the rest of one chunk and beyond the next
  EXPECT_EQ(got, std::vector<std::uint8_t>(bytes.begin() + 65537, bytes.begin() + 165537));
  EXPECT_TRUE(stream.Skip(34462));
  EXPECT_EQ(stream.Next(), bytes[199999]);
  EXPECT_EQ(stream.Next(), -1);
  EXPECT_FALSE(stream.Read(1, got));
  EXPECT_FALSE(stream.Skip(1));
  std::fclose(file);
}

}  // namespace
