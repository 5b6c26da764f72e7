// Byte searches for the line work on large files: 16 bytes at a time where the processor has SSE2
// (every x86-64 one), and never reading outside the text.
#pragma once

#include <bit>
#include <cstddef>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define BU_HAVE_SSE2 1
#endif

namespace platform {

// The first CR or LF in [from, to), or `to`: one pass for both, so that the search costs the same
// whichever line end the file uses.
inline const char* FindCrOrLf(const char* from, const char* to) noexcept {
#ifdef BU_HAVE_SSE2
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; to - from >= 16; from += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const int hits =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
    if (hits != 0) return from + std::countr_zero(static_cast<unsigned>(hits));
  }
#endif
  for (; from != to; ++from) {
    if (*from == '\r' || *from == '\n') return from;
  }
  return to;
}

// Whether the text holds the byte `a` (bit 0 of the result) and whether it holds `b` (bit 1), in
// one pass that does not branch until the end.
inline unsigned WhichBytesOccur(std::string_view text, char a, char b) noexcept {
  const char* const data = text.data();
  const std::size_t size = text.size();
#ifdef BU_HAVE_SSE2
  if (size >= 16) {
    const __m128i wantA = _mm_set1_epi8(a);
    const __m128i wantB = _mm_set1_epi8(b);
    __m128i seenA = _mm_setzero_si128();
    __m128i seenB = _mm_setzero_si128();
    const auto scan = [&](std::size_t at) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
      seenA = _mm_or_si128(seenA, _mm_cmpeq_epi8(bytes, wantA));
      seenB = _mm_or_si128(seenB, _mm_cmpeq_epi8(bytes, wantB));
    };
    std::size_t at = 0;
    for (; size - at >= 16; at += 16) scan(at);
    // The rest as one more block that overlaps the one before: seeing a byte twice is harmless.
    if (at != size) scan(size - 16);
    return (_mm_movemask_epi8(seenA) != 0 ? 1u : 0u) | (_mm_movemask_epi8(seenB) != 0 ? 2u : 0u);
  }
#endif
  unsigned found = 0;
  for (std::size_t i = 0; i < size; ++i) {
    found |= (data[i] == a ? 1u : 0u) | (data[i] == b ? 2u : 0u);
  }
  return found;
}

}  // namespace platform
