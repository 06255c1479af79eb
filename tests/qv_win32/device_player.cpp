// The Linux side of the qv.dll tests: plays the device on the pseudo-terminal
// that Wine maps to COM1, and answers the test program's requests on the one
// mapped to COM2 (see device_line.h). Usage:
//   qv_device_player PORTS_DIR PROGRAM.exe ARGS...
// PORTS_DIR/com1 and PORTS_DIR/com2 are made links to the two terminals (the
// Wine prefix maps COM1 and COM2 to them); the program runs under Wine
// meanwhile, and its exit status is the player's. The terminals stay open
// until the Wine server has ended: it holds them, and a terminal whose other
// side goes away hangs up on its holder.
// Asked for the screen, it captures the X display's root window (DISPLAY).
// WINELOADER names the Wine loader (wine when unset). When the kernel cannot
// run the loader (a 32-bit Wine on a kernel without 32-bit support) the tests
// are skipped: the exit status is then 77.

#include "hex_text.h"
#include "root_capture.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Terminal {
    int master = -1;
    int slave = -1; // held open, so the master never sees the line hang up
    std::string name;
};

bool openTerminal(Terminal& t) {
    t.master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (t.master < 0 || grantpt(t.master) != 0 || unlockpt(t.master) != 0)
        return false;
    t.name = ptsname(t.master);
    t.slave = open(t.name.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (t.slave < 0 || tcgetattr(t.slave, &raw) != 0)
        return false;
    cfmakeraw(&raw);
    return tcsetattr(t.slave, TCSANOW, &raw) == 0;
}

bool linkTo(const std::filesystem::path& link, const std::string& target) {
    std::filesystem::path fresh = link.string() + ".new";
    std::error_code error;
    std::filesystem::remove(fresh, error);
    std::filesystem::create_symlink(target, fresh, error);
    if (!error)
        std::filesystem::rename(fresh, link, error);
    return !error;
}

bool endsWith(const Bytes& bytes, const Bytes& tail) {
    return bytes.size() >= tail.size() && std::equal(tail.rbegin(), tail.rend(), bytes.rbegin());
}

unsigned baudOf(speed_t speed) {
    static const std::pair<speed_t, unsigned> kRates[] = {
        {B110, 110},     {B300, 300},     {B600, 600},       {B1200, 1200},
        {B2400, 2400},   {B4800, 4800},   {B9600, 9600},     {B19200, 19200},
        {B38400, 38400}, {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
    };
    for (const auto& [s, rate] : kRates) {
        if (s == speed)
            return rate;
    }
    return 0;
}

// The device: collects what it receives and answers armed requests.
class Player {
public:
    Player(Terminal& device, Terminal& control) : m_device(device), m_control(control) {}

    void onDeviceInput() {
        std::uint8_t buffer[256];
        ssize_t n = read(m_device.master, buffer, sizeof buffer);
        if (n <= 0)
            return;
        m_received.insert(m_received.end(), buffer, buffer + n);
        for (auto it = m_armed.begin(); it != m_armed.end();) {
            it->seen.insert(it->seen.end(), buffer, buffer + n);
            if (endsWith(it->seen, it->request)) {
                writeAll(m_device.master, it->reply);
                it = m_armed.erase(it);
            } else {
                ++it;
            }
        }
    }

    void onControlInput() {
        char buffer[256];
        ssize_t n = read(m_control.master, buffer, sizeof buffer);
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] != '\n') {
                m_command += buffer[i];
                continue;
            }
            std::string reply = run(m_command) + "\n";
            writeAll(m_control.master, Bytes(reply.begin(), reply.end()));
            m_command.clear();
        }
    }

private:
    struct Armed {
        Bytes request;
        Bytes reply;
        Bytes seen;
    };

    static void writeAll(int fd, const Bytes& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0 && errno != EINTR)
                return;
            done += n > 0 ? static_cast<std::size_t>(n) : 0;
        }
    }

    // Whatever is still on its way to the device arrives first.
    void drainDevice() {
        pollfd p{m_device.master, POLLIN, 0};
        while (poll(&p, 1, 20) > 0 && (p.revents & POLLIN) != 0)
            onDeviceInput();
    }

    std::string run(const std::string& command) {
        if (command == "clear") {
            drainDevice();
            m_received.clear();
            m_armed.clear();
            return "ok";
        }
        if (command == "take") {
            drainDevice();
            std::string reply = "bytes " + qv::test::hexText(m_received);
            m_received.clear();
            return reply;
        }
        if (command == "line") {
            termios t{};
            tcgetattr(m_device.slave, &t);
            return "line " + std::to_string(baudOf(cfgetospeed(&t))) + " " +
                   ((t.c_cflag & CSTOPB) != 0 ? "2" : "1");
        }
        if (command.rfind("screen ", 0) == 0)
            return screen(command.substr(7));
        if (command.rfind("answer ", 0) == 0) {
            std::size_t gap = command.find(' ', 7);
            if (gap == std::string::npos)
                return "error";
            m_armed.push_back({qv::test::bytesOfHexText(command.substr(7, gap - 7)),
                               qv::test::bytesOfHexText(command.substr(gap + 1)),
                               {}});
            return "ok";
        }
        return "error";
    }

    // "screen X Y W H": the root window's pixels of that box, captured now,
    // three bytes (red, green, blue) a pixel, rows top first.
    static std::string screen(const std::string& box) {
        int x = 0, y = 0, w = 0, h = 0;
        if (std::sscanf(box.c_str(), "%d %d %d %d", &x, &y, &w, &h) != 4)
            return "error the box is not X Y W H";
        qv::test::RootCapture capture;
        std::string error;
        if (!qv::test::captureRoot(capture, error))
            return "error " + error;
        if (x < 0 || y < 0 || w <= 0 || h <= 0 || x + w > capture.width || y + h > capture.height)
            return "error the box leaves the screen";
        Bytes rgb;
        for (int row = y; row < y + h; ++row) {
            for (int column = x; column < x + w; ++column) {
                const std::uint32_t pixel = capture.at(column, row);
                rgb.push_back(static_cast<std::uint8_t>(pixel >> 16));
                rgb.push_back(static_cast<std::uint8_t>(pixel >> 8));
                rgb.push_back(static_cast<std::uint8_t>(pixel));
            }
        }
        return "screen " + qv::test::hexText(rgb);
    }

    Terminal& m_device;
    Terminal& m_control;
    Bytes m_received;
    std::vector<Armed> m_armed;
    std::string m_command;
};

// The exit status that ctest counts as a skipped test.
constexpr int kSkipped = 77;

int exitStatusOf(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PORTS_DIR PROGRAM.exe ARGS...\n", argv[0]);
        return 2;
    }
    Terminal device;
    Terminal control;
    std::filesystem::path ports = argv[1];
    std::error_code ignored;
    std::filesystem::create_directories(ports, ignored);
    if (!openTerminal(device) || !openTerminal(control) || !linkTo(ports / "com1", device.name) ||
        !linkTo(ports / "com2", control.name)) {
        std::perror("qv_device_player: pseudo-terminals");
        return 2;
    }
    const char* loader = std::getenv("WINELOADER");
    std::vector<char*> command{const_cast<char*>(loader != nullptr ? loader : "wine")};
    command.insert(command.end(), argv + 2, argv + argc + 1);
    pid_t child = fork();
    if (child == 0) {
        // execvp would hand a program the kernel refuses to the shell.
        if (std::strchr(command[0], '/') != nullptr)
            execv(command[0], command.data());
        else
            execvp(command[0], command.data());
        if (errno == ENOEXEC) {
            std::fprintf(stderr,
                         "skipped: this machine cannot run %s (its kernel refuses the program)\n",
                         command[0]);
            _exit(kSkipped);
        }
        std::perror(command[0]);
        _exit(127);
    }
    Player player(device, control);
    for (;;) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            int ended = std::system("wineserver -w");
            static_cast<void>(ended);
            return exitStatusOf(status);
        }
        pollfd fds[2] = {{device.master, POLLIN, 0}, {control.master, POLLIN, 0}};
        if (poll(fds, 2, 20) <= 0)
            continue;
        if ((fds[0].revents & POLLIN) != 0)
            player.onDeviceInput();
        if ((fds[1].revents & POLLIN) != 0)
            player.onControlInput();
    }
}
