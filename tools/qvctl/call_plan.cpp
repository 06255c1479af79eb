#include "call_plan.h"

#include "arguments.h"
#include "dynamic_call.h"

namespace qvctl {

namespace {

std::string describeParams(const PlannedCall& call) {
    return call.paramNames.empty() ? "no arguments" : "arguments: " + call.paramNames;
}

void checkArgument(const PlannedCall& call, char letter, const std::string& argument) {
    const std::string where = call.name + ": ";
    switch (letter) {
    case 'i':
        if (!parseNumber(argument))
            throw UsageError(where + "'" + argument + "' is not a number");
        break;
    case 's': {
        auto count = parseNumber(argument);
        if (!count || *count < 0 || *count > kMaxReadSize)
            throw UsageError(where + "'" + argument + "' is not a count from 0 to " +
                             std::to_string(kMaxReadSize));
        break;
    }
    case 't':
    case 'd':
    case 'p':
        if (!argumentBytes(argument))
            throw UsageError(where + "'" + argument + "' is not valid hex bytes");
        if (letter == 'p' && argumentBytes(argument)->size() > kPatternSize)
            throw UsageError(where + "字型圖樣最多 " + std::to_string(kPatternSize) +
                             " 個位元組，所給的有 " +
                             std::to_string(argumentBytes(argument)->size()) + " 個");
        break;
    default: // file names are taken as they are
        break;
    }
}

// The export reads as many bytes as the number after a byte argument says:
// more than were given would be read from beyond them.
void checkDataLength(const PlannedCall& call, const std::string& data, const std::string& length) {
    const std::size_t given = argumentBytes(data)->size();
    const std::int32_t wanted = *parseNumber(length);
    if (wanted > 0 && static_cast<std::size_t>(wanted) > given)
        throw UsageError(call.name + ": 長度 " + std::to_string(wanted) + " 超過所給的資料（" +
                         std::to_string(given) + " 個位元組），未送出任何資料");
}

void checkCall(const PlannedCall& call) {
    const std::string& params = call.params;
    std::size_t given = 0;
    for (char letter : params)
        given += isGivenParam(letter) ? 1 : 0;
    if (call.arguments.size() != given)
        throw UsageError(call.name + " takes " + std::to_string(given) + " argument(s) (" +
                         describeParams(call) + "), " + std::to_string(call.arguments.size()) +
                         " given");
    if (params.size() > kMaxCallArgs)
        throw UsageError(call.name + ": more than " + std::to_string(kMaxCallArgs) + " arguments");
    std::size_t next = 0;
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (!isGivenParam(params[i]))
            continue;
        checkArgument(call, params[i], call.arguments[next]);
        if (i > 0 && params[i - 1] == 'd' && params[i] == 'i')
            checkDataLength(call, call.arguments[next - 1], call.arguments[next]);
        // A read buffer's size is the number after it.
        if (i > 0 && params[i - 1] == 'r') {
            auto size = parseNumber(call.arguments[next]);
            if (*size < 0 || *size > kMaxReadSize)
                throw UsageError(call.name + ": a length from 0 to " +
                                 std::to_string(kMaxReadSize) + " is needed");
        }
        ++next;
    }
}

// Only the library's own exports are called: any other name would be looked
// up in the libraries it depends on and called with arguments made up.
std::string unknownExportText(const std::string& name) {
    std::string text = "QV 沒有名為 " + name + " 的函式，未呼叫任何函式";
    std::vector<std::string_view> near = closestExports(name);
    for (std::size_t i = 0; i < near.size(); ++i)
        text += (i == 0 ? "；相近的有：" : "、") + std::string(near[i]);
    return text + "（qvctl --list 列出全部 " + std::to_string(knownExports().size()) + " 個）";
}

PlannedCall planOne(std::span<const std::string> words) {
    PlannedCall call;
    call.arguments.assign(words.begin() + 1, words.end());
    call.name = words.front();
    auto info = findExport(call.name);
    if (!info)
        throw UsageError(unknownExportText(call.name));
    call.params = info->params;
    call.paramNames = info->paramNames;
    call.result = info->result;
    call.showsStatus = info->showsStatus;
    checkCall(call);
    return call;
}

} // namespace

std::vector<PlannedCall> planCalls(std::span<const std::string> words) {
    std::vector<PlannedCall> calls;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= words.size(); ++i) {
        if (i < words.size() && words[i] != kCallSeparator)
            continue;
        if (i == start)
            throw UsageError("an export name is missing before or after '+'");
        calls.push_back(planOne(words.subspan(start, i - start)));
        start = i + 1;
    }
    return calls;
}

} // namespace qvctl
