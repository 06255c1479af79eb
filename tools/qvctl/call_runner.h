#pragma once
// Running planned calls on the loaded library and reporting their results.

#include "call_plan.h"

#include <ostream>
#include <string>

namespace qvctl {

// The loaded libqv.so; it stays loaded for the life of the program, as the
// library's ports and state live in it.
class Library {
public:
    // Loads the library; throws std::runtime_error with the loader's message.
    explicit Library(const std::string& path);
    // The export's address; throws std::runtime_error when there is none.
    void* symbol(const std::string& name) const;

private:
    void* m_handle = nullptr;
};

// Runs one call and writes a line with its arguments and result, and lines
// with what it filled: the status buffer (for exports that write it, or
// every call with showStatus), bytes read, a filled buffer or record.
void runCall(const Library& library, const PlannedCall& call, bool showStatus, std::ostream& out);

} // namespace qvctl
