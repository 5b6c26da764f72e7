#include "platform/eight_bit_text.h"

#include <cstdint>

#include "platform/byte_scan.h"

namespace platform {

void WidenEightBit(const char* in, std::size_t count, wchar_t* out) noexcept {
  std::size_t i = 0;
#ifdef BU_HAVE_SSE2
  const auto widen16 = [](const char* from, wchar_t* to) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i low = _mm_unpacklo_epi8(bytes, zero);
    const __m128i high = _mm_unpackhi_epi8(bytes, zero);
    auto* vectors = reinterpret_cast<__m128i*>(to);
    if constexpr (sizeof(wchar_t) == 2) {
      _mm_storeu_si128(vectors, low);
      _mm_storeu_si128(vectors + 1, high);
    } else {
      _mm_storeu_si128(vectors, _mm_unpacklo_epi16(low, zero));
      _mm_storeu_si128(vectors + 1, _mm_unpackhi_epi16(low, zero));
      _mm_storeu_si128(vectors + 2, _mm_unpacklo_epi16(high, zero));
      _mm_storeu_si128(vectors + 3, _mm_unpackhi_epi16(high, zero));
    }
  };
  if (count >= 16) {
    for (; count - i >= 16; i += 16) widen16(in + i, out + i);
    // The last few characters as one more block that overlaps the one before: the same bytes
    // give the same characters, so the overlap is harmless and the scalar tail is avoided.
    if (i != count) widen16(in + count - 16, out + count - 16);
    return;
  }
#endif
  for (; i < count; ++i) out[i] = static_cast<wchar_t>(static_cast<unsigned char>(in[i]));
}

bool NarrowEightBit(const wchar_t* in, std::size_t count, char* out) noexcept {
  std::size_t i = 0;
  std::uint32_t bits = 0;
#ifdef BU_HAVE_SSE2
  const auto narrow16 = [](const wchar_t* in16, char* out16, __m128i& seen) {
    const auto* from = reinterpret_cast<const __m128i*>(in16);
    __m128i packed;
    if constexpr (sizeof(wchar_t) == 2) {
      const __m128i a = _mm_loadu_si128(from);
      const __m128i b = _mm_loadu_si128(from + 1);
      seen = _mm_or_si128(seen, _mm_or_si128(a, b));
      packed = _mm_packus_epi16(a, b);  // exact for 0 to 0xFF; anything else is refused below
    } else {
      const __m128i a = _mm_loadu_si128(from);
      const __m128i b = _mm_loadu_si128(from + 1);
      const __m128i c = _mm_loadu_si128(from + 2);
      const __m128i d = _mm_loadu_si128(from + 3);
      seen = _mm_or_si128(seen, _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d)));
      packed = _mm_packus_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out16), packed);
  };
  if (count >= 16) {
    __m128i seen = _mm_setzero_si128();
    for (; count - i >= 16; i += 16) narrow16(in + i, out + i, seen);
    // The tail as one more block overlapping the one before (see WidenEightBit).
    if (i != count) narrow16(in + count - 16, out + count - 16, seen);
    const __m128i lowByte = sizeof(wchar_t) == 2 ? _mm_set1_epi16(0xFF) : _mm_set1_epi32(0xFF);
    const __m128i above = _mm_andnot_si128(lowByte, seen);
    return _mm_movemask_epi8(_mm_cmpeq_epi8(above, _mm_setzero_si128())) == 0xFFFF;
  }
#endif
  for (; i < count; ++i) {
    bits |= static_cast<std::uint32_t>(in[i]);
    out[i] = static_cast<char>(in[i]);
  }
  return bits <= 0xFF;
}

bool FitsEightBits(std::wstring_view text) noexcept {
  std::uint32_t bits = 0;
  for (const wchar_t c : text) bits |= static_cast<std::uint32_t>(c);
  return bits <= 0xFF;
}

}  // namespace platform
