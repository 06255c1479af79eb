#pragma once
// The calls given on qvctl's command line, checked before any of them runs.

#include "export_table.h"

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace qvctl {

// A command line that cannot be run; the text says why.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct PlannedCall {
    std::string name;
    std::string params; // parameter letters
    std::string paramNames;
    ResultKind result = ResultKind::Integer;
    bool showsStatus = false;
    std::vector<std::string> arguments; // as given
};

inline constexpr const char* kCallSeparator = "+";
// The largest buffer qvctl makes for a reading export.
inline constexpr std::int32_t kMaxReadSize = 1 << 20;

// Splits words into calls at each "+" and checks every call's arguments
// against its export's parameters. Throws UsageError.
std::vector<PlannedCall> planCalls(std::span<const std::string> words);

} // namespace qvctl
