#pragma once

#include <string_view>

namespace tolvaris {

// Whether the bytes are well-formed UTF-8: no stray continuation bytes, no
// overlong forms, no UTF-16 surrogates, nothing past U+10FFFF.
bool IsValidUtf8(std::string_view text);

}  // namespace tolvaris
