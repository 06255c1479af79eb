// BMP files sent to the graphic display: refusals, the header, rows from the
// top with lit dots set, and the status bytes.

#include "bmp_fixture.h"
#include "drawing_fixture.h"

#include <sys/stat.h>

namespace qv::test {
namespace {

class D304BmpTest : public DrawingQv {
protected:
    void SetUp() override {
        DrawingQv::SetUp();
        ASSERT_EQ(QVOpenPort(1, ""), 1);
        com(1).events.clear();
    }

    // The rows the display should get: dark dots set, from the top.
    static std::vector<Bytes> expectedRows(int width, int height,
                                           const std::function<bool(int, int)>& dark) {
        std::vector<Bytes> rows;
        for (int y = 0; y < height; ++y) {
            Bytes row(static_cast<std::size_t>((width + 7) / 8), 0);
            for (int x = 0; x < width; ++x) {
                if (dark(x, y))
                    row[static_cast<std::size_t>(x / 8)] |=
                        static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
            rows.push_back(row);
        }
        return rows;
    }

    TempFolder folder;
};

bool diagonalStripes(int x, int y) {
    return (x + 2 * y) % 5 == 0;
}

TEST_F(D304BmpTest, RefusedFilesSendNothing) {
    auto withByte = [](Bytes b, std::size_t at, std::uint8_t v) {
        b[at] = v;
        return b;
    };
    const Bytes good = makeBmp(16, 8, diagonalStripes);
    struct Case {
        const char* name;
        std::function<std::string()> file;
        int32_t expected;
    };
    const Case cases[] = {
        {"missing", [&] { return folder.path("none.bmp"); }, -9},
        {"a folder", [&] { return folder.path(""); }, -9},
        {"no name", [] { return std::string(); }, -9},
        {"57 bytes",
         [&] { return folder.write("short.bmp", Bytes(good.begin(), good.begin() + 57)); }, -1},
        {"not starting with B", [&] { return folder.write("x.bmp", withByte(good, 0, 'X')); }, -2},
        {"241 dots wide", [&] { return folder.write("w.bmp", makeBmp(241, 8, diagonalStripes)); },
         -3},
        {"width 0", [&] { return folder.write("w0.bmp", withByte(withByte(good, 18, 0), 19, 0)); },
         -4},
        {"height 0", [&] { return folder.write("h0.bmp", withByte(good, 22, 0)); }, -5},
        {"65 rows", [&] { return folder.write("h65.bmp", makeBmp(16, 65, diagonalStripes)); }, -5},
        {"stored top-down",
         [&] { return folder.write("td.bmp", withByte(withByte(good, 24, 0xFF), 25, 0xFF)); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state().StaBuf.fill(0xEE);
        std::string file = c.file();
        int32_t result =
            D304Bmp(1, 0x41, 0x42, c.name == std::string("no name") ? nullptr : file.c_str());
        if (c.expected != 0) {
            EXPECT_EQ(result, c.expected);
            EXPECT_TRUE(com(1).writes().empty());
            EXPECT_EQ(GetQvStaNum(10), 0xEE);
        } else {
            EXPECT_EQ(result, 2); // only the low 16 bits of the height are read
        }
        com(1).events.clear();
    }
}

TEST_F(D304BmpTest, FullDisplaySends240By64) {
    std::string file = folder.write("full.bmp", makeBmp(240, 64, diagonalStripes));
    EXPECT_EQ(D304Bmp(1, 0x01, 0x02, file.c_str()), 30);
    auto writes = com(1).writes();
    ASSERT_EQ(writes.size(), 65U);
    EXPECT_EQ(writes[0], (Bytes{0x1B, 0x5A, 0x02, 0x01, 0xF0, 0x40}));
    std::vector<Bytes> rows(writes.begin() + 1, writes.end());
    EXPECT_EQ(rows, expectedRows(240, 64, diagonalStripes));
    EXPECT_EQ(GetQvStaNum(10), 0x02);
    EXPECT_EQ(GetQvStaNum(11), 0x01);
    EXPECT_EQ(GetQvStaNum(12), 0xF0);
    EXPECT_EQ(GetQvStaNum(13), 0x40);
}

TEST_F(D304BmpTest, WidthsThatAreNotWholeBytesKeepTheirPaddingDark) {
    struct Case {
        int width, height;
        bool padBits;
    };
    const Case cases[] = {
        {10, 3, false}, {10, 3, true}, {1, 1, false}, {233, 5, false}, {17, 64, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        com(1).events.clear();
        std::string file =
            folder.write("pad.bmp", makeBmp(c.width, c.height, diagonalStripes, c.padBits));
        int rowBytes = (c.width + 7) / 8;
        EXPECT_EQ(D304Bmp(1, 0, 0, file.c_str()), rowBytes);
        auto writes = com(1).writes();
        ASSERT_EQ(writes.size(), static_cast<std::size_t>(1 + c.height));
        EXPECT_EQ(writes[0][4], c.width & 0xFF);
        EXPECT_EQ(writes[0][5], c.height);
        std::vector<Bytes> rows(writes.begin() + 1, writes.end());
        EXPECT_EQ(rows, expectedRows(c.width, c.height, diagonalStripes));
    }
}

TEST_F(D304BmpTest, RowsComeFromTheEndOfTheFile) {
    // Extra bytes between the header and the rows are not looked at.
    Bytes bytes = makeBmp(8, 2, [](int x, int y) { return y == 0 && x < 4; });
    bytes.insert(bytes.begin() + 62, 40, 0x00);
    std::string file = folder.write("gap.bmp", bytes);
    EXPECT_EQ(D304Bmp(1, 0, 0, file.c_str()), 1);
    auto writes = com(1).writes();
    ASSERT_EQ(writes.size(), 3U);
    EXPECT_EQ(writes[1], Bytes{0xF0});
    EXPECT_EQ(writes[2], Bytes{0x00});
}

TEST_F(D304BmpTest, ResultIsTheLastRowSendAndGoesToTheGivenPort) {
    std::string file = folder.write("p.bmp", makeBmp(24, 4, diagonalStripes));
    EXPECT_EQ(D304Bmp(2, 0, 0, file.c_str()), 0); // COM2 is closed
    EXPECT_EQ(D304Bmp(20, 0, 0, file.c_str()), 0);
    EXPECT_EQ(GetQvStaNum(12), 24);
    ASSERT_EQ(QVOpenPort(2, ""), 1);
    com(2).events.clear();
    com(2).writeLimit = 2;
    EXPECT_EQ(D304Bmp(2, 0, 0, file.c_str()), 2);
    EXPECT_EQ(com(2).writes().size(), 5U);
    EXPECT_TRUE(com(1).writes().empty());
}

} // namespace
} // namespace qv::test
