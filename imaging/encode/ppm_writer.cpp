#include <string>

#include "imaging/encode/writers.h"

namespace korvanth::encode {

// Binary PPM: "P6 W H 255" then R,G,B for every pixel; alpha is dropped.
bool WritePpm(const PixelRows& rows, std::vector<std::uint8_t>& out) {
  const std::string header =
      "P6\n" + std::to_string(rows.width) + " " + std::to_string(rows.height) + "\n255\n";
  out.assign(header.begin(), header.end());
  for (int y = 0; y < rows.height; ++y)
    for (int x = 0; x < rows.width; ++x) {
      const std::uint32_t argb = rows.Argb(x, y);
      out.insert(out.end(), {std::uint8_t(argb >> 16), std::uint8_t(argb >> 8), std::uint8_t(argb)});
    }
  return true;
}

}  // namespace korvanth::encode
