#include "call_runner.h"

#include "arguments.h"
#include "dynamic_call.h"

#include "qv.h"

#include <cstring>
#include <dlfcn.h>
#include <iomanip>
#include <link.h>
#include <list>
#include <sstream>
#include <stdexcept>

namespace qvctl {

namespace {

constexpr std::size_t kStatusSize = 16;

std::string hexLine(const std::uint8_t* bytes, std::size_t count) {
    std::ostringstream out;
    out << std::hex << std::uppercase << std::setfill('0');
    for (std::size_t i = 0; i < count; ++i)
        out << (i > 0 ? " " : "") << std::setw(2) << static_cast<int>(bytes[i]);
    return out.str();
}

// The arguments of one call in the form the export takes them, with the
// storage they point into.
struct PreparedArgs {
    std::vector<CallArg> args;
    std::list<std::vector<std::uint8_t>> storage; // stable addresses
    std::vector<std::uint8_t>* readBuffer = nullptr;
    std::vector<std::uint8_t>* filledBuffer = nullptr;
    QvOsVersionInfo* version = nullptr;
    QvOsVersionInfo versionRecord{};

    void* store(std::vector<std::uint8_t> bytes) {
        storage.push_back(std::move(bytes));
        return storage.back().data();
    }
};

void prepare(const PlannedCall& call, PreparedArgs& p) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < call.params.size(); ++i) {
        const char letter = call.params[i];
        CallArg arg{isPointerParam(letter), 0, nullptr};
        const std::string* given = isGivenParam(letter) ? &call.arguments[next++] : nullptr;
        switch (letter) {
        case 'i':
            arg.number = *parseNumber(*given);
            break;
        case 't':
        case 'd':
        case 'p': {
            std::vector<std::uint8_t> bytes = *argumentBytes(*given);
            if (letter == 'p')
                bytes.resize(kPatternSize, 0); // the export always reads a whole pattern
            bytes.push_back(0);                // texts end with NUL; bytes get one spare
            arg.pointer = p.store(std::move(bytes));
            break;
        }
        case 'f': {
            std::vector<std::uint8_t> name(given->begin(), given->end());
            name.push_back(0);
            arg.pointer = p.store(std::move(name));
            break;
        }
        case 's': {
            std::vector<std::uint8_t> blanks(static_cast<std::size_t>(*parseNumber(*given)), ' ');
            blanks.push_back(0);
            arg.pointer = p.store(std::move(blanks));
            p.readBuffer = &p.storage.back();
            break;
        }
        case 'r': {
            auto size = *parseNumber(call.arguments[next]); // the length after it
            arg.pointer = p.store(std::vector<std::uint8_t>(static_cast<std::size_t>(size) + 1));
            p.readBuffer = &p.storage.back();
            break;
        }
        case 'b':
            arg.pointer = p.store(std::vector<std::uint8_t>(kStatusSize));
            p.filledBuffer = &p.storage.back();
            break;
        case 'v':
            p.version = &p.versionRecord;
            arg.pointer = p.version;
            break;
        }
        p.args.push_back(arg);
    }
}

std::string callText(const PlannedCall& call) {
    std::string text = call.name + "(";
    std::size_t next = 0;
    for (char letter : call.params) {
        if (!isGivenParam(letter))
            continue;
        if (next > 0)
            text += ", ";
        const std::string& a = call.arguments[next++];
        text += letter == 'i' || letter == 's' ? a : "\"" + a + "\"";
    }
    return text + ")";
}

void writeStatus(const Library& library, std::ostream& out) {
    std::uint8_t status[kStatusSize] = {};
    void* getQvSta = library.symbol("GetQvSta");
    CallArg arg{true, 0, status};
    callForNumber(getQvSta, std::span(&arg, 1));
    out << "  StaBuf: " << hexLine(status, kStatusSize) << "\n";
}

} // namespace

Library::Library(const std::string& path) {
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr)
        throw std::runtime_error(dlerror());
}

void* Library::symbol(const std::string& name) const {
    dlerror();
    void* address = dlsym(m_handle, name.c_str());
    // dlsym also searches the libraries this one depends on (the C library
    // among them): a name they define is not one of the library's exports.
    Dl_info info{};
    link_map* owner = nullptr;
    link_map* self = nullptr;
    if (address == nullptr ||
        dladdr1(address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0 ||
        dlinfo(m_handle, RTLD_DI_LINKMAP, &self) != 0 || owner != self)
        throw std::runtime_error("the library has no export named " + name);
    return address;
}

void runCall(const Library& library, const PlannedCall& call, bool showStatus, std::ostream& out) {
    void* function = library.symbol(call.name);
    PreparedArgs p;
    prepare(call, p);
    out << callText(call) << " = ";
    std::int32_t number = 0;
    switch (call.result) {
    case ResultKind::Integer:
        number = callForNumber(function, p.args);
        out << number << "\n";
        break;
    case ResultKind::StatusBuffer:
        callForPointer(function, p.args);
        out << "status buffer\n";
        showStatus = true;
        break;
    case ResultKind::Text: {
        const auto* text = static_cast<const char*>(callForPointer(function, p.args));
        out << '"' << (text != nullptr ? text : "") << "\"\n";
        break;
    }
    }
    if (p.readBuffer != nullptr) {
        // The bytes the export read: its result, within the buffer.
        std::size_t size = p.readBuffer->size() - 1;
        std::size_t count = number < 0 ? 0 : std::min(static_cast<std::size_t>(number), size);
        out << "  read: " << hexLine(p.readBuffer->data(), count) << "\n";
    }
    if (p.filledBuffer != nullptr)
        out << "  buffer: " << hexLine(p.filledBuffer->data(), p.filledBuffer->size()) << "\n";
    if (p.version != nullptr) {
        const QvOsVersionInfo& v = *p.version;
        out << "  version: " << v.dwMajorVersion << "." << v.dwMinorVersion << " build "
            << v.dwBuildNumber << ", platform " << v.dwPlatformId << ", \""
            << std::string(v.szCSDVersion, strnlen(v.szCSDVersion, sizeof v.szCSDVersion))
            << "\"\n";
    }
    if (showStatus || call.showsStatus)
        writeStatus(library, out);
}

} // namespace qvctl
