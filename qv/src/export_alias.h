#pragma once
// Several exports are one function under several names. The further names are
// aliases of the first one's definition, so the library exports them all at
// one address. An alias must stand in the file that defines its target, and
// its declaration in qv.h must have the target's exact type.
//
// In the Windows DLL the module-definition file exports the further names at
// the first one's address (the build writes those lines from these uses);
// here the types are only checked.

#include <type_traits>

#if defined(_WIN32)
#define QV_SAME_FUNCTION_AS(target, name)                                                          \
    static_assert(std::is_same_v<decltype(target), decltype(name)>)
#else
#define QV_SAME_FUNCTION_AS(target, name)                                                          \
    extern "C" decltype(target) name __attribute__((alias(#target)))
#endif
