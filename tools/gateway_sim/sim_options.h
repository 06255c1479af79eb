#pragma once

#include <optional>
#include <set>
#include <string>

// What the simulator was started with.
struct SimOptions {
    int port = -1; // 0 picks a free port
    // The account values every request must carry, as UTF-8 text.
    std::string suppId;
    std::string systemId;
    std::string custId;
    std::string custPwd;
    std::string custName;
    long credit = 100;
    std::string logPath; // JSON lines of received messages; none when empty
    int delayMs = 0;     // wait this long before every answer
    // When not empty, only these send requests wait (1 is the first to
    // arrive); every other request answers at once.
    std::set<long> slowMessages;
    int errorStatus = 0;        // answer every request with this HTTP status
    bool drop = false;          // close every connection instead of answering
    bool takeThenClose = false; // take and log each message, close without an answer byte
    bool utf8Answers = false;   // plain answers in UTF-8 (and say so) instead of Big5
    bool help = false;
};

// Parses the command line. Returns nothing and sets *error when it is wrong.
std::optional<SimOptions> parseOptions(int argc, char** argv, std::string* error);

// The text --help prints.
std::string helpText();
