#pragma once
// Calls into qv.dll the way a point-of-sale program makes them: the DLL is
// loaded with LoadLibraryA and each export found with GetProcAddress under its
// undecorated name. On 32-bit Windows each export is called with the argument
// words its qv.h declaration gives, pushed right to left, and every call
// checks that the stack is left as the export's calling convention says: a
// stdcall export removes its own arguments, jWait (cdecl) leaves them to the
// caller. A DLL built with the wrong convention fails the test that made the
// call. 64-bit Windows has one calling convention: the export is called
// through its declared function type.

#include "qv.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <gtest/gtest.h>
#include <type_traits>

namespace qv::test {

// What a call through the export's declared type must look like.
struct CallShape {
    std::size_t words = 0;     // argument words
    bool callerCleans = false; // cdecl: the caller removes the arguments
};

#if defined(__i386__)
template <class R, class... A> constexpr CallShape shapeOf(R(QV_CALL*)(A...) noexcept) {
    return {sizeof...(A), false};
}

template <class R, class... A> constexpr CallShape shapeOf(R(QV_CDECL*)(A...) noexcept) {
    return {sizeof...(A), true};
}
#else
template <class R, class... A> constexpr CallShape shapeOf(R (*)(A...) noexcept) {
    return {sizeof...(A), false};
}
#endif

// The address of an export of qv.dll, or nullptr (and, when expected, the
// test fails) when the DLL or the name cannot be found.
const void* exportAddress(const char* name, bool expected = true);

#if defined(__i386__)
// Calls fn with the words pushed right to left; left receives the bytes of
// arguments still on the stack after the call returned. The result is EAX.
extern "C" std::uint32_t qvCallWords(const void* fn, const std::uint32_t* words,
                                     std::uint32_t count, std::uint32_t* left);

// Calls an export with argument words and checks the stack afterwards; the
// result word.
std::uint32_t callExport(const char* name, CallShape shape, const std::uint32_t* words);

template <class T> std::uint32_t toWord(T value) {
    if constexpr (std::is_null_pointer_v<T>)
        return 0;
    else if constexpr (std::is_pointer_v<T>)
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(value));
    else
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
}

template <class R> R fromWord(std::uint32_t word) {
    if constexpr (std::is_pointer_v<R>)
        return reinterpret_cast<R>(static_cast<std::uintptr_t>(word));
    else
        return static_cast<R>(static_cast<std::int32_t>(word));
}
#endif

// An export of qv.dll with the type qv.h gives it (F is a pointer to that
// function type, stdcall or cdecl); called like the function itself.
template <class F> class DllExport {
public:
    explicit constexpr DllExport(const char* name) : m_name(name) {}

    const char* name() const { return m_name; }
    static constexpr CallShape shape() { return shapeOf(static_cast<F>(nullptr)); }

    template <class... A> auto operator()(A... args) const {
        static_assert(std::is_invocable_v<F, A...>, "arguments do not match the declaration");
        using R = std::invoke_result_t<F, A...>;
#if defined(__i386__)
        const std::array<std::uint32_t, sizeof...(A) + 1> words{toWord(args)..., 0};
        return fromWord<R>(callExport(m_name, shape(), words.data()));
#else
        const void* fn = exportAddress(m_name);
        if (fn == nullptr)
            return R{};
        return reinterpret_cast<F>(fn)(args...);
#endif
    }

private:
    const char* m_name;
};

} // namespace qv::test
