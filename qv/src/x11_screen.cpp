#include "x11_screen.h"

#include <cstdlib>
#include <dlfcn.h>
#include <memory>
#include <mutex>
#include <string>

namespace qv {
namespace {

// The few libX11 entry points used, declared here so that no X headers are
// needed: a display is opaque, a window is an XID (unsigned long), Bool is int.
struct XDisplay;
using XWindow = unsigned long;
using OpenDisplayFn = XDisplay* (*)(const char*);
using CloseDisplayFn = int (*)(XDisplay*);
using DefaultScreenFn = int (*)(XDisplay*);
using DisplaySizeFn = int (*)(XDisplay*, int);
using RootWindowFn = XWindow (*)(XDisplay*, int);
using QueryPointerFn = int (*)(XDisplay*, XWindow, XWindow*, XWindow*, int*, int*, int*, int*,
                               unsigned*);

struct XLib {
    OpenDisplayFn openDisplay = nullptr;
    CloseDisplayFn closeDisplay = nullptr;
    DefaultScreenFn defaultScreen = nullptr;
    DisplaySizeFn displayWidth = nullptr;
    DisplaySizeFn displayHeight = nullptr;
    RootWindowFn rootWindow = nullptr;
    QueryPointerFn queryPointer = nullptr;

    bool complete() const {
        return openDisplay && closeDisplay && defaultScreen && displayWidth && displayHeight &&
               rootWindow && queryPointer;
    }
};

template <class Fn> void bind(void* library, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(dlsym(library, name));
}

// libX11, loaded on first use and kept for the life of the process (X
// libraries do not support being unloaded); nullptr when it is missing.
const XLib* xlib() {
    static const std::unique_ptr<XLib> loaded = []() -> std::unique_ptr<XLib> {
        void* library = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return nullptr;
        auto x = std::make_unique<XLib>();
        bind(library, "XOpenDisplay", x->openDisplay);
        bind(library, "XCloseDisplay", x->closeDisplay);
        bind(library, "XDefaultScreen", x->defaultScreen);
        bind(library, "XDisplayWidth", x->displayWidth);
        bind(library, "XDisplayHeight", x->displayHeight);
        bind(library, "XRootWindow", x->rootWindow);
        bind(library, "XQueryPointer", x->queryPointer);
        return x->complete() ? std::move(x) : nullptr;
    }();
    return loaded.get();
}

// The one connection to the display, opened at the first query and kept;
// opened again when DISPLAY names another display. Queries from several
// threads take turns on it.
class Connection {
public:
    // The display of DISPLAY, or nullptr when there is none.
    XDisplay* display() {
        const char* name = std::getenv("DISPLAY");
        if (name == nullptr || *name == '\0' || (m_x = xlib()) == nullptr)
            return nullptr;
        if (m_display != nullptr && m_name == name)
            return m_display;
        if (m_display != nullptr)
            m_x->closeDisplay(m_display);
        m_name = name;
        m_display = m_x->openDisplay(name);
        return m_display;
    }
    const XLib* x() const { return m_x; }
    std::mutex& mutex() { return m_mutex; }

private:
    std::mutex m_mutex;
    const XLib* m_x = nullptr;
    XDisplay* m_display = nullptr;
    std::string m_name;
};

Connection& connection() {
    static Connection* c = new Connection; // kept open to the end of the process
    return *c;
}

} // namespace

std::optional<ScreenSize> X11Screen::size() {
    Connection& c = connection();
    std::lock_guard lock(c.mutex());
    XDisplay* display = c.display();
    if (display == nullptr)
        return std::nullopt;
    int screen = c.x()->defaultScreen(display);
    return ScreenSize{c.x()->displayWidth(display, screen), c.x()->displayHeight(display, screen)};
}

std::optional<PointerPosition> X11Screen::pointer() {
    Connection& c = connection();
    std::lock_guard lock(c.mutex());
    XDisplay* display = c.display();
    if (display == nullptr)
        return std::nullopt;
    int screen = c.x()->defaultScreen(display);
    XWindow root = 0;
    XWindow child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned mask = 0;
    // False: the pointer is on another screen, so it has no position on this one.
    if (c.x()->queryPointer(display, c.x()->rootWindow(display, screen), &root, &child, &rootX,
                            &rootY, &windowX, &windowY, &mask) == 0)
        return std::nullopt;
    return PointerPosition{rootX, rootY};
}

} // namespace qv
