#pragma once
// The exports of libqv.so that qvctl knows by signature: how each argument
// is given on the command line and what the result is.

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace qvctl {

enum class ResultKind {
    Integer,      // a 32-bit result
    StatusBuffer, // the address of the library's 16-byte status buffer
    Text,         // the address of a NUL-terminated text
};

// Parameter letters, one per parameter of the export, in order:
//   i  a number
//   t  a text (NUL-terminated)
//   d  bytes (a text, or hex bytes); a number right after it is their count,
//      which may not exceed the bytes given
//   p  a character pattern of kPatternSize bytes (given like d; a shorter
//      one is made up with zero bytes, a longer one is refused)
//   f  a file name
//   b  a 16-byte buffer the export fills (nothing given)
//   r  a buffer the export reads into; its size is the number after it
//   s  a text of blanks the export reads into; the count of blanks is given
//   v  a version record the export fills (nothing given)
struct ExportInfo {
    std::string_view name;
    std::string_view params;
    std::string_view paramNames; // the arguments a caller gives, by name
    ResultKind result = ResultKind::Integer;
    bool showsStatus = false; // the export writes the status buffer
};

// The bytes of a downloaded display character.
inline constexpr std::size_t kPatternSize = 5;

std::span<const ExportInfo> knownExports();
std::optional<ExportInfo> findExport(std::string_view name);

// The known exports whose names are nearest to name (fewest single-letter
// edits, letter case ignored), nearest first; at most count, none that
// differ in more than about half their letters.
std::vector<std::string_view> closestExports(std::string_view name, std::size_t count = 3);

// The letters a caller gives arguments for (b, r and v are made by qvctl).
constexpr bool isGivenParam(char letter) {
    return letter != 'b' && letter != 'r' && letter != 'v';
}

// Parameters that are pointers at the call, not numbers.
constexpr bool isPointerParam(char letter) {
    return letter != 'i';
}

} // namespace qvctl
