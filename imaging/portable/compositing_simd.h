// Vector versions of the two conversions on the viewer's per-paint path (32-bit pixels
// to 24-bit frame rows and back). Each handles whole 16-pixel chunks and reports how
// many pixels it did; 0 where the processor lacks the instructions, so callers always
// finish with their portable loops.
#pragma once

#include <cstdint>

namespace korvanth::imaging {

// Packs leading 16-pixel chunks of 32-bit pixels into B,G,R bytes. With requireOpaque the
// alpha counts: opaque pixels are written, fully transparent ones leave the destination
// alone, and it stops at the first chunk holding a translucent pixel.
std::int64_t PackChunks(std::uint8_t* dst, const std::uint8_t* src, std::int64_t count,
                        bool requireOpaque);

// Unpacks B,G,R bytes into opaque 32-bit pixels, 16 at a time.
std::int64_t UnpackChunks(std::uint8_t* dst, const std::uint8_t* src, std::int64_t count);

}  // namespace korvanth::imaging
