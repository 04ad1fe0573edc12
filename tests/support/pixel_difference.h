// Comparing pictures pixel by pixel (as 0xAARRGGBB).
#pragma once

#include <QImage>

#include <cstdio>
#include <string>

// A readable description of the first difference, empty when the pictures are equal.
inline std::string FirstDifference(const QImage& expected, const QImage& actual) {
  if (expected.size() != actual.size()) {
    return "size " + std::to_string(actual.width()) + "x" + std::to_string(actual.height()) +
           " instead of " + std::to_string(expected.width()) + "x" +
           std::to_string(expected.height());
  }
  for (int y = 0; y < expected.height(); ++y)
    for (int x = 0; x < expected.width(); ++x)
      if (expected.pixel(x, y) != actual.pixel(x, y)) {
        char text[96];
        std::snprintf(text, sizeof text, "at (%d, %d): expected %08x, got %08x", x, y,
                      expected.pixel(x, y), actual.pixel(x, y));
        return text;
      }
  return {};
}
