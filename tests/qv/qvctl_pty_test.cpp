// qvctl run as a program against a pseudo-terminal standing in for COM1
// (QV_COM1 names its slave side): the calls go through libqv.so's real
// export table, the test plays the device on the master side and answers
// the status request, and qvctl's report is compared line by line.

#include "printer_bmp_files.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <stdlib.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace qv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct QvctlRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    Bytes device; // what reached the device
};

class QvctlOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        slave = ptsname(master);
    }
    void TearDown() override { close(master); }

    // Runs qvctl with args and QV_COM1 set to the slave; answer is asked after
    // every read from the device with all bytes so far and may give bytes to
    // send back (each answer is sent once). Gives up after 20 s.
    QvctlRun run(const std::vector<std::string>& args,
                 const std::function<Bytes(const Bytes&)>& answer = nullptr) {
        QvctlRun result;
        int outPipe[2], errPipe[2];
        EXPECT_EQ(pipe2(outPipe, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(errPipe, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);

        std::vector<std::string> envStrings{"QV_COM1=" + slave};
#ifdef QVCTL_LIBRARY_DIR
        // Under AddressSanitizer dlopen is called from the sanitizer's runtime,
        // whose search path lacks qvctl's run path.
        envStrings.emplace_back("LD_LIBRARY_PATH=" QVCTL_LIBRARY_DIR);
#endif
        for (char** e = environ; *e != nullptr; ++e) {
            if (std::string(*e).rfind("QV_", 0) != 0 &&
                std::string(*e).rfind("LD_LIBRARY_PATH=", 0) != 0)
                envStrings.emplace_back(*e);
        }
        std::vector<char*> env;
        for (std::string& s : envStrings)
            env.push_back(s.data());
        env.push_back(nullptr);
        std::vector<std::string> argStrings{QVCTL_PATH};
        argStrings.insert(argStrings.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& s : argStrings)
            argv.push_back(s.data());
        argv.push_back(nullptr);

        pid_t child = -1;
        EXPECT_EQ(posix_spawn(&child, QVCTL_PATH, &actions, nullptr, argv.data(), env.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(outPipe[1]);
        close(errPipe[1]);
        collect(child, outPipe[0], errPipe[0], answer, result);
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }

    int master = -1;
    std::string slave;

private:
    static bool drain(int fd, std::string& into) {
        char buffer[512];
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0)
            into.append(buffer, static_cast<std::size_t>(n));
        return n != 0; // false at end of file
    }

    void collect(pid_t child, int out, int err, const std::function<Bytes(const Bytes&)>& answer,
                 QvctlRun& result) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        bool outOpen = true, errOpen = true;
        std::size_t answered = 0;
        while (outOpen || errOpen) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(child, SIGKILL);
                ADD_FAILURE() << "qvctl did not finish";
                break;
            }
            pollfd fds[3] = {{out, POLLIN, 0}, {err, POLLIN, 0}, {master, POLLIN, 0}};
            poll(fds, 3, 20);
            if (fds[0].revents != 0)
                outOpen = drain(out, result.out);
            if (fds[1].revents != 0)
                errOpen = drain(err, result.err);
            std::uint8_t buffer[256];
            ssize_t n = read(master, buffer, sizeof buffer);
            if (n > 0) {
                result.device.insert(result.device.end(), buffer, buffer + n);
                Bytes reply = answer ? answer(result.device) : Bytes{};
                if (!reply.empty() && answered < result.device.size()) {
                    answered = result.device.size();
                    EXPECT_EQ(write(master, reply.data(), reply.size()),
                              static_cast<ssize_t>(reply.size()));
                }
            } else if (n < 0 && errno != EAGAIN) {
                usleep(1000); // no slave open (yet, or any more)
            }
        }
        int status = 0;
        waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

Bytes endsWith(const Bytes& all, const Bytes& tail, const Bytes& reply) {
    bool match = all.size() >= tail.size() &&
                 std::equal(tail.begin(), tail.end(), all.end() - static_cast<long>(tail.size()));
    return match ? reply : Bytes{};
}

TEST_F(QvctlOnPty, PrintsTextAndReadsTheStatusAnswer) {
    QvctlRun r = run({"QVOpenPort", "1", "9600,N,8,1", "+", "QV7Reset", "1",           "+",
                      "QV7PrnBar",  "1", "73",         "2", "3",        "4",           "5",
                      "4711",       "+", "QV7Sta",     "1", "+",        "QVClosePort", "1"},
                     [](const Bytes& all) {
                         return endsWith(all, {0x1B, 0x4F}, {0x41, 0x42, 0x0A});
                     });
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.device, (Bytes{0x1B, 0x40, 0x1D, 0x6B, 0x49, 0x03, 0x02, 0x04, 0x05, 0x34, 0x37,
                               0x31, 0x31, 0x00, 0x1B, 0x4F}));
    EXPECT_EQ(r.out, "QVOpenPort(1, \"9600,N,8,1\") = 1\n"
                     "QV7Reset(1) = 2\n"
                     "QV7PrnBar(1, 73, 2, 3, 4, 5, \"4711\") = 1\n"
                     "QV7Sta(1) = status buffer\n"
                     "  StaBuf: 41 42 0A 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
                     "QVClosePort(1) = 1\n");
}

TEST_F(QvctlOnPty, SendsHexBytesAndBmpFilesAndReadsBack) {
    TempFile image(bmpBytes({12, {}, {{0x00, 0xF0}}}));
    // The status request of family 9 is answered with its byte and two more,
    // in one write, which the read that follows finds waiting.
    QvctlRun r = run({"--library",
                      QV_LIBRARY_PATH,
                      "QVOpenPort",
                      "1",
                      "",
                      "+",
                      "VFDSay",
                      "1",
                      "2",
                      "5",
                      "x:A4A4",
                      "+",
                      "QV71BitMapD",
                      "1",
                      image.path(),
                      "+",
                      "QV9Sta",
                      "1",
                      "+",
                      "QVReadPort",
                      "1",
                      "8",
                      "+",
                      "QVClosePort",
                      "1"},
                     [](const Bytes& all) {
                         return endsWith(all, {0x1B, 0x76}, {0x12, 0x06, 0x07});
                     });
    EXPECT_EQ(r.exitCode, 0) << r.err;
    Bytes expected{0x1F, 0x24, 0x05, 0x02, 0xA4, 0xA4, 0x1F, 0x2A, 0x02, 0x01, 0xFF, 0x00};
    for (int i = 0; i < 7; ++i)
        expected.insert(expected.end(), {0x00, 0x00});
    expected.insert(expected.end(), {0x1D, 0x25, 0x1B, 0x76});
    EXPECT_EQ(r.device, expected);
    EXPECT_EQ(r.out, "QVOpenPort(1, \"\") = 1\n"
                     "VFDSay(1, 2, 5, \"x:A4A4\") = 2\n"
                     "QV71BitMapD(1, \"" +
                         std::string(image.path()) +
                         "\") = 2\n"
                         "  StaBuf: 00 00 00 00 00 00 00 00 00 00 01 02 0F 00 00 00\n"
                         "QV9Sta(1) = 18\n"
                         "QVReadPort(1, 8) = 2\n"
                         "  read: 06 07\n"
                         "QVClosePort(1) = 1\n");
}

TEST_F(QvctlOnPty, ShortPatternsAreMadeUpAndLengthsWithinTheDataAreSent) {
    QvctlRun r = run({"QVOpenPort", "1", "", "+", "VFDChrDnLoad", "1", "1", "x:01", "+",
                      "QVSendPort", "1", "x:414243", "2", "+", "QVClosePort", "1"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.device,
              (Bytes{0x1B, 0x26, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x41, 0x42}));
}

TEST_F(QvctlOnPty, CommandLineFaultsStopBeforeAnyCall) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"QVOpenPort", "1", "", "+", "QV7Reset"}, 2, "QV7Reset takes 1 argument(s)"},
        {{"QVOpenPort", "1", "", "+", "NoSuchExport", "1"}, 2, "QV 沒有名為 NoSuchExport"},
        // Names of the C library are not called, whatever their arguments.
        {{"strlen", "5"}, 2, "QV 沒有名為 strlen"},
        {{"abort"}, 2, "QV 沒有名為 abort"},
        {{"QVOpenPort", "1", "", "+", "puts", "hello"}, 2, "QV 沒有名為 puts"},
        {{"QVClosePrt", "1"}, 2, "相近的有：QVClosePort"},
        {{"--library", "/nonexistent/libqv.so", "QV7Reset", "1"}, 1, "/nonexistent/libqv.so"},
        {{"--frobnicate"}, 2, "unknown option --frobnicate"},
        {{}, 2, "no export to call"},
        // Lengths beyond the bytes given would send whatever lies after them.
        {{"QVOpenPort", "1", "", "+", "QVSendPort", "1", "x:41", "64"},
         2,
         "長度 64 超過所給的資料"},
        {{"QVOpenPort", "1", "", "+", "QV3BitMap", "1", "0", "t:ABC", "300"},
         2,
         "長度 300 超過所給的資料（3 個位元組）"},
        {{"QVOpenPort", "1", "", "+", "VFDChrDnLoad", "1", "1", "x:010203040506"},
         2,
         "字型圖樣最多 5 個位元組"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        QvctlRun r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_TRUE(r.device.empty());
    }
}

TEST_F(QvctlOnPty, HelpAndListAnswerWithoutCalling) {
    QvctlRun help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: qvctl", 0), 0U);
    EXPECT_NE(help.out.find("Examples:"), std::string::npos);
    QvctlRun list = run({"--list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_NE(list.out.find("\nQV7PrnBar port a b c d e text\n"), std::string::npos);
    EXPECT_NE(list.out.find("\nQV71BitMapD port file\n"), std::string::npos);
}

} // namespace
} // namespace qv::test
