#pragma once
// Callers pass their texts as Big5 bytes (code page 950); the renderer works
// on Unicode characters.

#include <string>
#include <string_view>

namespace qv {

// Decodes Big5 (code page 950) bytes. A byte that starts no valid character,
// and a lead byte cut off by the end of the text, each give one '?', and
// decoding goes on with the next byte.
std::u32string decodeBig5(std::string_view bytes);

} // namespace qv
