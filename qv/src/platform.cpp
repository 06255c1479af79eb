#include "platform.h"

#include "system_platform.h"

namespace qv::platform {
namespace {

Backend* g_selected = nullptr;

} // namespace

Backend& backend() {
    return g_selected != nullptr ? *g_selected : systemBackend();
}

void setBackend(Backend* b) {
    g_selected = b;
}

} // namespace qv::platform
