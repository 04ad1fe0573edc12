// Vector versions of the conversions on the viewer's per-paint path (32-bit pixels onto
// 24-bit frame rows, and the frame back to 32 bits). Each handles whole 16-pixel chunks and reports
// how many pixels it did; 0 where the processor lacks the instructions, so callers always finish
// with their portable loops.
#pragma once

#include <cstdint>

namespace korvanth::imaging {

// Packs 16-pixel chunks of 32-bit pixels into B,G,R bytes. With blend the source's alpha
// counts: each chunk is composited source-over onto the opaque destination bytes,
// (s*a + d*(255-a) + 127) / 255 per channel, exactly as the portable loop does.
std::int64_t PackChunks(std::uint8_t* dst, const std::uint8_t* src, std::int64_t count, bool blend);

// Unpacks B,G,R bytes into opaque 32-bit pixels, 16 at a time.
std::int64_t UnpackChunks(std::uint8_t* dst, const std::uint8_t* src, std::int64_t count);

// Source-over of 32-bit ARGB pixels onto 32-bit ARGB pixels, 4 at a time, for as long as
// no pixel needs arithmetic: a fully transparent source pixel keeps the destination, an
// opaque one or one landing on a fully transparent destination pixel replaces it (the
// portable loop's results exactly). Stops before the first chunk that would need blending.
std::int64_t SelectChunks(std::uint8_t* dst, const std::uint8_t* src, std::int64_t count);

}  // namespace korvanth::imaging
