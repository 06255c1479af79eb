// A device whose reader goes away (a FIFO read by a printer bridge that
// restarts) must give failed writes, never end the calling program with the
// broken-pipe signal, and leave the caller's signal handling as it was.

#include "qv_fixture.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace qv::test {
namespace {

class BrokenPipe : public OnPlatformBackend {
protected:
    void SetUp() override {
        OnPlatformBackend::SetUp();
        char pattern[] = "/tmp/qv-fifo-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        fifo = folder + "/printer";
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
        ASSERT_EQ(signal(SIGPIPE, SIG_DFL), SIG_DFL) << "the test starts with the default";
    }
    void TearDown() override {
        OnPlatformBackend::TearDown();
        if (reader >= 0)
            close(reader);
        unlink(fifo.c_str());
        rmdir(folder.c_str());
    }

    std::string readerGot() {
        char buffer[64] = {};
        ssize_t n = read(reader, buffer, sizeof buffer);
        return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
    }

    static bool sigpipePending() {
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        return sigismember(&pending, SIGPIPE) == 1;
    }

    std::string folder;
    std::string fifo;
    int reader = -1;
};

struct SendCase {
    const char* name;
    std::function<int32_t(int32_t port)> send;
    int32_t whole; // the result while the reader is there
};

const SendCase kSends[] = {
    {"QVSendStr", [](int32_t port) { return QVSendStr(port, "ab"); }, 2},
    {"QVSendPort", [](int32_t port) { return QVSendPort(port, "abc", 3); }, 3},
    {"QVSendByte", [](int32_t port) { return QVSendByte(port, 'a'); }, 1},
};

TEST_F(BrokenPipe, EverySendFailsQuietlyOnceTheReaderHasGone) {
    for (const SendCase& c : kSends) {
        SCOPED_TRACE(c.name);
        // The named device, and the same FIFO behind a parallel port's name.
        for (int32_t port : {13, 10}) {
            SCOPED_TRACE(port);
            if (reader < 0)
                reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            ASSERT_GE(reader, 0);
            if (port == 13) {
                ASSERT_EQ(QVOpenPort13(fifo.c_str()), 1);
            } else {
                setenv("QV_LPT1", fifo.c_str(), 1);
                ASSERT_EQ(QVOpenPort(port, ""), 1);
            }
            EXPECT_EQ(c.send(port), c.whole);
            EXPECT_EQ(readerGot().size(), static_cast<std::size_t>(c.whole));

            close(reader);
            reader = -1;
            EXPECT_EQ(c.send(port), 0);
            EXPECT_EQ(WinErrCode(), EPIPE);
            EXPECT_EQ(c.send(port), 0) << "a second write after the break";
            EXPECT_FALSE(sigpipePending());
            EXPECT_EQ(QVClosePort(port), 1);
        }
    }
    EXPECT_EQ(signal(SIGPIPE, SIG_DFL), SIG_DFL) << "the disposition is the caller's";
}

TEST_F(BrokenPipe, CallersMaskAndOwnPendingSignalAreKept) {
    ASSERT_EQ(QVOpenPort13(fifo.c_str()), 1);
    close(reader);
    reader = -1;

    // The caller blocks the signal and has one of its own pending: both stay.
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigset_t before;
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &pipeOnly, &before), 0);
    ASSERT_EQ(raise(SIGPIPE), 0);
    ASSERT_TRUE(sigpipePending());
    EXPECT_EQ(QVSendStr(13, "x"), 0);
    EXPECT_TRUE(sigpipePending()) << "the caller's own signal was taken";
    sigset_t during;
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, nullptr, &during), 0);
    EXPECT_EQ(sigismember(&during, SIGPIPE), 1);
    const timespec now{};
    EXPECT_EQ(sigtimedwait(&pipeOnly, nullptr, &now), SIGPIPE);
    ASSERT_EQ(pthread_sigmask(SIG_SETMASK, &before, nullptr), 0);

    // With the signal let through, the write leaves nothing pending and the
    // mask as the caller had it.
    EXPECT_EQ(QVSendStr(13, "y"), 0);
    EXPECT_FALSE(sigpipePending());
    sigset_t after;
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, nullptr, &after), 0);
    EXPECT_EQ(sigismember(&after, SIGPIPE), 0);
}

} // namespace
} // namespace qv::test
