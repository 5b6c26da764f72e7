// 8-bit text maps each byte to the character of the same value (U+0000 to U+00FF) and back. The
// conversions run 16 characters at a time where the processor has SSE2, since whole files pass
// through them.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// Byte N of `in` becomes character U+00NN of `out`; both hold `count` elements.
void WidenEightBit(const char* in, std::size_t count, wchar_t* out) noexcept;

// Writes the low byte of each character to `out` and tells whether every character fitted in 8
// bits. The bytes are scratch until the caller commits them, so a refused text leaves nothing.
bool NarrowEightBit(const wchar_t* in, std::size_t count, char* out) noexcept;

bool FitsEightBits(std::wstring_view text) noexcept;

}  // namespace platform
