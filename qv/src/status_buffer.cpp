// Callers' access to the 16-byte status buffer.

#include "state.h"

#include "qv.h"

#include <cstddef>
#include <cstdint>

using namespace qv;

int32_t GetQvSta(void* buffer16) noexcept {
    if (buffer16 == nullptr)
        return 1;
    auto* out = static_cast<std::uint8_t*>(buffer16);
    for (std::size_t i = 0; i < kStaBufSize; ++i)
        out[i] = statusBuffer()[i];
    return 1;
}

int32_t GetQvStaNum(int32_t index) noexcept {
    if (index < 0 || index >= kStaBufSize)
        return 0;
    return statusBuffer()[static_cast<std::size_t>(index)];
}
