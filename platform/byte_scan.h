// Byte searches for the line work on large files: 16 bytes at a time where the processor has SSE2
// (every x86-64 one), branch-free until the end, and never reading outside the text.
#pragma once

#include <cstddef>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define BU_BYTE_SCAN_SSE2 1
#endif

namespace platform {

// Whether the text holds the byte `a` (bit 0 of the result) and whether it holds `b` (bit 1).
inline unsigned WhichBytesOccur(std::string_view text, char a, char b) noexcept {
  const char* const data = text.data();
  const std::size_t size = text.size();
#ifdef BU_BYTE_SCAN_SSE2
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
