#include "formats/compound_file.h"

#include "base/errors.h"

#include <QStringList>
#include <QtEndian>
#include <vector>

namespace members {
namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFreeSector = 0xFFFFFFFF;
constexpr quint32 kLastRegularSector = 0xFFFFFFFA;
constexpr int kHeaderSize = 512;
constexpr int kDirectoryEntrySize = 128;
constexpr int kHeaderFatSectors = 109;
constexpr quint8 kStreamEntry = 2;
constexpr quint8 kRootEntry = 5;

class CompoundFile {
public:
    CompoundFile(const QByteArray& bytes, const QString& path) : m_bytes(bytes), m_path(path) {
        if (bytes.size() < kHeaderSize ||
            !bytes.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1")))
            fail(QStringLiteral("不是 Excel 97-2003 活頁簿"));
        const quint16 sectorShift = u16(30);
        const quint16 miniShift = u16(32);
        if ((sectorShift != 9 && sectorShift != 12) || miniShift != 6)
            fail(QStringLiteral("檔案標頭的磁區大小無效"));
        m_sectorSize = 1u << sectorShift;
        m_miniSectorSize = 1u << miniShift;
        m_miniCutoff = u32(56);
        readFat();
        m_directory = chain(u32(48), m_fat, QStringLiteral("目錄"));
        if (m_directory.size() < kDirectoryEntrySize)
            fail(QStringLiteral("目錄是空的"));
        const QByteArray root = entry(0);
        if (quint8(root.at(66)) != kRootEntry)
            fail(QStringLiteral("目錄沒有根項目"));
        m_miniStream =
            sectors(entryStart(root), entrySize(root), m_fat, QStringLiteral("小型資料流"));
        const quint32 miniFatSectors = u32(64);
        if (miniFatSectors > 0)
            readMiniFat(u32(60));
    }

    // The bytes of the first stream whose name is one of names.
    QByteArray stream(const QStringList& names) const {
        const qsizetype count = m_directory.size() / kDirectoryEntrySize;
        for (const QString& wanted : names) {
            for (qsizetype i = 1; i < count; ++i) {
                const QByteArray item = entry(i);
                if (quint8(item.at(66)) != kStreamEntry ||
                    entryName(item).compare(wanted, Qt::CaseInsensitive) != 0)
                    continue;
                const quint64 size = entrySize(item);
                if (size < m_miniCutoff)
                    return miniSectors(entryStart(item), size);
                return sectors(entryStart(item), size, m_fat, QStringLiteral("資料流"));
            }
        }
        fail(QStringLiteral("檔案中沒有活頁簿"));
    }

private:
    [[noreturn]] void fail(const QString& reason) const {
        throw FileError(QStringLiteral("無法讀取檔案 %1: %2").arg(m_path, reason));
    }

    quint16 u16(qsizetype at) const { return qFromLittleEndian<quint16>(m_bytes.constData() + at); }
    quint32 u32(qsizetype at) const { return qFromLittleEndian<quint32>(m_bytes.constData() + at); }

    // The number of whole or partial sectors after the header, which takes
    // the first sector's room (512 bytes of 4096 in files of the larger
    // sectors).
    quint64 sectorCount() const {
        if (quint64(m_bytes.size()) <= m_sectorSize)
            return 0;
        return (quint64(m_bytes.size()) - m_sectorSize + m_sectorSize - 1) / m_sectorSize;
    }

    // The bytes of sector number, which must lie in the file; a last sector
    // cut short reads as far as the file goes.
    QByteArrayView sector(quint32 number) const {
        if (number > kLastRegularSector || number >= sectorCount())
            fail(QStringLiteral("磁區編號超出檔案範圍"));
        const qsizetype offset = qsizetype(number + 1) * m_sectorSize;
        return QByteArrayView(m_bytes).sliced(
            offset, qMin<qsizetype>(m_sectorSize, m_bytes.size() - offset));
    }

    static quint32 entryAt(QByteArrayView table, quint64 index) {
        return qFromLittleEndian<quint32>(table.data() + index * 4);
    }

    // The sector numbers of the allocation table: the header's 109, then
    // those of the chained extra sectors.
    void readFat() {
        const quint32 fatSectors = u32(44);
        if (fatSectors > sectorCount())
            fail(QStringLiteral("配置表大小超出檔案範圍"));
        std::vector<quint32> numbers;
        numbers.reserve(fatSectors);
        for (int i = 0; i < kHeaderFatSectors && numbers.size() < fatSectors; ++i)
            numbers.push_back(u32(76 + i * 4));
        quint32 extra = u32(68);
        quint64 visited = 0;
        const quint32 perSector = m_sectorSize / 4 - 1;
        while (numbers.size() < fatSectors) {
            if (extra > kLastRegularSector || ++visited > sectorCount())
                fail(QStringLiteral("配置表的延伸鏈無效"));
            const QByteArrayView data = sector(extra);
            if (quint32(data.size()) < m_sectorSize)
                fail(QStringLiteral("配置表的延伸鏈無效"));
            for (quint32 i = 0; i < perSector && numbers.size() < fatSectors; ++i)
                numbers.push_back(entryAt(data, i));
            extra = entryAt(data, perSector);
        }
        m_fat.reserve(qsizetype(fatSectors) * m_sectorSize);
        for (const quint32 number : numbers) {
            const QByteArrayView data = sector(number);
            m_fat.append(data.data(), data.size());
            m_fat.append(QByteArray(m_sectorSize - data.size(), '\xff'));
        }
    }

    void readMiniFat(quint32 start) {
        m_miniFat = chain(start, m_fat, QStringLiteral("小型配置表"));
    }

    // Follows a chain from start through table and gathers its sectors;
    // with size, stops after that many bytes and requires the chain to hold
    // them.
    QByteArray sectors(quint32 start, quint64 size, const QByteArray& table,
                       const QString& what) const {
        if (size > quint64(m_bytes.size()))
            fail(QStringLiteral("%1的大小超出檔案範圍").arg(what));
        QByteArray data = chain(start, table, what, size);
        if (quint64(data.size()) < size)
            fail(QStringLiteral("%1比它的大小短").arg(what));
        data.truncate(qsizetype(size));
        return data;
    }

    QByteArray chain(quint32 start, const QByteArray& table, const QString& what,
                     quint64 limit = ~quint64(0)) const {
        QByteArray data;
        const quint64 tableEntries = quint64(table.size()) / 4;
        std::vector<bool> seen(sectorCount()); // a chain that comes back to a sector loops
        for (quint32 number = start; number != kEndOfChain && quint64(data.size()) < limit;) {
            if (number == kFreeSector && data.isEmpty())
                break; // an empty stream
            if (number >= tableEntries || number >= seen.size() || seen[number])
                fail(QStringLiteral("%1的磁區鏈無效").arg(what));
            seen[number] = true;
            const QByteArrayView bytes = sector(number);
            data.append(bytes.data(), bytes.size());
            data.append(QByteArray(m_sectorSize - bytes.size(), '\0'));
            number = entryAt(table, number);
        }
        return data;
    }

    QByteArray miniSectors(quint32 start, quint64 size) const {
        if (size > quint64(m_miniStream.size()))
            fail(QStringLiteral("小型資料流的大小無效"));
        QByteArray data;
        data.reserve(qsizetype(size));
        const quint64 tableEntries = quint64(m_miniFat.size()) / 4;
        const quint64 miniCount = quint64(m_miniStream.size()) / m_miniSectorSize;
        std::vector<bool> seen(miniCount);
        for (quint32 number = start; quint64(data.size()) < size;) {
            if (number >= tableEntries || number >= miniCount || seen[number])
                fail(QStringLiteral("小型資料流的磁區鏈無效"));
            seen[number] = true;
            data.append(m_miniStream.constData() + qsizetype(number) * m_miniSectorSize,
                        m_miniSectorSize);
            number = entryAt(m_miniFat, number);
        }
        data.truncate(qsizetype(size));
        return data;
    }

    QByteArray entry(qsizetype index) const {
        return m_directory.mid(index * kDirectoryEntrySize, kDirectoryEntrySize);
    }
    static quint32 entryStart(const QByteArray& item) {
        return qFromLittleEndian<quint32>(item.constData() + 116);
    }
    quint64 entrySize(const QByteArray& item) const {
        quint64 size = qFromLittleEndian<quint32>(item.constData() + 120);
        if (m_sectorSize == 4096) // version 4 files keep 64 bits
            size |= quint64(qFromLittleEndian<quint32>(item.constData() + 124)) << 32;
        return size;
    }
    static QString entryName(const QByteArray& item) {
        const quint16 bytes = qFromLittleEndian<quint16>(item.constData() + 64);
        const int characters = qBound(0, int(bytes) / 2 - 1, 31); // without the closing 0
        QString name;
        for (int i = 0; i < characters; ++i)
            name.append(QChar(qFromLittleEndian<quint16>(item.constData() + i * 2)));
        return name;
    }

    const QByteArray& m_bytes;
    QString m_path;
    quint32 m_sectorSize = 512;
    quint32 m_miniSectorSize = 64;
    quint32 m_miniCutoff = 4096;
    QByteArray m_fat;
    QByteArray m_miniFat;
    QByteArray m_directory;
    QByteArray m_miniStream;
};

} // namespace

QByteArray compoundFileStream(const QByteArray& bytes, const QStringList& names,
                              const QString& path) {
    return CompoundFile(bytes, path).stream(names);
}

} // namespace members
