#include "tests/formats/xls_file.h"

#include <QtEndian>

namespace test_files {
namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kFatSector = 0xFFFFFFFD;

QByteArray bof(quint16 kind) {
    return biffRecord(0x0809, u16(0x0600) + u16(kind) + QByteArray(12, '\0'));
}

QByteArray directoryEntry(const QString& name, quint8 type, quint32 start, quint32 size) {
    QByteArray entry(128, '\0');
    for (int i = 0; i < name.size(); ++i)
        qToLittleEndian<quint16>(name.at(i).unicode(), entry.data() + i * 2);
    qToLittleEndian<quint16>(quint16((name.size() + 1) * 2), entry.data() + 64);
    entry[66] = char(type);
    qToLittleEndian<quint32>(kFree, entry.data() + 68); // no siblings, no child
    qToLittleEndian<quint32>(kFree, entry.data() + 72);
    qToLittleEndian<quint32>(type == 5 ? 1 : kFree, entry.data() + 76);
    qToLittleEndian<quint32>(start, entry.data() + 116);
    qToLittleEndian<quint32>(size, entry.data() + 120);
    return entry;
}

} // namespace

QByteArray u16(quint16 value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray u32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray biffRecord(quint16 type, const QByteArray& data) {
    return u16(type) + u16(quint16(data.size())) + data;
}

QByteArray unicodeString(const QString& text) {
    QByteArray bytes = u16(quint16(text.size())) + QByteArray(1, '\x01');
    for (const QChar c : text)
        bytes += u16(c.unicode());
    return bytes;
}

QByteArray workbookStream(const QByteArray& globals, const QByteArray& cells) {
    const QByteArray eof = biffRecord(0x000A, {});
    const QString name = QStringLiteral("S");
    const qsizetype boundSheetSize = 4 + 4 + 2 + 2 + name.size();
    const QByteArray head = bof(0x0005) + globals;
    const quint32 sheetAt = quint32(head.size() + boundSheetSize + eof.size());
    const QByteArray boundSheet =
        biffRecord(0x0085, u32(sheetAt) + QByteArray(2, '\0') + QByteArray(1, char(name.size())) +
                               QByteArray(1, '\0') + name.toLatin1());
    return head + boundSheet + eof + bof(0x0010) + cells + eof;
}

QByteArray compoundFile(const QByteArray& stream) {
    QByteArray data = stream;
    if (data.size() < 4096)
        data.append(QByteArray(4096 - data.size(), '\0'));
    // Small workbooks in 512-byte sectors (version 3), large ones in
    // 4096-byte sectors (version 4), whose header takes a whole sector.
    const bool large = data.size() > 32 * 1024;
    const int sector = large ? 4096 : 512;
    const quint32 size = quint32(data.size());
    data.append(QByteArray((sector - data.size() % sector) % sector, '\0'));
    const quint32 streamSectors = quint32(data.size() / sector);
    const quint32 perFatSector = quint32(sector / 4);
    quint32 fatSectors = 1;
    while (fatSectors * perFatSector < fatSectors + 1 + streamSectors)
        ++fatSectors;
    Q_ASSERT(fatSectors <= 109);
    const quint32 directorySector = fatSectors;
    const quint32 firstStreamSector = fatSectors + 1;
    QByteArray fat;
    for (quint32 i = 0; i < fatSectors; ++i)
        fat += u32(kFatSector);
    fat += u32(kEndOfChain); // the directory
    for (quint32 i = 0; i < streamSectors; ++i)
        fat += u32(i + 1 == streamSectors ? kEndOfChain : firstStreamSector + i + 1);
    fat.append(QByteArray(qsizetype(fatSectors) * sector - fat.size(), '\xff'));
    QByteArray directory = directoryEntry(QStringLiteral("Root Entry"), 5, kEndOfChain, 0) +
                           directoryEntry(QStringLiteral("Workbook"), 2, firstStreamSector, size);
    directory.append(QByteArray(sector - directory.size(), '\0'));
    QByteArray header(sector, '\0');
    header.replace(0, 8, QByteArray::fromHex("d0cf11e0a1b11ae1"));
    qToLittleEndian<quint16>(0x003E, header.data() + 24);
    qToLittleEndian<quint16>(large ? 4 : 3, header.data() + 26);
    qToLittleEndian<quint16>(0xFFFE, header.data() + 28);
    qToLittleEndian<quint16>(large ? 12 : 9, header.data() + 30);
    qToLittleEndian<quint16>(6, header.data() + 32);
    qToLittleEndian<quint32>(fatSectors, header.data() + 44);
    qToLittleEndian<quint32>(directorySector, header.data() + 48);
    qToLittleEndian<quint32>(4096, header.data() + 56);
    qToLittleEndian<quint32>(kEndOfChain, header.data() + 60);
    qToLittleEndian<quint32>(kEndOfChain, header.data() + 68);
    for (quint32 i = 0; i < 109; ++i)
        qToLittleEndian<quint32>(i < fatSectors ? i : kFree, header.data() + 76 + i * 4);
    return header + fat + directory + data;
}

} // namespace test_files
