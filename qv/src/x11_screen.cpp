#include "x11_screen.h"

#include <cstdlib>
#include <dlfcn.h>
#include <memory>
#include <mutex>
#include <poll.h>
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
using ConnectionNumberFn = int (*)(XDisplay*);
using PendingFn = int (*)(XDisplay*);
using ExitHandlerFn = void (*)(XDisplay*, void*);
using SetExitHandlerFn = void (*)(XDisplay*, ExitHandlerFn, void*);
using IOErrorHandlerFn = int (*)(XDisplay*);
using SetIOErrorHandlerFn = IOErrorHandlerFn (*)(IOErrorHandlerFn);

struct XLib {
    OpenDisplayFn openDisplay = nullptr;
    CloseDisplayFn closeDisplay = nullptr;
    DefaultScreenFn defaultScreen = nullptr;
    DisplaySizeFn displayWidth = nullptr;
    DisplaySizeFn displayHeight = nullptr;
    RootWindowFn rootWindow = nullptr;
    QueryPointerFn queryPointer = nullptr;
    ConnectionNumberFn connectionNumber = nullptr;
    PendingFn pending = nullptr;
    // libX11 1.8 and later: what happens after a lost connection, which
    // otherwise ends the process. Without it no connection is kept.
    SetExitHandlerFn setExitHandler = nullptr;
    SetIOErrorHandlerFn setIOErrorHandler = nullptr;

    bool canKeepConnection() const {
        return connectionNumber && pending && setExitHandler && setIOErrorHandler;
    }

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
        bind(library, "XConnectionNumber", x->connectionNumber);
        bind(library, "XPending", x->pending);
        bind(library, "XSetIOErrorExitHandler", x->setExitHandler);
        bind(library, "XSetIOErrorHandler", x->setIOErrorHandler);
        return x->complete() ? std::move(x) : nullptr;
    }();
    return loaded.get();
}

// The one connection to the display, opened at the first query and kept;
// opened again when DISPLAY names another display or the server went away
// (a lost connection then ends nothing but the connection). Queries from
// several threads take turns on it.
class Connection {
public:
    // The display of DISPLAY, or nullptr when there is none.
    XDisplay* display() {
        const char* name = std::getenv("DISPLAY");
        if (name == nullptr || *name == '\0' || (m_x = xlib()) == nullptr)
            return nullptr;
        if (m_display != nullptr && (m_name != name || lost()))
            drop();
        if (m_display == nullptr) {
            m_name = name;
            m_lost = false;
            m_display = m_x->openDisplay(name);
            if (m_display != nullptr && m_x->canKeepConnection()) {
                m_x->setExitHandler(m_display, &Connection::onLost, this);
                watchLostConnections();
            }
        }
        return m_display;
    }

    // Called after a query: drops a connection that was lost during it, or
    // any connection where libX11 cannot survive losing one.
    bool finish() {
        bool ok = !m_lost;
        if (m_lost || !m_x->canKeepConnection())
            drop();
        return ok;
    }

    const XLib* x() const { return m_x; }
    std::mutex& mutex() { return m_mutex; }

private:
    static void onLost(XDisplay*, void* self) { static_cast<Connection*>(self)->m_lost = true; }

    // libX11's own handler of a lost connection ends the process; for this
    // connection it only notes the loss, other displays keep the handler the
    // program had.
    void watchLostConnections() {
        static Connection* self = this;
        static IOErrorHandlerFn previous = nullptr;
        static bool installed = false;
        if (installed)
            return;
        installed = true;
        previous = m_x->setIOErrorHandler([](XDisplay* d) -> int {
            if (d == self->m_display)
                return 0;
            return previous != nullptr ? previous(d) : 0;
        });
    }

    // True when the server has closed the connection: the socket then reads
    // as at its end, which XPending turns into a lost connection.
    bool lost() {
        if (m_lost)
            return true;
        pollfd p{m_x->connectionNumber(m_display), POLLIN, 0};
        if (poll(&p, 1, 0) > 0)
            m_x->pending(m_display);
        return m_lost;
    }

    void drop() {
        m_x->closeDisplay(m_display);
        m_display = nullptr;
    }

    std::mutex m_mutex;
    const XLib* m_x = nullptr;
    XDisplay* m_display = nullptr;
    std::string m_name;
    bool m_lost = false;
};

Connection& connection() {
    static Connection* c = new Connection; // kept open to the end of the process
    return *c;
}

// Runs one query on the kept connection's default screen; no answer without
// a display or when the connection was lost during the query.
template <class Query> auto ask(Query query) -> decltype(query(XLib{}, nullptr, 0)) {
    Connection& c = connection();
    std::lock_guard lock(c.mutex());
    XDisplay* display = c.display();
    if (display == nullptr)
        return std::nullopt;
    auto answer = query(*c.x(), display, c.x()->defaultScreen(display));
    if (!c.finish())
        return std::nullopt;
    return answer;
}

} // namespace

std::optional<ScreenSize> X11Screen::size() {
    return ask([](const XLib& x, XDisplay* display, int screen) -> std::optional<ScreenSize> {
        return ScreenSize{x.displayWidth(display, screen), x.displayHeight(display, screen)};
    });
}

std::optional<PointerPosition> X11Screen::pointer() {
    return ask([](const XLib& x, XDisplay* display, int screen) -> std::optional<PointerPosition> {
        XWindow root = 0;
        XWindow child = 0;
        int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
        unsigned mask = 0;
        // False: the pointer is on another screen, so it has no position on this one.
        if (x.queryPointer(display, x.rootWindow(display, screen), &root, &child, &rootX, &rootY,
                           &windowX, &windowY, &mask) == 0)
            return std::nullopt;
        return PointerPosition{rootX, rootY};
    });
}

} // namespace qv
