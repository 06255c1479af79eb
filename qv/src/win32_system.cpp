// The Windows platform's pieces: the Windows backend, the screen answers of
// the desktop, and the device names of the ports and the cash drawer.

#include "system_platform.h"

#include "state.h"
#include "win32_backend.h"
#include "win32_screen.h"

#include <windows.h>

namespace qv::platform {

namespace {

// Made when the DLL loads: a first use inside a call would run the runtime's
// one-time set-up there, which clears the last error a caller is about to
// read with WinErrCode.
Win32Backend g_backend;

} // namespace

Backend& systemBackend() {
    return g_backend;
}

} // namespace qv::platform

namespace qv {

ScreenSource& systemScreen() {
    static Win32Screen desktop;
    return desktop;
}

namespace {

// qv.ini in the DLL's own folder: its [Ports] section may name another
// device for a port ("COM3=tcp://192.0.2.10:9100"). Read at every open, so a
// changed file takes effect at the next open.
std::string configuredDevice(const char* portName) {
    HMODULE self = nullptr;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(&configuredDevice), &self) == FALSE)
        return {};
    char module[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(self, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string ini(module, length);
    ini.erase(ini.find_last_of("\\/") + 1);
    ini += "qv.ini";
    char value[MAX_PATH] = {};
    GetPrivateProfileStringA("Ports", portName, "", value, sizeof value, ini.c_str());
    return value;
}

} // namespace

std::string defaultDevicePath(int port) {
    // COM1 to COM9 and LPT1 to LPT4 are names the platform opens as they
    // are, unless qv.ini names another device.
    if (!hasSlot(port))
        return {};
    const char* name = PortName[static_cast<std::size_t>(port)];
    std::string configured = configuredDevice(name);
    return configured.empty() ? name : configured;
}

const char* const kDrawerDefaultPath = "\\\\.\\CSHDW0";

} // namespace qv
