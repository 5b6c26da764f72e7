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

// Just past the last LF in [from, end), or `from` if there is none.
inline const char* FindLastLf(const char* from, const char* end) noexcept {
#ifdef BU_HAVE_SSE2
  const __m128i lf = _mm_set1_epi8('\n');
  for (; end - from >= 16; end -= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16));
    const auto lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)));
    if (lfs != 0) return end - 16 + std::bit_width(lfs);
  }
#endif
  for (; end != from; --end) {
    if (end[-1] == '\n') return end;
  }
  return from;
}

// A run of whole lines at the start of a text, each ending in CR LF and holding neither of two
// bytes, as FindLineRun finds it.
struct LineRunBounds {
  const char* end;   // just past the run's last LF; the text's start when there is no run
  const char* stop;  // the first byte that no run can take in: see FindLineRun
};

// The run of lines at `from`, each ending in CR LF and holding neither `a` nor `b` (two bytes other
// than CR and LF). It stops at the first `a` or `b`, LF after no CR, or byte other than LF after a
// CR, or at `to`; it ends after the last LF before that stop, so it holds whole lines only, and a
// CR just before the stop whose LF is missing is left out. One pass finds the line ends and both
// bytes together, since a file's bulk is made of such lines.
inline LineRunBounds FindLineRun(const char* from, const char* to, char a, char b) noexcept {
  const char* at = from;
  bool afterCr = false;
#ifdef BU_HAVE_SSE2
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i wantA = _mm_set1_epi8(a);
  const __m128i wantB = _mm_set1_epi8(b);
  // The bytes that stop the run, as a vector: an LF must stand exactly one byte after each CR
  // (`crBefore` holds the CRs of the 16 bytes before), and neither `a` nor `b` may appear.
  const auto stoppers = [&](__m128i bytes, __m128i crs, __m128i crBefore) {
    const __m128i lfWanted = _mm_or_si128(_mm_slli_si128(crs, 1), _mm_srli_si128(crBefore, 15));
    const __m128i misplaced = _mm_xor_si128(_mm_cmpeq_epi8(bytes, lf), lfWanted);
    return _mm_or_si128(misplaced,
                        _mm_or_si128(_mm_cmpeq_epi8(bytes, wantA), _mm_cmpeq_epi8(bytes, wantB)));
  };
  __m128i crBefore = _mm_setzero_si128();
  // 64 bytes a round, with one test for the whole round: most rounds hold no stopper at all.
  for (; to - at >= 64; at += 64) {
    __m128i found = _mm_setzero_si128();
    __m128i crs = crBefore;
    for (int part = 0; part < 4; ++part) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * part));
      const __m128i partCrs = _mm_cmpeq_epi8(bytes, cr);
      found = _mm_or_si128(found, stoppers(bytes, partCrs, crs));
      crs = partCrs;
    }
    if (_mm_movemask_epi8(found) != 0) break;
    crBefore = crs;
  }
  // Then 16 bytes at a time, to find the stopper's place and the last LF before it: in the same
  // 16 bytes, or else in the clean bytes before them.
  for (; to - at >= 16; at += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i crs = _mm_cmpeq_epi8(bytes, cr);
    const auto found = static_cast<unsigned>(_mm_movemask_epi8(stoppers(bytes, crs, crBefore)));
    if (found != 0) {
      const int offset = std::countr_zero(found);
      const unsigned lfsBefore =
          static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf))) &
          ((1u << offset) - 1);
      return {lfsBefore != 0 ? at + std::bit_width(lfsBefore) : FindLastLf(from, at), at + offset};
    }
    crBefore = crs;
  }
  afterCr = (_mm_movemask_epi8(crBefore) & 0x8000) != 0;
#endif
  const char* const tail = at;
  const char* lastLfEnd = nullptr;
  for (; at != to; ++at) {
    const char c = *at;
    if (afterCr != (c == '\n') || c == a || c == b) break;
    if (c == '\n') lastLfEnd = at + 1;
    afterCr = c == '\r';
  }
  return {lastLfEnd != nullptr ? lastLfEnd : FindLastLf(from, tail), at};
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
