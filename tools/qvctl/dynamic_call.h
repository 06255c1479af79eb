#pragma once
// Calling an export found by name with arguments known only at run time.
// Every export takes 32-bit numbers and pointers; the call is made through a
// function pointer of exactly that shape, so the platform's calling
// convention places each argument as a compiled call would.

#include <cstddef>
#include <cstdint>
#include <span>

namespace qvctl {

inline constexpr std::size_t kMaxCallArgs = 8;

struct CallArg {
    bool isPointer = false;
    std::int32_t number = 0;
    void* pointer = nullptr;
};

// Calls function with args (at most kMaxCallArgs) and returns its 32-bit result.
std::int32_t callForNumber(void* function, std::span<const CallArg> args);
// Calls function with args and returns the address it gives back.
const void* callForPointer(void* function, std::span<const CallArg> args);

} // namespace qvctl
