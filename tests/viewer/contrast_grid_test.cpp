// The contrast grid on its own: its refusals, its phase, pitch and zoom, and the message
// box when the bitmap cannot be locked.
#include <gtest/gtest.h>

#include <QMessageBox>

#include "gui_support/main_window_fixture.h"
#include "platform/dialogs_support.h"
#include "viewer/canvas.h"

using namespace korvanth;

namespace {

// A 24-bit bitmap of one grey level.
ImageHandle GreyBitmap(int width, int height, BYTE level) {
  ImageHandle bitmap = ImageHandle::FromScan0(width, height, PixelFormat24bppRGB);
  GpRect all{0, 0, width, height};
  BitmapData data{};
  EXPECT_EQ(
      GdipBitmapLockBits(bitmap.bitmap(), &all, ImageLockModeWrite, PixelFormat24bppRGB, &data),
      Ok);
  for (int y = 0; y < height; ++y)
    std::fill_n(static_cast<BYTE*>(data.Scan0) + y * data.Stride, 3 * width, level);
  GdipBitmapUnlockBits(bitmap.bitmap(), &data);
  return bitmap;
}

BYTE Blue(ImageHandle& bitmap, int x, int y) {
  ARGB colour = 0;
  GdipBitmapGetPixel(bitmap.bitmap(), x, y, &colour);
  return static_cast<BYTE>(colour & 0xFF);
}

std::vector<int> LineColumns(ImageHandle& bitmap, int row, BYTE background) {
  std::vector<int> columns;
  for (int x = 0; x < static_cast<int>(bitmap.Width()); ++x)
    if (Blue(bitmap, x, row) != background) columns.push_back(x);
  return columns;
}

class ContrastGridTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProgramState(); }
  void TearDown() override { ResetProgramState(); }
};

TEST_F(ContrastGridTest, RefusesWithoutDrawing) {
  ImageHandle bitmap = GreyBitmap(64, 64, 10);
  EXPECT_EQ(DrawContrastGrid(nullptr, {0, 0, 64, 64}, 100, {32, 32}, {0, 0}), GenericError);
  EXPECT_EQ(DrawContrastGrid(&bitmap, {0, 0, 64, 64}, 0, {32, 32}, {0, 0}), GenericError);
  EXPECT_EQ(DrawContrastGrid(&bitmap, {0, 0, 64, 64}, 100, {0, 0}, {0, 0}), GenericError);
  EXPECT_TRUE(LineColumns(bitmap, 5, 10).empty());
}

TEST_F(ContrastGridTest, PhaseZoomAndZeroCell) {
  ImageHandle bitmap = GreyBitmap(100, 40, 10);
  ASSERT_EQ(DrawContrastGrid(&bitmap, {0, 0, 100, 40}, 100, {32, 32}, {10, 0}), Ok);
  EXPECT_EQ(LineColumns(bitmap, 5, 10), (std::vector<int>{22, 54, 86}));
  EXPECT_EQ(Blue(bitmap, 22, 5), 255);  // dark beneath: white

  ImageHandle zoomed = GreyBitmap(200, 8, 200);
  ASSERT_EQ(DrawContrastGrid(&zoomed, {0, 0, 200, 8}, 250, {32, 32}, {0, 0}), Ok);
  EXPECT_EQ(LineColumns(zoomed, 5, 200), (std::vector<int>{0, 64, 128, 192}));
  EXPECT_EQ(Blue(zoomed, 64, 5), 0);  // light beneath: black

  // A zero cell width is the bitmap's width: a single vertical line at the area's start.
  ImageHandle wide = GreyBitmap(90, 8, 10);
  ASSERT_EQ(DrawContrastGrid(&wide, {20, 0, 70, 8}, 100, {0, 32}, {0, 0}), Ok);
  EXPECT_EQ(LineColumns(wide, 5, 10), (std::vector<int>{20}));
}

TEST_F(ContrastGridTest, LinesFollowTheScrollOffset) {
  ImageHandle bitmap = GreyBitmap(80, 8, 10);
  ASSERT_EQ(DrawContrastGrid(&bitmap, {0, 0, 80, 8}, 100, {32, 32}, {0, 0}, {5, 0}), Ok);
  EXPECT_EQ(LineColumns(bitmap, 5, 10), (std::vector<int>{27, 59}));
}

TEST_F(ContrastGridTest, LockFailureShowsTheMessageBox) {
  ImageHandle bitmap = GreyBitmap(16, 16, 10);
  QString text;
  QString title;
  dialogs_test::UserScript script;
  script.when(dialogs_test::BoxShown, [&] {
    text = dialogs_test::OpenBox()->text();
    title = dialogs_test::OpenBox()->windowTitle();
    dialogs_test::Click(dialogs_test::OpenBox()->button(QMessageBox::Ok));
  });
  script.start();
  // An area larger than the bitmap cannot be locked.
  const GpStatus status = DrawContrastGrid(&bitmap, {0, 0, 32, 32}, 100, {32, 32}, {0, 0});
  EXPECT_NE(status, Ok);
  EXPECT_EQ(bitmap.lastStatus(), status);
  EXPECT_FALSE(script.timedOut());
  EXPECT_EQ(text, QStringLiteral("Bmpをロックできません"));
  EXPECT_EQ(title, QString());
  EXPECT_TRUE(LineColumns(bitmap, 5, 10).empty());
}

}  // namespace
