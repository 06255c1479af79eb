#include "platform.h"

#include "posix_backend.h"

namespace qv::platform {
namespace {

Backend* g_selected = nullptr;

Backend& posixBackend() {
    static PosixBackend instance;
    return instance;
}

} // namespace

Backend& backend() {
    return g_selected != nullptr ? *g_selected : posixBackend();
}

void setBackend(Backend* b) {
    g_selected = b;
}

} // namespace qv::platform
