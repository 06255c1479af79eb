#include "dynamic_call.h"

#include <cstring>
#include <stdexcept>

namespace qvctl {

namespace {

// Builds the argument list one argument at a time, each as int32_t or void*,
// and calls through a pointer of the resulting function type.
template <class R, class... Done>
R invoke(void* function, std::span<const CallArg> rest, Done... done) {
    if (rest.empty()) {
        using Function = R (*)(Done...);
        static_assert(sizeof(Function) == sizeof(void*));
        Function f = nullptr;
        std::memcpy(&f, &function, sizeof f); // a symbol's address as a function pointer
        return f(done...);
    }
    if constexpr (sizeof...(Done) < kMaxCallArgs) {
        const CallArg& a = rest.front();
        if (a.isPointer)
            return invoke<R>(function, rest.subspan(1), done..., a.pointer);
        return invoke<R>(function, rest.subspan(1), done..., a.number);
    } else {
        throw std::length_error("too many arguments");
    }
}

} // namespace

std::int32_t callForNumber(void* function, std::span<const CallArg> args) {
    return invoke<std::int32_t>(function, args);
}

const void* callForPointer(void* function, std::span<const CallArg> args) {
    return invoke<const void*>(function, args);
}

} // namespace qvctl
