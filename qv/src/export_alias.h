#pragma once
// Several exports are one function under several names. The further names are
// aliases of the first one's definition, so the library exports them all at
// one address. An alias must stand in the file that defines its target, and
// its declaration in qv.h must have the target's exact type.

#define QV_SAME_FUNCTION_AS(target, name)                                                          \
    extern "C" decltype(target) name __attribute__((alias(#target)))
