// GDI+ start-up and shut-down: the token, input checks, calls outside them, and GdipAlloc.
#include <gtest/gtest.h>

#include <cstring>

#include "imaging/handles.h"

using namespace korvanth;

namespace {

TEST(GdiplusStartup, GivesATokenAndChecksItsInput) {
  GdiplusStartupInput input;
  ULONG_PTR token = 0;
  ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok);
  EXPECT_NE(token, 0u);
  GdiplusShutdown(token);

  EXPECT_EQ(GdiplusStartup(nullptr, &input, nullptr), InvalidParameter);
  EXPECT_EQ(GdiplusStartup(&token, nullptr, nullptr), InvalidParameter);
  input.GdiplusVersion = 3;
  EXPECT_EQ(GdiplusStartup(&token, &input, nullptr), UnsupportedGdiplusVersion);
}

TEST(GdiplusStartup, CallsWorkWithoutStartupAndAfterShutdown) {
  // The converter and the tests call the imaging functions freely.
  ImageHandle before = ImageHandle::FromScan0(4, 4, PixelFormat32bppARGB);
  EXPECT_EQ(before.lastStatus(), Ok);
  GdiplusStartupInput input;
  ULONG_PTR token = 0;
  ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok);
  GdiplusShutdown(token);
  ImageHandle after = ImageHandle::FromScan0(4, 4, PixelFormat24bppRGB);
  EXPECT_EQ(after.lastStatus(), Ok);
  EXPECT_EQ(after.Width(), 4u);
}

TEST(GdipAlloc, GivesUsableMemory) {
  void* block = GdipAlloc(64);
  ASSERT_NE(block, nullptr);
  std::memset(block, 0xAB, 64);
  EXPECT_EQ(static_cast<unsigned char*>(block)[63], 0xAB);
  GdipFree(block);
  GdipFree(nullptr);
}

}  // namespace
