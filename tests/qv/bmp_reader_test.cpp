// The one rule every BMP export follows (QV7BitMap, QV71BitMapD, D304Bmp): a
// file that cannot hold the rows its header promises is refused with -6, a
// file another program holds is refused with -9, both before any byte goes
// to the port, and a file that cannot be opened says why through WinErrCode.

#include "printer_bmp_files.h"
#include "qv_fixture.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <unistd.h>

namespace qv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct BmpExport {
    const char* name;
    std::function<int32_t(const char*)> send;
    int32_t resultForTwoByteRows; // what a good 16-dot-wide file gives
};

const BmpExport kExports[] = {
    {"QV7BitMap", [](const char* f) { return QV7BitMap(1, 0, 0, f); }, 2},
    {"QV71BitMapD", [](const char* f) { return QV71BitMapD(1, f); }, 2},
    {"D304Bmp", [](const char* f) { return D304Bmp(1, 0, 0, f); }, 2},
};

class BmpReader : public FakeQv {
protected:
    void SetUp() override {
        FakeQv::SetUp();
        com(1).modem = platform::kCtsOn; // QV7BitMap paces on CTS
        ASSERT_EQ(QVOpenPort(1, ""), 1);
    }

    // Runs every export on path; each must give expected and send nothing
    // when it refuses.
    void expectEveryExport(const char* path, int32_t refusal, std::uint32_t error = 0) {
        for (const BmpExport& e : kExports) {
            SCOPED_TRACE(e.name);
            com(1).events.clear();
            fake.setLastError(0);
            int32_t result = e.send(path);
            if (refusal == 0) {
                EXPECT_EQ(result, e.resultForTwoByteRows);
                EXPECT_FALSE(com(1).writes().empty());
                continue;
            }
            EXPECT_EQ(result, refusal);
            EXPECT_TRUE(com(1).writes().empty());
            EXPECT_EQ(static_cast<std::uint32_t>(WinErrCode()), error);
        }
    }
};

Bytes rows16(int stored, std::optional<std::int32_t> promised = std::nullopt) {
    return bmpBytes({16, promised, std::vector<Bytes>(static_cast<std::size_t>(stored), {0, 0})});
}

TEST_F(BmpReader, FilesTooShortForTheirRowsAreRefusedByEveryExport) {
    struct Case {
        const char* name;
        Bytes file;
        int32_t refusal;
    };
    // Rows are counted back from the end, so a file needs 54 header bytes
    // and 8 rows of 4: 86 bytes.
    Bytes oneByteShort = rows16(8);
    oneByteShort.resize(85);
    Bytes justEnough = rows16(8);
    justEnough.resize(86);
    Bytes headersOnly = rows16(2);
    headersOnly.resize(58);
    Bytes gap = rows16(8);
    gap.insert(gap.begin() + 62, 40, 0x00); // bytes between header and rows are allowed
    const Case cases[] = {
        {"8 rows promised, 5 stored", rows16(5, 8), -6},
        {"8 rows in 85 bytes", oneByteShort, -6},
        {"8 rows in 86 bytes", justEnough, 0},
        {"rows would reach into the headers: 58 bytes, 2 rows", headersOnly, -6},
        {"8 rows stored", rows16(8), 0},
        {"8 rows after a gap", gap, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file(c.file);
        expectEveryExport(file.path(), c.refusal);
    }
}

TEST_F(BmpReader, AFileAnotherProgramHoldsIsRefusedByEveryExport) {
    TempFile file(rows16(8));
    int fd = ::open(file.path(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    expectEveryExport(file.path(), -9, EBUSY);
    ::close(fd);
    expectEveryExport(file.path(), 0);
}

TEST_F(BmpReader, AFileThatCannotBeOpenedSaysWhyInWinErrCode) {
    const std::string folder = testing::TempDir();
    const std::string missing = folder + "/qv_no_such_file.bmp";
    expectEveryExport(missing.c_str(), -9, ENOENT);
    expectEveryExport(folder.c_str(), -9, EISDIR);
    expectEveryExport(nullptr, -9, EINVAL);
}

} // namespace
} // namespace qv::test
