// Printing raster images from 1-bit BMP files: QV7BitMap (paced, escape
// guarded, CTS polled) and QV71BitMapD (downloaded in bands of 8 rows).
// Files are made by the tests; CTS answers are scripted per modem read.

#include "command_cases.h"
#include "printer_bmp_files.h"
#include "printer_image_cases.h"

#include <array>
#include <deque>
#include <sys/types.h>
#include <unistd.h>

namespace qv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Status = std::array<std::uint8_t, kStaBufSize>;
using platform::kCtsOn;
using platform::kDsrOn;

// The in-memory backend with CTS scripted per modem-status read: each entry
// answers one read (true: CTS on); once the script is used up the device's
// own modem lines answer.
class CtsScriptedBackend : public platform::FakeBackend {
public:
    std::deque<bool> cts;
    int modemReads = 0;

    std::optional<std::uint32_t> modemStatus(platform::Handle h) override {
        ++modemReads;
        auto lines = FakeBackend::modemStatus(h);
        if (!lines || cts.empty())
            return lines;
        bool on = cts.front();
        cts.pop_front();
        return on ? (*lines | kCtsOn) : (*lines & ~kCtsOn);
    }
};

class PrinterImages : public ::testing::Test {
protected:
    void SetUp() override {
        clearPathOverrides();
        platform::setBackend(&fake);
        state() = State{};
        com(1).modem = kCtsOn | kDsrOn;
        ASSERT_EQ(QVOpenPort(1, ""), 1);
        com(1).events.clear();
    }
    void TearDown() override {
        platform::setBackend(nullptr);
        state() = State{};
    }

    platform::FakeDevice& com(int n) { return fake.device(comPath(n)); }

    static std::vector<Bytes> sends(const std::vector<std::string>& hexSends) {
        std::vector<Bytes> out;
        for (const std::string& s : hexSends)
            out.push_back(hex(s));
        return out;
    }

    CtsScriptedBackend fake;
};

Status filled(std::uint8_t b) {
    Status s;
    s.fill(b);
    return s;
}

// n times the same hexadecimal byte, as one send.
std::string repeated(const char* byte, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += std::string(byte) + " ";
    return out;
}

TEST_F(PrinterImages, QV7BitMapSendsPositionHeaderAndRowsTopFirst) {
    const ImageCase cases[] = {
        {"9 dots: last byte ORed with 7F before inverting",
         {9, {}, {{0x00, 0x00}, {0xFF, 0xFF}, {0x55, 0x80}}},
         {"1B 24 02 01", "1B 2A 09 00 03 00", "FF 80", "00 00", "AA 00"},
         2},
        {"12 dots: mask 0F",
         {12, {}, {{0x0F, 0xF0}, {0xF0, 0x0F}}},
         {"1B 24 02 01", "1B 2A 0C 00 02 00", "F0 00", "0F F0"},
         2},
        {"32 dots: 4 bytes a row, stride 4",
         {32, {}, {{0x00, 0xFF, 0x0F, 0xF0}, {0x12, 0x34, 0x56, 0x78}}},
         {"1B 24 02 01", "1B 2A 20 00 02 00", "FF 00 F0 0F", "ED CB A9 87"},
         4},
        {"only the low half of the width field counts",
         {0x10009, {}, {{0x00, 0x00}}},
         {"1B 24 02 01", "1B 2A 09 00 01 00", "FF 80"},
         2},
        {"1024 dots: the widest image",
         {1024, {}, {Bytes(128, 0xFF)}},
         {"1B 24 02 01", "1B 2A 00 04 01 00", repeated("00", 128)},
         128},
        {"1B 4F inside a row goes out as 1B 4E",
         {16, {}, {{0xE4, 0xB0}}},
         {"1B 24 02 01", "1B 2A 10 00 01 00", "1B 4E"},
         2},
        {"1B at a row's end and 4F at the next row's start",
         {16, {}, {{0xFF, 0xE4}, {0xB0, 0xFF}}},
         {"1B 24 02 01", "1B 2A 10 00 02 00", "00 1B", "4E 00"},
         2},
        {"1B 1B 4F, and 4F after a replaced 4E stays",
         {24, {}, {{0xE4, 0xE4, 0xB0}, {0xE4, 0xB0, 0xB0}}},
         {"1B 24 02 01", "1B 2A 18 00 02 00", "1B 1B 4E", "1B 4E 4F"},
         3},
        {"4F without 1B before it is sent as it is",
         {16, {}, {{0xB0, 0xE4}, {0xFF, 0xFF}}},
         {"1B 24 02 01", "1B 2A 10 00 02 00", "4F 1B", "00 00"},
         2},
    };
    for (const ImageCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file(bmpBytes(c.file));
        com(1).events.clear();
        EXPECT_EQ(QV7BitMap(1, 1, 2, file.path()), c.result);
        EXPECT_EQ(com(1).writes(), sends(c.sends));
    }
}

TEST_F(PrinterImages, QV7BitMapLeavesModemStateAndSizeInTheStatusBuffer) {
    TempFile file(bmpBytes({300, 258, std::vector<Bytes>(258, Bytes(38, 0xFF))}));
    state().StaBuf.fill(0xEE);
    EXPECT_EQ(QV7BitMap(1, 0, 0, file.path()), 38);
    EXPECT_EQ(state().StaBuf,
              (Status{0x10, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0x2C, 0x01, 0x02, 0x01, 0, 0}));
}

TEST_F(PrinterImages, QV71BitMapDSendsRowsInBandsOfEight) {
    for (const ImageCase& c : qv71BitMapDCases()) {
        SCOPED_TRACE(c.name);
        TempFile file(bmpBytes(c.file));
        com(1).events.clear();
        EXPECT_EQ(QV71BitMapD(1, file.path()), c.result);
        EXPECT_EQ(com(1).writes(), sends(c.sends));
    }
}

TEST_F(PrinterImages, QV71BitMapDStatusBytes) {
    struct Case {
        BmpLayout file;
        Status status;
    };
    const Case cases[] = {
        {{12, {}, std::vector<Bytes>(10, Bytes(2))},
         {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x02, 0x02, 0x0F, 0xEE, 0xEE,
          0xEE}},
        {{32, {}, std::vector<Bytes>(8, Bytes(4))},
         {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x01, 0x04, 0xEE, 0xEE, 0xEE,
          0xEE}},
    };
    for (const Case& c : cases) {
        TempFile file(bmpBytes(c.file));
        state().StaBuf.fill(0xEE);
        QV71BitMapD(1, file.path());
        EXPECT_EQ(state().StaBuf, c.status);
    }
}

struct RefusalCase {
    const char* name;
    std::optional<Bytes> file; // empty: the path names no file
    int32_t code;
};

Bytes cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

TEST_F(PrinterImages, RefusedFilesSendNothing) {
    const Bytes good = bmpBytes({16, {}, {{0, 0}}}); // 66 bytes
    const RefusalCase cases[] = {
        {"missing file", std::nullopt, -9},
        {"57 bytes", cut(good, 57), -1},
        {"empty file", Bytes{}, -1},
        {"first byte not B", bmpBytes({16, {}, {{0, 0}}, 0xA5, 'b'}), -2},
        {"1025 dots wide", bmpBytes({1025, {}, {{0, 0}}}), -3},
        {"65535 dots wide", bmpBytes({0xFFFF, {}, {{0, 0}}}), -3},
        {"width 0", bmpBytes({0, {}, {{0, 0}}}), -4},
        {"width field 0x10000: low half 0", bmpBytes({0x10000, {}, {{0, 0}}}), -4},
        {"width 0 and height 0", bmpBytes({0, 0, {{0, 0}}}), -4},
        {"height 0", bmpBytes({16, 0, {{0, 0}}}), -5},
        {"1025 rows", bmpBytes({16, 1025, {{0, 0}}}), -5},
        {"top-down rows (negative height)", bmpBytes({16, -1, {{0, 0}}}), -5},
        {"header promises 10 rows, file holds 5", bmpBytes({16, 10, std::vector<Bytes>(5, {0, 0})}),
         -6},
        {"rows would reach into the headers", bmpBytes({16, 5, std::vector<Bytes>(2, {0, 0})}), -6},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<TempFile> file;
        std::string path = std::string(testing::TempDir()) + "/qv_no_such_file.bmp";
        if (c.file) {
            file.emplace(*c.file);
            path = file->path();
        }
        state().StaBuf.fill(0xEE);
        EXPECT_EQ(QV7BitMap(1, 1, 2, path.c_str()), c.code);
        EXPECT_EQ(QV71BitMapD(1, path.c_str()), c.code);
        EXPECT_TRUE(com(1).writes().empty());
        EXPECT_EQ(state().StaBuf, filled(0xEE));
    }
}

TEST_F(PrinterImages, PathsThatAreNoFileCannotBeOpened) {
    const std::string folder = testing::TempDir();
    for (const char* path : {folder.c_str(), static_cast<const char*>(nullptr), ""}) {
        EXPECT_EQ(QV7BitMap(1, 1, 2, path), -9);
        EXPECT_EQ(QV71BitMapD(1, path), -9);
    }
    EXPECT_TRUE(com(1).writes().empty());
}

TEST_F(PrinterImages, BytesLostToAShrinkingFileGoOutAsBlankDots) {
    struct Case {
        const char* name;
        std::function<int32_t(const char*)> transfer;
        Bytes header;
        std::vector<std::string> rows;
    };
    // Three black rows of 16 dots; once the header has gone out the file is
    // cut to 67 bytes: the top row is gone, the middle row has 1 byte left.
    const Case cases[] = {
        {"QV7BitMap",
         [](const char* f) { return QV7BitMap(1, 1, 2, f); },
         hex("1B 2A 10 00 03 00"),
         {"00 00", "FF 00", "FF FF"}},
        {"QV71BitMapD",
         [](const char* f) { return QV71BitMapD(1, f); },
         hex("1F 2A 02 01"),
         {"00 00", "FF 00", "FF FF"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file(bmpBytes({16, {}, std::vector<Bytes>(3, {0x00, 0x00})}));
        std::vector<Bytes> rows;
        bool headerSent = false;
        com(1).onWrite = [&](platform::FakeDevice&, std::span<const std::uint8_t> bytes) {
            Bytes written(bytes.begin(), bytes.end());
            if (headerSent && rows.size() < 3)
                rows.push_back(written);
            if (written == c.header) {
                headerSent = true;
                ASSERT_EQ(truncate(file.path(), 67), 0);
            }
        };
        EXPECT_EQ(c.transfer(file.path()), 2);
        EXPECT_EQ(rows, sends(c.rows));
        com(1).onWrite = nullptr;
    }
}

TEST_F(PrinterImages, QV7BitMapPausesAfterEachRowAndWaitsForCts) {
    struct Case {
        const char* name;
        std::deque<bool> cts;               // answers to the modem reads, from the first row on
        std::vector<std::uint64_t> rowGaps; // virtual ms from one row's send to the next
        int modemReads;
    };
    const Case cases[] = {
        {"CTS on: 6 ms apart", {}, {6, 6}, 3},
        {"CTS off twice after the first row", {false, false, true}, {6 + 11, 6}, 5},
        {"CTS off at the second row's check only", {true, false, true}, {6, 6}, 4},
        {"CTS off for 199 polls",
         [] {
             std::deque<bool> d(200, false);
             d.push_back(true);
             return d;
         }(),
         {6 + 199 * 11, 6},
         203},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file(bmpBytes({16, {}, std::vector<Bytes>(3, {0x00, 0x00})}));
        fake.cts = c.cts;
        fake.modemReads = 0;
        std::vector<std::uint64_t> rowTimes;
        com(1).onWrite = [&](platform::FakeDevice&, std::span<const std::uint8_t> bytes) {
            if (bytes.size() == 2 && bytes[0] == 0xFF)
                rowTimes.push_back(fake.now());
        };
        EXPECT_EQ(QV7BitMap(1, 0, 0, file.path()), 2);
        ASSERT_EQ(rowTimes.size(), 3U);
        EXPECT_EQ((std::vector{rowTimes[1] - rowTimes[0], rowTimes[2] - rowTimes[1]}), c.rowGaps);
        EXPECT_EQ(fake.modemReads, c.modemReads);
        com(1).onWrite = nullptr;
    }
}

TEST_F(PrinterImages, QV7BitMapStopsWhenCtsStaysOff) {
    struct Case {
        const char* name;
        std::deque<bool> cts;
        std::optional<std::uint32_t> lines;
        std::size_t rowsSent;
    };
    const Case cases[] = {
        {"off from the first row", std::deque<bool>(201, false), kCtsOn, 1},
        {"off after the second row",
         [] {
             std::deque<bool> d{true};
             d.insert(d.end(), 201, false);
             return d;
         }(),
         kCtsOn, 2},
        {"a device without modem lines", {}, std::nullopt, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file(bmpBytes({16, {}, std::vector<Bytes>(3, {0x00, 0x00})}));
        fake.cts = c.cts;
        com(1).modem = c.lines;
        com(1).events.clear();
        std::uint64_t start = fake.now();
        EXPECT_EQ(QV7BitMap(1, 0, 0, file.path()), -10);
        std::vector<Bytes> expected{hex("1B 24 00 00"), hex("1B 2A 10 00 03 00")};
        expected.insert(expected.end(), c.rowsSent, hex("FF FF"));
        EXPECT_EQ(com(1).writes(), expected);
        // Each row's pause, then 200 polls 10 ms apart on the last row.
        EXPECT_EQ(fake.now() - start, c.rowsSent * 6 + 200 * 11);
        EXPECT_EQ(state().StaBuf[0], 0);
    }
}

} // namespace
} // namespace qv::test
