// Platform queries: last error code and version.

#include "platform.h"
#include "state.h"

#include "qv.h"

#include <algorithm>
#include <cstring>
#include <mutex>

using namespace qv;
using platform::backend;

namespace {

constexpr std::uint32_t kVersionInfoSize = 148;
static_assert(sizeof(QvOsVersionInfo) == kVersionInfoSize);

void fillVersion(QvOsVersionInfo& info) {
    platform::VersionInfo v = backend().version();
    info = QvOsVersionInfo{};
    info.dwOSVersionInfoSize = kVersionInfoSize;
    info.dwMajorVersion = v.major;
    info.dwMinorVersion = v.minor;
    info.dwBuildNumber = v.build;
    info.dwPlatformId = v.platformId;
    std::size_t n = std::min(v.servicePack.size(), sizeof info.szCSDVersion - 1);
    std::memcpy(info.szCSDVersion, v.servicePack.data(), n);
}

// The library's own record, which WinVersion and WinVersionRem fill; calls
// on two threads (QVIsLpt asks WinVersion before every parallel send) take
// turns on it.
std::mutex& versionMutex() {
    static std::mutex m;
    return m;
}

} // namespace

int32_t WinErrCode() noexcept {
    return static_cast<int32_t>(backend().lastError());
}

int32_t WinVersion(int32_t k) noexcept {
    QvOsVersionInfo info;
    fillVersion(info);
    {
        std::lock_guard lock(versionMutex());
        state().VersionInfo = info;
    }
    switch (k) {
    case 1:
        return static_cast<int32_t>(info.dwMajorVersion);
    case 2:
        return static_cast<int32_t>(info.dwMinorVersion);
    case 3:
        return static_cast<int32_t>(info.dwBuildNumber);
    case 4:
        return static_cast<int32_t>(info.dwPlatformId);
    default:
        return 0;
    }
}

const char* WinVersionRem() noexcept {
    std::lock_guard lock(versionMutex());
    QvOsVersionInfo& info = state().VersionInfo;
    fillVersion(info);
    return info.szCSDVersion;
}

int32_t WinVersionx(QvOsVersionInfo* info) noexcept {
    if (info == nullptr)
        return 0;
    fillVersion(*info);
    return 1;
}
