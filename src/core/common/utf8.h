#pragma once

#include <cstddef>
#include <string_view>

namespace tolvaris {

// Returned by NextCodePoint for bytes that are not well-formed UTF-8.
inline constexpr char32_t kInvalidCodePoint = 0xFFFFFFFF;

// The code point of `text` that starts at `pos`, advancing `pos` past it. An
// invalid or truncated sequence (a stray continuation byte, an overlong form,
// a UTF-16 surrogate, anything past U+10FFFF) gives kInvalidCodePoint and
// skips one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

// Whether the bytes are well-formed UTF-8 throughout.
bool IsValidUtf8(std::string_view text);

}  // namespace tolvaris
