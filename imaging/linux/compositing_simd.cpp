// SSSE3/SSE2 chunks of the paint path's pixel packing and blending, used when the CPU has them.
#include "imaging/linux/compositing_simd.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define KORVANTH_SSSE3 1
#endif

namespace korvanth::imaging {

#ifdef KORVANTH_SSSE3

namespace {

bool HasSsse3() {
  static const bool supported = __builtin_cpu_supports("ssse3");
  return supported;
}

// Three registers of packed B,G,R bytes from four registers of 32-bit values; `pick`
// chooses the three bytes taken from each pixel.
struct Packed {
  __m128i lo, mid, hi;
};

__attribute__((target("ssse3"))) inline Packed Pack16(__m128i a, __m128i b, __m128i c, __m128i d,
                                                      __m128i pick) {
  const __m128i pa = _mm_shuffle_epi8(a, pick);
  const __m128i pb = _mm_shuffle_epi8(b, pick);
  const __m128i pc = _mm_shuffle_epi8(c, pick);
  const __m128i pd = _mm_shuffle_epi8(d, pick);
  return Packed{_mm_or_si128(pa, _mm_slli_si128(pb, 12)),
                _mm_or_si128(_mm_srli_si128(pb, 4), _mm_slli_si128(pc, 8)),
                _mm_or_si128(_mm_srli_si128(pc, 8), _mm_slli_si128(pd, 4))};
}

// (s*a + d*(255-a) + 127) / 255 on eight 16-bit lanes; the division is exact as
// (x + 1 + (x >> 8)) >> 8 for every x up to 65534, and x stays below 65153.
__attribute__((target("ssse3"))) inline __m128i Mix8(__m128i s, __m128i d, __m128i a) {
  const __m128i full = _mm_set1_epi16(255);
  const __m128i x = _mm_add_epi16(
      _mm_add_epi16(_mm_mullo_epi16(s, a), _mm_mullo_epi16(d, _mm_sub_epi16(full, a))),
      _mm_set1_epi16(127));
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)),
                        8);
}

// Source-over of 16 packed source pixels onto 48 destination bytes. Alpha 0 and 255 come
// out of the same formula as the source or destination value exactly.
__attribute__((target("ssse3"))) inline void Blend48(std::uint8_t* dst, const Packed& src,
                                                     const Packed& alpha) {
  const __m128i zero = _mm_setzero_si128();
  auto one = [&](std::uint8_t* at, __m128i s, __m128i a) {
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i lo =
        Mix8(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(a, zero));
    const __m128i hi =
        Mix8(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(a, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_packus_epi16(lo, hi));
  };
  one(dst, src.lo, alpha.lo);
  one(dst + 16, src.mid, alpha.mid);
  one(dst + 32, src.hi, alpha.hi);
}

__attribute__((target("ssse3"))) inline void Store48(std::uint8_t* dst, const Packed& p) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), p.lo);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16), p.mid);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 32), p.hi);
}

__attribute__((target("ssse3"))) std::int64_t PackSsse3(std::uint8_t* dst, const std::uint8_t* src,
                                                        std::int64_t count, bool blend) {
  const __m128i colour = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  const __m128i spreadAlpha =
      _mm_setr_epi8(3, 3, 3, 7, 7, 7, 11, 11, 11, 15, 15, 15, -1, -1, -1, -1);
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  std::int64_t done = 0;
  for (; done + 16 <= count; done += 16, src += 64, dst += 48) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 32));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 48));
    const Packed packed = Pack16(a, b, c, d, colour);
    const __m128i all = _mm_and_si128(_mm_and_si128(a, b), _mm_and_si128(c, d));
    if (!blend || _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(all, alpha), alpha)) == 0xFFFF)
      Store48(dst, packed);
    else
      Blend48(dst, packed, Pack16(a, b, c, d, spreadAlpha));
  }
  return done;
}

__attribute__((target("ssse3"))) std::int64_t UnpackSsse3(std::uint8_t* dst,
                                                          const std::uint8_t* src,
                                                          std::int64_t count) {
  const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  std::int64_t done = 0;
  for (; done + 16 <= count; done += 16, src += 48, dst += 64) {
    const __m128i w0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i w1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16));
    const __m128i w2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 32));
    const __m128i p0 = _mm_shuffle_epi8(w0, spread);
    const __m128i p1 = _mm_shuffle_epi8(_mm_alignr_epi8(w1, w0, 12), spread);
    const __m128i p2 = _mm_shuffle_epi8(_mm_alignr_epi8(w2, w1, 8), spread);
    const __m128i p3 = _mm_shuffle_epi8(_mm_srli_si128(w2, 4), spread);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_or_si128(p0, alpha));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16), _mm_or_si128(p1, alpha));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 32), _mm_or_si128(p2, alpha));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 48), _mm_or_si128(p3, alpha));
  }
  return done;
}

__attribute__((target("sse2"))) std::int64_t SelectSse2(std::uint8_t* dst, const std::uint8_t* src,
                                                        std::int64_t count) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi32(255);
  std::int64_t done = 0;
  for (; done + 4 <= count; done += 4, src += 16, dst += 16) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
    const __m128i sa = _mm_srli_epi32(s, 24);
    const __m128i sourceClear = _mm_cmpeq_epi32(sa, zero);
    const __m128i sourceOpaque = _mm_cmpeq_epi32(sa, full);
    const __m128i destClear = _mm_cmpeq_epi32(_mm_srli_epi32(d, 24), zero);
    const __m128i plain = _mm_or_si128(_mm_or_si128(sourceClear, sourceOpaque), destClear);
    if (_mm_movemask_epi8(plain) != 0xFFFF) break;
    const __m128i out =
        _mm_or_si128(_mm_andnot_si128(sourceClear, s), _mm_and_si128(sourceClear, d));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), out);
  }
  return done;
}

bool HasSse2() {
#ifdef __SSE2__
  return true;  // part of the target (every x86-64)
#else
  static const bool supported = __builtin_cpu_supports("sse2");
  return supported;
#endif
}

}  // namespace

std::int64_t SelectChunks(std::uint8_t* dst, const std::uint8_t* src, std::int64_t count) {
  return HasSse2() ? SelectSse2(dst, src, count) : 0;
}

std::int64_t PackChunks(std::uint8_t* dst, const std::uint8_t* src, std::int64_t count,
                        bool blend) {
  return HasSsse3() ? PackSsse3(dst, src, count, blend) : 0;
}

std::int64_t UnpackChunks(std::uint8_t* dst, const std::uint8_t* src, std::int64_t count) {
  return HasSsse3() ? UnpackSsse3(dst, src, count) : 0;
}

#else

std::int64_t PackChunks(std::uint8_t*, const std::uint8_t*, std::int64_t, bool) { return 0; }
std::int64_t UnpackChunks(std::uint8_t*, const std::uint8_t*, std::int64_t) { return 0; }
std::int64_t SelectChunks(std::uint8_t*, const std::uint8_t*, std::int64_t) { return 0; }

#endif

}  // namespace korvanth::imaging
