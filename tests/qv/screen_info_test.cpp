// The screen queries: answers from the display, and what they answer when
// there is none; the X display itself when an X server can be started.

#include "drawing_fixture.h"
#include "x11_screen.h"

#include <csignal>
#include <cstdlib>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace qv::test {
namespace {

class ScriptedScreen : public ScreenSource {
public:
    std::optional<ScreenSize> sizeAnswer;
    std::optional<PointerPosition> pointerAnswer;
    std::optional<ScreenSize> size() override { return sizeAnswer; }
    std::optional<PointerPosition> pointer() override { return pointerAnswer; }
};

using ScreenQueries = DrawingQv;

TEST_F(ScreenQueries, AnswersComeFromTheDisplayOrThePicture) {
    struct Case {
        const char* name;
        std::optional<ScreenSize> size;
        std::optional<PointerPosition> pointer;
        int32_t x, y, pointerX, pointerY;
    };
    const Case cases[] = {
        {"display", ScreenSize{1920, 1080}, PointerPosition{17, 940}, 1920, 1080, 17, 940},
        {"pointer on another screen", ScreenSize{1024, 768}, std::nullopt, 1024, 768, -1, -1},
        {"no display", std::nullopt, std::nullopt, 800, 600, -1, -1},
    };
    ScriptedScreen screen;
    setScreenSource(&screen);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen.sizeAnswer = c.size;
        screen.pointerAnswer = c.pointer;
        EXPECT_EQ(ScreenXRes(), c.x);
        EXPECT_EQ(ScreenYRes(), c.y);
        EXPECT_EQ(JGetCursorPos(1), c.pointerX);
        for (int32_t k : {2, 0, -1, 3})
            EXPECT_EQ(JGetCursorPos(k), c.pointerY) << k;
    }
}

// DISPLAY set for one test and put back afterwards.
class DisplayVariable {
public:
    explicit DisplayVariable(const char* value) {
        if (const char* old = std::getenv("DISPLAY"))
            m_old = old;
        if (value != nullptr)
            setenv("DISPLAY", value, 1);
        else
            unsetenv("DISPLAY");
    }
    ~DisplayVariable() {
        if (m_old)
            setenv("DISPLAY", m_old->c_str(), 1);
        else
            unsetenv("DISPLAY");
    }
    DisplayVariable(const DisplayVariable&) = delete;
    DisplayVariable& operator=(const DisplayVariable&) = delete;

private:
    std::optional<std::string> m_old;
};

TEST(X11Screen, NoDisplayGivesNoAnswer) {
    for (const char* value : {static_cast<const char*>(nullptr), "", "/nonexistent/socket:0"}) {
        SCOPED_TRACE(value == nullptr ? "(unset)" : value);
        DisplayVariable display(value);
        X11Screen screen;
        EXPECT_FALSE(screen.size().has_value());
        EXPECT_FALSE(screen.pointer().has_value());
    }
}

// An X server of its own (Xvfb) with a screen of a known size; skipped where
// Xvfb is not installed.
class VirtualXServer {
public:
    VirtualXServer(int width, int height) {
        const char* xvfb = "/usr/bin/Xvfb";
        if (access(xvfb, X_OK) != 0)
            return;
        int fds[2];
        if (pipe(fds) != 0)
            return;
        std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        std::string fd = std::to_string(fds[1]);
        m_pid = fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            execl(xvfb, xvfb, "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
                  "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        ::close(fds[1]);
        m_display = readDisplayNumber(fds[0]);
        ::close(fds[0]);
    }
    ~VirtualXServer() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    VirtualXServer(const VirtualXServer&) = delete;
    VirtualXServer& operator=(const VirtualXServer&) = delete;

    // ":n" once the server is ready; empty when it could not start.
    const std::string& display() const { return m_display; }

private:
    // The server writes its display number and a newline once it accepts
    // connections; the pipe closes without one when it fails.
    static std::string readDisplayNumber(int fd) {
        std::string number;
        char c = 0;
        while (::read(fd, &c, 1) == 1 && c != '\n')
            number += c;
        return number.empty() || c != '\n' ? std::string() : ":" + number;
    }

    pid_t m_pid = -1;
    std::string m_display;
};

TEST(X11Screen, AnswersFromARunningXServer) {
    VirtualXServer server(640, 480);
    if (server.display().empty())
        GTEST_SKIP() << "no X server available";
    DisplayVariable display(server.display().c_str());
    X11Screen screen;
    auto size = screen.size();
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->width, 640);
    EXPECT_EQ(size->height, 480);
    auto pointer = screen.pointer();
    ASSERT_TRUE(pointer.has_value());
    EXPECT_GE(pointer->x, 0);
    EXPECT_LT(pointer->x, 640);
    EXPECT_GE(pointer->y, 0);
    EXPECT_LT(pointer->y, 480);

    setScreenSource(nullptr);
    EXPECT_EQ(ScreenXRes(), 640);
    EXPECT_EQ(ScreenYRes(), 480);
    EXPECT_EQ(JGetCursorPos(1), pointer->x);
    EXPECT_EQ(JGetCursorPos(2), pointer->y);
}

TEST(X11Screen, AServerThatGoesAwayEndsNothingAndANewOneIsFound) {
    // The connection is kept between queries; when its server ends, the next
    // query has no answer (and must not end the calling program, as Xlib's
    // default for a lost connection would), and a server started afterwards
    // is asked again.
    X11Screen screen;
    {
        VirtualXServer first(640, 480);
        if (first.display().empty())
            GTEST_SKIP() << "no X server available";
        DisplayVariable display(first.display().c_str());
        ASSERT_TRUE(screen.size().has_value());
        ASSERT_TRUE(screen.pointer().has_value());
    }
    VirtualXServer second(320, 200);
    ASSERT_FALSE(second.display().empty());
    {
        // The old display name again, now with no server behind it.
        DisplayVariable display(":9999");
        EXPECT_FALSE(screen.size().has_value());
    }
    DisplayVariable display(second.display().c_str());
    auto size = screen.size();
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->width, 320);
    EXPECT_EQ(size->height, 200);
}

TEST(X11Screen, AQueryAfterTheServerEndedHasNoAnswer) {
    X11Screen screen;
    std::string name;
    {
        VirtualXServer server(640, 480);
        if (server.display().empty())
            GTEST_SKIP() << "no X server available";
        name = server.display();
        DisplayVariable display(name.c_str());
        ASSERT_TRUE(screen.size().has_value());
    }
    DisplayVariable display(name.c_str());
    EXPECT_FALSE(screen.pointer().has_value());
    EXPECT_FALSE(screen.size().has_value());
}

} // namespace
} // namespace qv::test
