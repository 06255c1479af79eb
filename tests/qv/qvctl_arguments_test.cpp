// qvctl's reading of its command line: numbers, hex bytes and texts, the
// splitting into calls with their checks, and a signature for every export
// the library publishes.

#include "arguments.h"
#include "call_plan.h"
#include "call_runner.h"
#include "elf_symbols.h"
#include "export_table.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace qvctl {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(QvctlArguments, Numbers) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {"-5", -5},
        {"0x1B", 0x1B},
        {"0X1b", 0x1B},
        {"-0x10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"4294967295", -1},
        {"0xFFFFFFFF", -1},
        {"4294967296", std::nullopt},
        {"-2147483649", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"0x", std::nullopt},
        {"12a", std::nullopt},
        {"+3", std::nullopt},
        {"9600,N,8,1", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseNumber(c.text), c.value);
    }
}

TEST(QvctlArguments, TextsAndHexBytes) {
    struct Case {
        const char* argument;
        std::optional<Bytes> bytes;
    };
    const Case cases[] = {
        {"AB", Bytes{'A', 'B'}},
        {"", Bytes{}},
        {"x:1B40", Bytes{0x1B, 0x40}},
        {"x:1b 4f 00", Bytes{0x1B, 0x4F, 0x00}},
        {"x:", Bytes{}},
        {"x:1", std::nullopt},
        {"x:1G", std::nullopt},
        {"x:1B4", std::nullopt},
        {"t:x:1B", Bytes{'x', ':', '1', 'B'}},
        {"t:+", Bytes{'+'}},
        {"\xA4\xA4", Bytes{0xA4, 0xA4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        EXPECT_EQ(argumentBytes(c.argument), c.bytes);
    }
}

TEST(QvctlArguments, OnlyTheLibrarysOwnExportsAreCalled) {
    // C library names, a misspelt or wrongly cased export: refused before
    // anything runs, with the nearest exports offered.
    struct Case {
        std::vector<std::string> words;
        std::vector<std::string> offered; // the first names offered, nearest first
    };
    const Case cases[] = {
        {{"strlen", "5"}, {}},
        {{"abort"}, {}},
        {{"puts", "hello"}, {}},
        {{"qv7reset", "1"}, {"QV7Reset"}},
        {{"QVOpenPrt", "1", "9600,N,8,1"}, {"QVOpenPort"}},
        {{"QV7Rset", "1"}, {"QV7Reset", "QV3Reset"}},
        {{"QVOpenPort", "1", "", "+", "VFDCl", "1"}, {"VFDCls"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.words));
        try {
            planCalls(c.words);
            ADD_FAILURE() << "accepted";
        } catch (const UsageError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find("QV 沒有名為"), std::string::npos) << text;
            std::size_t at = 0;
            for (const std::string& name : c.offered) {
                std::size_t found = text.find(name, at);
                EXPECT_NE(found, std::string::npos) << name << " in " << text;
                at = found == std::string::npos ? at : found + name.size();
            }
        }
    }
    for (const char* libc : {"strlen", "abort", "puts"})
        EXPECT_TRUE(closestExports(libc).empty()) << libc;
    EXPECT_EQ(closestExports("qv7reset", 1), std::vector<std::string_view>{"QV7Reset"});
}

TEST(QvctlLibrary, NamesFromTheLibrarysDependenciesAreNotExports) {
    const Library library(QV_LIBRARY_PATH);
    EXPECT_NE(library.symbol("QV7Reset"), nullptr);
    for (const char* name : {"strlen", "abort", "puts", "dlopen", "FT_Init_FreeType", "NoSuch"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(library.symbol(name), std::runtime_error);
    }
}

TEST(QvctlArguments, CallsAreSplitAtPlusAndChecked) {
    const std::vector<std::string> words{"QVOpenPort", "1",  "9600,N,8,1", "+",         "QV7PrnBar",
                                         "1",          "73", "2",          "3",         "4",
                                         "5",          "+",  "+",          "QVReadPort"};
    // The second call lacks its text, the third is empty.
    EXPECT_THROW(planCalls(words), UsageError);

    const std::vector<std::string> good{"QVOpenPort", "1",  "",  "+",       "QVReadPort",
                                        "1",          "16", "+", "QV3Prn",  "0x2",
                                        "name",       "3",  "+", "GetQvSta"};
    auto calls = planCalls(good);
    ASSERT_EQ(calls.size(), 4U);
    EXPECT_EQ(calls[0].params, "it");
    EXPECT_EQ(calls[1].params, "iri");
    EXPECT_EQ(calls[1].arguments, (std::vector<std::string>{"1", "16"}));
    EXPECT_EQ(calls[2].params, "iti");
    EXPECT_EQ(calls[3].params, "b");
    EXPECT_TRUE(calls[3].arguments.empty());
}

TEST(QvctlArguments, LengthsUpToTheDataGivenAreAccepted) {
    const std::vector<std::vector<std::string>> cases{
        {"QVSendPort", "1", "x:4142", "2"}, {"QVSendPort", "1", "x:4142", "1"},
        {"QVSendPort", "1", "", "0"},       {"QVSendPort", "1", "AB", "-5"},
        {"QV9BitMap", "1", "0", "t:", "0"}, {"VFDChrDnLoad", "1", "1", "x:0102030405"},
        {"VFDChrDnLoad", "1", "1", ""},
    };
    for (const auto& words : cases) {
        SCOPED_TRACE(testing::PrintToString(words));
        EXPECT_NO_THROW(planCalls(words));
    }
}

TEST(QvctlArguments, BadArgumentsAreRefusedBeforeAnythingRuns) {
    const std::vector<std::vector<std::string>> cases{
        {},
        {"+"},
        {"QV7Reset"},
        {"QV7Reset", "1", "2"},
        {"QV7Reset", "one"},
        {"QVSendPort", "1", "x:ZZ", "1"},
        {"QVSendPort", "1", "x:41", "64"},
        {"QVSendPort", "1", "", "1"},
        {"QV71BitMap", "1", "0", "x:0102", "3"},
        {"VFDChrDnLoad", "1", "1", "x:010203040506"},
        {"QVReadPort", "1", "-1"},
        {"QVReadPort", "1", "2000000"},
        {"QVReadStr", "1", "-3"},
        {"QV7Reset", "1", "+"},
        {"Unknown", "1", "2", "3", "4", "5", "6", "7", "8", "9"},
    };
    for (const auto& words : cases) {
        SCOPED_TRACE(testing::PrintToString(words));
        EXPECT_THROW(planCalls(words), UsageError);
    }
}

TEST(QvctlExportTable, KnowsEveryPublishedExport) {
    std::set<std::string> known;
    for (const ExportInfo& e : knownExports()) {
        known.insert(std::string(e.name));
        // The named arguments are the ones a caller gives.
        std::size_t given = 0;
        for (char letter : e.params)
            given += isGivenParam(letter) ? 1 : 0;
        std::size_t names = 0;
        for (std::size_t i = 0; i < e.paramNames.size(); ++i)
            names += (i == 0 || e.paramNames[i - 1] == ' ') ? 1 : 0;
        EXPECT_EQ(names, given) << e.name;
    }
    EXPECT_EQ(known, qv::test::versionScriptGlobals(QV_EXPORT_MAP));
}

} // namespace
} // namespace qvctl
