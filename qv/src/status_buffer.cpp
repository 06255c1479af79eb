// Callers' access to the 16-byte status buffer.

#include "state.h"

#include "qv.h"

#include <cstring>

using namespace qv;

int32_t GetQvSta(void* buffer16) noexcept {
    if (buffer16 != nullptr)
        std::memcpy(buffer16, state().StaBuf.data(), kStaBufSize);
    return 1;
}

int32_t GetQvStaNum(int32_t index) noexcept {
    if (index < 0 || index >= kStaBufSize)
        return 0;
    return state().StaBuf[static_cast<std::size_t>(index)];
}
