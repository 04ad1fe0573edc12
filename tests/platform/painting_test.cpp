// Painting: the back buffer kept between paints, WM_ERASEBKGND with the class brush,
// WM_PAINT through BeginPaint/EndPaint, ScrollWindowEx and WM_SETREDRAW.
#include <QCoreApplication>
#include <QPainter>

#include <gtest/gtest.h>

#include "imaging/linux/device_context.h"
#include "window_harness.h"

namespace {

constexpr QRgb kGrey = 0xFF808080;

// A colour that tells every pixel's place, to see where pixels went.
QRgb PlaceColour(int x, int y) { return qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8)); }

class Painting : public ::testing::Test {
 protected:
  // The paint handler: fills with `fill` when set, records the PAINTSTRUCT.
  void SetUp() override {
    window.setHandler([this](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (message == WM_ERASEBKGND && eraseAnswer) return *eraseAnswer;
      if (message != WM_PAINT) return std::nullopt;
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(hwnd, &paint);
      painted.push_back(paint);
      if (dc != nullptr && !dc->surface.isNull()) {
        // The surface's own memory, seen as a QImage.
        QImage surface(dc->surface.bits(), static_cast<int>(dc->surface.width()),
                       static_cast<int>(dc->surface.height()), dc->surface.stride(),
                       QImage::Format_RGB32);
        surfaceSize = surface.size();
        if (pattern) {
          for (int y = 0; y < surface.height(); ++y)
            for (int x = 0; x < surface.width(); ++x) surface.setPixel(x, y, PlaceColour(x, y));
        } else if (fill) {
          surface.fill(QColor::fromRgb(*fill));
        }
      }
      EndPaint(hwnd, &paint);
      return 0;
    });
    korvanth::platform::ClientPixels(window.hwnd());  // the first paint after showing
    painted.clear();
    window.clear();
  }

  int paintCount() const { return static_cast<int>(window.only(WM_PAINT).size()); }

  TestWindow window;
  std::vector<PAINTSTRUCT> painted;
  std::optional<QRgb> fill;
  bool pattern = false;
  std::optional<LRESULT> eraseAnswer;
  QSize surfaceSize;
};

TEST(FirstPaint, ErasesWithTheClassBrushThenPaints) {
  TestWindow window;
  const QImage pixels = korvanth::platform::ClientPixels(window.hwnd());
  ASSERT_EQ(pixels.size(), QSize(513, 513));
  EXPECT_EQ(pixels.format(), QImage::Format_RGB32);
  EXPECT_EQ(pixels.pixel(0, 0), kGrey);
  EXPECT_EQ(pixels.pixel(512, 512), kGrey);
  const auto ids = window.messageIds();
  const auto erase = std::find(ids.begin(), ids.end(), static_cast<UINT>(WM_ERASEBKGND));
  const auto paint = std::find(ids.begin(), ids.end(), static_cast<UINT>(WM_PAINT));
  ASSERT_NE(erase, ids.end());
  ASSERT_NE(paint, ids.end());
  // Default WM_PAINT processing begins the paint, which erases first.
  EXPECT_LT(paint - ids.begin(), erase - ids.begin());
  EXPECT_EQ(window.only(WM_PAINT).size(), 1u);
}

TEST_F(Painting, WhatThePaintDrewStaysUntilTheNextPaint) {
  fill = 0xFF102030;
  InvalidateRect(window.hwnd(), nullptr, FALSE);
  QImage pixels = korvanth::platform::ClientPixels(window.hwnd());
  EXPECT_EQ(paintCount(), 1);
  EXPECT_EQ(surfaceSize, QSize(513, 513));
  EXPECT_EQ(pixels.pixel(100, 100), 0xFF102030u);
  // A paint that draws nothing, without erase: the last pixels are still there.
  fill.reset();
  InvalidateRect(window.hwnd(), nullptr, FALSE);
  pixels = korvanth::platform::ClientPixels(window.hwnd());
  EXPECT_EQ(paintCount(), 2);
  EXPECT_TRUE(window.only(WM_ERASEBKGND).empty());
  EXPECT_EQ(pixels.pixel(100, 100), 0xFF102030u);
  // With erase: the grey class brush shows.
  InvalidateRect(window.hwnd(), nullptr, TRUE);
  pixels = korvanth::platform::ClientPixels(window.hwnd());
  EXPECT_EQ(paintCount(), 3);
  EXPECT_EQ(window.only(WM_ERASEBKGND).size(), 1u);
  EXPECT_EQ(pixels.pixel(100, 100), kGrey);
  ASSERT_EQ(painted.size(), 3u);
  EXPECT_FALSE(painted[2].fErase);  // erased by default processing
  EXPECT_NE(painted[2].hdc, nullptr);
}

TEST_F(Painting, NoPaintWithoutInvalidation) {
  korvanth::platform::ClientPixels(window.hwnd());
  korvanth::platform::ClientPixels(window.hwnd());
  EXPECT_EQ(paintCount(), 0);
}

TEST_F(Painting, InvalidationsMergeIntoOnePaintWithTheirBounds) {
  const RECT a{10, 20, 30, 40};
  const RECT b{50, 5, 60, 25};
  InvalidateRect(window.hwnd(), &a, FALSE);
  InvalidateRect(window.hwnd(), &b, FALSE);
  korvanth::platform::ClientPixels(window.hwnd());
  ASSERT_EQ(painted.size(), 1u);
  EXPECT_EQ(painted[0].rcPaint.left, 10);
  EXPECT_EQ(painted[0].rcPaint.top, 5);
  EXPECT_EQ(painted[0].rcPaint.right, 60);
  EXPECT_EQ(painted[0].rcPaint.bottom, 40);
}

TEST_F(Painting, TheEraseAnswerOfTheProcedureDecidesFErase) {
  fill = 0xFF00FF00;
  InvalidateRect(window.hwnd(), nullptr, FALSE);
  korvanth::platform::ClientPixels(window.hwnd());
  fill.reset();
  // Handled without erasing (0): the paint is told to erase.
  eraseAnswer = 0;
  InvalidateRect(window.hwnd(), nullptr, TRUE);
  QImage pixels = korvanth::platform::ClientPixels(window.hwnd());
  ASSERT_EQ(painted.size(), 2u);
  EXPECT_TRUE(painted[1].fErase);
  EXPECT_EQ(pixels.pixel(3, 3), 0xFF00FF00u);
  // Erased by the procedure itself (non-zero): nothing more to erase.
  eraseAnswer = 1;
  InvalidateRect(window.hwnd(), nullptr, TRUE);
  pixels = korvanth::platform::ClientPixels(window.hwnd());
  ASSERT_EQ(painted.size(), 3u);
  EXPECT_FALSE(painted[2].fErase);
  EXPECT_EQ(pixels.pixel(3, 3), 0xFF00FF00u);
}

TEST_F(Painting, UpdateWindowPaintsNow) {
  InvalidateRect(window.hwnd(), nullptr, FALSE);
  EXPECT_EQ(paintCount(), 0);
  EXPECT_TRUE(UpdateWindow(window.hwnd()));
  EXPECT_EQ(paintCount(), 1);
  EXPECT_TRUE(UpdateWindow(window.hwnd()));
  EXPECT_EQ(paintCount(), 1);
}

TEST_F(Painting, TheWidgetShowsTheBackBuffer) {
  fill = 0xFF336699;
  InvalidateRect(window.hwnd(), nullptr, FALSE);
  const QImage shown = window.client()->grab().toImage();
  ASSERT_EQ(shown.size(), QSize(513, 513));
  EXPECT_EQ(shown.pixel(200, 300), 0xFF336699u);
  EXPECT_EQ(paintCount(), 1);
}

TEST_F(Painting, ScrollWindowExMovesThePixelsAndPaintsNothing) {
  pattern = true;
  InvalidateRect(window.hwnd(), nullptr, FALSE);
  const QImage before = korvanth::platform::ClientPixels(window.hwnd());
  pattern = false;
  ASSERT_EQ(paintCount(), 1);
  EXPECT_EQ(ScrollWindowEx(window.hwnd(), 0, 40, nullptr, nullptr, nullptr, nullptr, 0),
            SIMPLEREGION);
  QImage after = korvanth::platform::ClientPixels(window.hwnd());
  EXPECT_EQ(paintCount(), 1);
  for (int y = 40; y < 513; y += 37)
    for (int x = 0; x < 513; x += 41) ASSERT_EQ(after.pixel(x, y), before.pixel(x, y - 40));
  // The uncovered strip keeps what it had.
  EXPECT_EQ(after.pixel(5, 5), before.pixel(5, 5));

  const QImage moved = after;
  RECT uncovered{};
  ScrollWindowEx(window.hwnd(), -25, -10, nullptr, nullptr, nullptr, &uncovered, 0);
  after = korvanth::platform::ClientPixels(window.hwnd());
  EXPECT_EQ(paintCount(), 1);
  for (int y = 0; y < 503; y += 29)
    for (int x = 0; x < 488; x += 31) ASSERT_EQ(after.pixel(x, y), moved.pixel(x + 25, y + 10));
  EXPECT_EQ(uncovered.left, 0);
  EXPECT_EQ(uncovered.top, 0);
  EXPECT_EQ(uncovered.right, 513);
  EXPECT_EQ(uncovered.bottom, 513);

  // A shift of nothing changes nothing.
  EXPECT_EQ(ScrollWindowEx(window.hwnd(), 0, 0, nullptr, nullptr, nullptr, nullptr, 0), NULLREGION);
  EXPECT_EQ(korvanth::platform::ClientPixels(window.hwnd()), after);
  // A shift larger than the window moves everything out and nothing in.
  ScrollWindowEx(window.hwnd(), 5000, -5000, nullptr, nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(korvanth::platform::ClientPixels(window.hwnd()), after);
}

TEST_F(Painting, ScrollWindowExCanInvalidateWhatItUncovered) {
  ScrollWindowEx(window.hwnd(), 0, 30, nullptr, nullptr, nullptr, nullptr,
                 SW_INVALIDATE | SW_ERASE);
  korvanth::platform::ClientPixels(window.hwnd());
  ASSERT_EQ(painted.size(), 1u);
  EXPECT_EQ(painted[0].rcPaint.top, 0);
  EXPECT_EQ(painted[0].rcPaint.bottom, 30);
  EXPECT_EQ(window.only(WM_ERASEBKGND).size(), 1u);
}

TEST_F(Painting, SetRedrawSuspendsAndResumesPainting) {
  SendMessageA(window.hwnd(), WM_SETREDRAW, FALSE, 0);
  EXPECT_FALSE(window.client()->updatesEnabled());
  InvalidateRect(window.hwnd(), nullptr, FALSE);
  korvanth::platform::ClientPixels(window.hwnd());
  UpdateWindow(window.hwnd());
  EXPECT_EQ(paintCount(), 0);
  SendMessageA(window.hwnd(), WM_SETREDRAW, TRUE, 0);
  EXPECT_TRUE(window.client()->updatesEnabled());
  korvanth::platform::ClientPixels(window.hwnd());
  EXPECT_EQ(paintCount(), 1);
}

TEST_F(Painting, GrowingTheWindowErasesAndPaintsTheNewArea) {
  fill = 0xFF112233;
  InvalidateRect(window.hwnd(), nullptr, FALSE);
  korvanth::platform::ClientPixels(window.hwnd());
  fill.reset();
  window.clear();
  window.frame()->resize(window.frame()->width() + 40, window.frame()->height());
  const QImage pixels = korvanth::platform::ClientPixels(window.hwnd());
  ASSERT_EQ(pixels.width(), 553);
  EXPECT_EQ(window.only(WM_ERASEBKGND).size(), 1u);
  EXPECT_EQ(pixels.pixel(540, 10), kGrey);

  // Shrinking keeps the pixels and asks for no paint.
  fill = 0xFF445566;
  InvalidateRect(window.hwnd(), nullptr, FALSE);
  korvanth::platform::ClientPixels(window.hwnd());
  fill.reset();
  window.clear();
  window.frame()->resize(window.frame()->width() - 100, window.frame()->height() - 100);
  const QImage smaller = korvanth::platform::ClientPixels(window.hwnd());
  EXPECT_EQ(smaller.size(), QSize(453, 413));
  EXPECT_TRUE(window.only(WM_PAINT).empty());
  EXPECT_EQ(smaller.pixel(452, 412), 0xFF445566u);
}

TEST_F(Painting, BeginPaintRefusesBadArguments) {
  EXPECT_EQ(BeginPaint(window.hwnd(), nullptr), nullptr);
  PAINTSTRUCT paint{};
  EXPECT_EQ(BeginPaint(nullptr, &paint), nullptr);
  EXPECT_FALSE(InvalidateRect(nullptr, nullptr, TRUE));
  EXPECT_EQ(ScrollWindowEx(nullptr, 1, 1, nullptr, nullptr, nullptr, nullptr, 0), 0);
}

}  // namespace

namespace {

TEST(PaintWithoutBeginPaint, IsValidatedAndDoesNotRepeat) {
  int paints = 0;
  TestWindow::PrepareHandler([&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message != WM_PAINT) return std::nullopt;
    ++paints;  // answers without BeginPaint/EndPaint
    return 0;
  });
  TestWindow window;
  korvanth::platform::ClientPixels(window.hwnd());
  QCoreApplication::processEvents();
  korvanth::platform::ClientPixels(window.hwnd());
  EXPECT_EQ(paints, 1);
  // The erase it never asked for does not come later either.
  EXPECT_TRUE(window.only(WM_ERASEBKGND).empty());
}

TEST(PaintWithoutBeginPaint, AnInvalidationDuringThePaintBringsTheNextOne) {
  int paints = 0;
  TestWindow::PrepareHandler(
      [&](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_PAINT) return std::nullopt;
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        if (++paints == 1) InvalidateRect(hwnd, nullptr, FALSE);
        EndPaint(hwnd, &paint);
        return 0;
      });
  TestWindow window;
  korvanth::platform::ClientPixels(window.hwnd());
  EXPECT_EQ(paints, 1);
  korvanth::platform::ClientPixels(window.hwnd());
  EXPECT_EQ(paints, 2);
  korvanth::platform::ClientPixels(window.hwnd());
  EXPECT_EQ(paints, 2);
}

}  // namespace
