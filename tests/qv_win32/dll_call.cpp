#include "dll_call.h"

#include <windows.h>

#if defined(__i386__)
// The caller side of both conventions, written out so that nothing of the
// compiler's own stack handling can hide what the callee did: the stack
// pointer is kept in EDI (preserved by every Windows callee) across the call.
asm(R"(
    .text
    .globl _qvCallWords
_qvCallWords:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    movl %esp, %edi
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  call *8(%ebp)
    movl %edi, %ecx
    subl %esp, %ecx
    movl %edi, %esp
    movl 20(%ebp), %edx
    movl %ecx, (%edx)
    popl %ebx
    popl %edi
    popl %esi
    popl %ebp
    ret
)");
#endif

namespace qv::test {
namespace {

HMODULE library() {
    static HMODULE dll = LoadLibraryA("qv.dll");
    return dll;
}

} // namespace

const void* exportAddress(const char* name, bool expected) {
    if (library() == nullptr) {
        ADD_FAILURE() << "qv.dll cannot be loaded, error " << GetLastError();
        return nullptr;
    }
    auto address = reinterpret_cast<const void*>(GetProcAddress(library(), name));
    if (address == nullptr && expected)
        ADD_FAILURE() << name << " is not exported";
    return address;
}

#if defined(__i386__)
std::uint32_t callExport(const char* name, CallShape shape, const std::uint32_t* words) {
    const void* fn = exportAddress(name);
    if (fn == nullptr)
        return 0;
    std::uint32_t left = 0;
    std::uint32_t result = qvCallWords(fn, words, static_cast<std::uint32_t>(shape.words), &left);
    std::uint32_t expected = shape.callerCleans ? static_cast<std::uint32_t>(4 * shape.words) : 0;
    EXPECT_EQ(left, expected) << name << " with " << shape.words << " argument words left " << left
                              << " bytes on the stack";
    return result;
}
#endif

} // namespace qv::test
