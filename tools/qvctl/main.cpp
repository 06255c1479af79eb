// qvctl: calls exports of libqv.so by name from a shell, so an installer can
// try a printer or display, and prints each result and what the call filled.

#include "call_plan.h"
#include "call_runner.h"
#include "export_table.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kDefaultLibrary = QVCTL_DEFAULT_LIBRARY;

const char* const kHelp = R"(Usage: qvctl [options] EXPORT [ARGUMENT...] [+ EXPORT [ARGUMENT...]]...

Loads libqv.so and calls its exports by name, one after another in one
process (so a port opened by the first call stays open for the next), and
prints each call's result. Exports that fill the library's 16-byte status
buffer have it printed as well (read back with GetQvSta).

Arguments, in the export's order:
  numbers     42, -5, 0x1B (the low 32 bits are passed)
  texts       as written; x:1B40 or "x:1B 40" for hex bytes; t:... for a
              text that starts with x: or t:, or is a lone +
  file names  as written (for BMP images)
  counts      for QVReadPort and QVReadStr, how many bytes to read
Calls are separated by a lone +. Only the library's own exports (qvctl
--list) are called; any other name is refused before anything runs.

Ports: 1-9 are COM1-COM9 (/dev/ttyS0-8), 10-13 are LPT1-LPT4 (/dev/lp0-3);
QV_COM1=/dev/ttyUSB0 (and so on) points a port at another device.

Options:
  --library PATH  the library to load (default: libqv.so.1, searched next to
                  the build, in the installed library folder and the usual
                  places)
  --status        print the status buffer after every call
  --list          list the exports qvctl knows with their arguments
  --help          show this text

Exit status: 0 when every call ran, 1 when the library or an export is
missing, 2 for a command line that cannot be run.

Examples:
  QV_COM1=/dev/ttyUSB0 qvctl QVOpenPort 1 9600,N,8,1 + QV7Reset 1 \
      + QV7Prn 1 0 0 0 0 0 "Hello" + QV7Cut 1 + QVClosePort 1
  qvctl QVOpenPort 2 19200,N,8,1 + VFDCls 2 + VFDSay 2 1 1 "Total 120" \
      + P20Sta 2 + QVClosePort 2
)";

void listExports(std::ostream& out) {
    for (const qvctl::ExportInfo& e : qvctl::knownExports())
        out << e.name << (e.paramNames.empty() ? "" : " ") << e.paramNames << "\n";
}

struct Options {
    std::string library = kDefaultLibrary;
    bool status = false;
    std::vector<std::string> words; // the calls
};

// Reads the options before the first call; returns false after --help or
// --list, which have been answered.
bool readOptions(int argc, char** argv, Options& options) {
    int i = 1;
    for (; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << kHelp;
            return false;
        }
        if (a == "--list") {
            listExports(std::cout);
            return false;
        }
        if (a == "--status") {
            options.status = true;
        } else if (a == "--library") {
            if (++i == argc)
                throw qvctl::UsageError("--library needs a path");
            options.library = argv[i];
        } else if (a.starts_with("--library=")) {
            options.library = a.substr(10);
        } else if (a.starts_with("-")) {
            throw qvctl::UsageError("unknown option " + a);
        } else {
            break;
        }
    }
    options.words.assign(argv + i, argv + argc);
    if (options.words.empty())
        throw qvctl::UsageError("no export to call");
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    std::vector<qvctl::PlannedCall> calls;
    try {
        if (!readOptions(argc, argv, options))
            return 0;
        calls = qvctl::planCalls(options.words);
    } catch (const qvctl::UsageError& e) {
        std::cerr << "qvctl: " << e.what() << "\n(qvctl --help shows how to call it)\n";
        return 2;
    }
    try {
        const qvctl::Library library(options.library);
        for (const qvctl::PlannedCall& call : calls)
            library.symbol(call.name); // every export is there before any call runs
        for (const qvctl::PlannedCall& call : calls) {
            qvctl::runCall(library, call, options.status, std::cout);
            std::cout.flush();
        }
    } catch (const std::exception& e) {
        std::cerr << "qvctl: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
