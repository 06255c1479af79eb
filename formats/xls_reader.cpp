#include "formats/xls_reader.h"

#include "base/errors.h"
#include "formats/biff_records.h"
#include "formats/cell_text.h"
#include "formats/compound_file.h"
#include "formats/file_bytes.h"
#include "formats/import_errors.h"
#include "formats/number_format.h"

#include <QHash>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <vector>

namespace members {
namespace {

using biff::ByteReader;
using biff::Record;
using biff::RecordStream;
namespace record = biff::record;

constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kGlobalsBof = 0x0005;
constexpr quint16 kWorksheetBof = 0x0010;
constexpr int kColumns = 256; // the widest .xls sheet, A to IV

// What the workbook's globals say about its first worksheet's cells.
struct Globals {
    QStringList sharedStrings;
    QList<NumberFormat> cellFormats; // by XF index
    bool date1904 = false;
    qsizetype firstSheet = -1; // the offset of its BOF record
};

void checkBof(const Record& bof, quint16 kind) {
    if (bof.type != record::Bof || bof.data.size() < 4)
        biff::damaged(QStringLiteral("不是 Excel 97-2003 活頁簿"));
    ByteReader reader(bof.data);
    if (reader.u16() != kBiff8)
        biff::damaged(QStringLiteral("不是 Excel 97-2003 (BIFF8) 活頁簿，請用 Excel 另存新檔"));
    if (reader.u16() != kind)
        biff::damaged(QStringLiteral("活頁簿的結構無效"));
}

Globals readGlobals(QByteArrayView stream) {
    Globals globals;
    RecordStream records(stream);
    Record bof;
    if (!records.next(bof))
        biff::damaged(QStringLiteral("活頁簿是空的"));
    checkBof(bof, kGlobalsBof);
    QHash<int, QString> formatCodes;
    QList<quint16> xfFormats;
    Record item;
    while (records.next(item) && item.type != record::Eof) {
        ByteReader reader(item.data);
        switch (item.type) {
        case record::FilePass:
            biff::damaged(QStringLiteral("活頁簿有密碼保護，請先取消密碼"));
        case record::DateMode:
            globals.date1904 = reader.u16() == 1;
            break;
        case record::Format: {
            const quint16 id = reader.u16();
            formatCodes.insert(id, reader.unicodeString());
            break;
        }
        case record::Xf:
            reader.u16(); // the font
            xfFormats.append(reader.u16());
            break;
        case record::BoundSheet: {
            const quint32 offset = reader.u32();
            reader.u8();                                    // visibility
            if (reader.u8() == 0 && globals.firstSheet < 0) // a worksheet
                globals.firstSheet = offset;
            break;
        }
        case record::Sst: {
            QList<QByteArrayView> segments{item.data};
            segments.append(records.continuations());
            globals.sharedStrings = biff::readSharedStrings(std::move(segments));
            break;
        }
        default:
            break;
        }
    }
    if (globals.firstSheet < 0)
        biff::damaged(QStringLiteral("活頁簿沒有工作表"));
    globals.cellFormats.reserve(xfFormats.size());
    for (const quint16 id : xfFormats)
        globals.cellFormats.append(numberFormatOf(id, formatCodes.value(id)));
    return globals;
}

// Where one cell record of the sheet is.
struct CellRecord {
    quint32 row;
    quint32 offset;
};

// Whether a formula's last operation joins texts (&): its result is a
// text, whatever number the record holds in its place. Some programs write
// such formulas without their result (0 and no STRING record).
bool endsInJoin(QByteArrayView formula) {
    constexpr qsizetype kTokensAt = 22;
    constexpr char kJoinToken = 0x08;
    if (formula.size() <= kTokensAt)
        return false;
    const qsizetype length = qFromLittleEndian<quint16>(formula.data() + kTokensAt - 2);
    return length > 0 && length <= formula.size() - kTokensAt &&
           formula.at(kTokensAt + length - 1) == kJoinToken;
}

bool isCellRecord(quint16 type) {
    switch (type) {
    case record::Formula:
    case record::MulRk:
    case record::RString:
    case record::LabelSst:
    case record::Number:
    case record::Label:
    case record::BoolErr:
    case record::Rk:
        return true;
    default:
        return false;
    }
}

QString errorText(quint8 code) {
    switch (code) {
    case 0x00:
        return QStringLiteral("#NULL!");
    case 0x07:
        return QStringLiteral("#DIV/0!");
    case 0x0F:
        return QStringLiteral("#VALUE!");
    case 0x17:
        return QStringLiteral("#REF!");
    case 0x1D:
        return QStringLiteral("#NAME?");
    case 0x24:
        return QStringLiteral("#NUM!");
    default:
        return QStringLiteral("#N/A");
    }
}

QString booleanText(bool value) {
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

// An RK number: 30 bits of a whole number or of a double's high bits, maybe
// to be divided by 100.
double rkValue(quint32 rk) {
    double value = 0;
    if ((rk & 0x02) != 0) {
        value = double(qint32(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFC) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) != 0 ? value / 100 : value;
}

class XlsReader : public WorkbookReader {
public:
    XlsReader(QByteArray stream, const QString& path) : m_stream(std::move(stream)), m_path(path) {
        guarded([&] {
            m_globals = readGlobals(m_stream);
            indexSheet();
        });
    }

    bool nextRow(SheetRow& row) override {
        if (m_next >= m_cells.size())
            return false;
        const quint32 number = m_cells.at(m_next).row;
        row.number = int(number) + 1;
        row.clear();
        guarded([&] {
            for (; m_next < m_cells.size() && m_cells.at(m_next).row == number; ++m_next)
                readCell(m_records.at(m_cells.at(m_next).offset), row);
        });
        return true;
    }

    int lastRowHint() const override { return m_cells.empty() ? 0 : int(m_cells.back().row) + 1; }

private:
    // Runs read, naming the file in any refusal of its bytes.
    template <typename Read> void guarded(Read read) const {
        try {
            read();
        } catch (const FileError& error) {
            throw FileError(QStringLiteral("無法讀取檔案 %1: %2").arg(m_path, error.text()));
        }
    }

    // Lists the sheet's cell records by row: they normally come in order of
    // rows, but nothing in the format promises it.
    void indexSheet() {
        m_records = RecordStream(m_stream, m_globals.firstSheet);
        Record item;
        if (!m_records.next(item))
            biff::damaged(QStringLiteral("工作表的位置超出活頁簿資料流"));
        checkBof(item, kWorksheetBof);
        while (m_records.next(item) && item.type != record::Eof) {
            if (item.type == record::Bof)
                biff::damaged(QStringLiteral("工作表的結構無效"));
            if (isCellRecord(item.type) && item.data.size() >= 2)
                m_cells.push_back({ByteReader(item.data).u16(), quint32(item.offset)});
        }
        if (!std::is_sorted(m_cells.begin(), m_cells.end(), byRow))
            std::stable_sort(m_cells.begin(), m_cells.end(), byRow);
    }

    static bool byRow(const CellRecord& a, const CellRecord& b) { return a.row < b.row; }

    QString number(double value, quint16 xf) const {
        static const NumberFormat plain;
        const NumberFormat& format =
            xf < m_globals.cellFormats.size() ? m_globals.cellFormats.at(xf) : plain;
        return formattedNumberText(value, format, m_globals.date1904);
    }

    static void checkColumn(int column) {
        if (column >= kColumns)
            biff::damaged(QStringLiteral("欄號 %1 超出工作表範圍").arg(column + 1));
    }

    // A text made for the cell at column (from 0), kept with the row.
    static void put(SheetRow& cells, int column, QString text) {
        checkColumn(column);
        cells.setText(column + 1, std::move(text));
    }

    void readCell(const Record& item, SheetRow& cells) const {
        const int row = cells.number;
        ByteReader reader(item.data);
        reader.u16(); // the row, already known
        const quint16 column = reader.u16();
        if (item.type == record::MulRk) {
            // Pairs of format and number up to the last column, which ends
            // the record.
            if (item.data.size() < 6 || (item.data.size() - 6) % 6 != 0)
                biff::damaged(QStringLiteral("MULRK 記錄的長度無效"));
            const qsizetype count = (item.data.size() - 6) / 6;
            for (qsizetype i = 0; i < count; ++i) {
                const quint16 xf = reader.u16();
                put(cells, column + int(i), number(rkValue(reader.u32()), xf));
            }
            return;
        }
        const quint16 xf = reader.u16();
        switch (item.type) {
        case record::LabelSst: {
            const quint32 index = reader.u32();
            if (index >= quint32(m_globals.sharedStrings.size()))
                biff::damaged(QStringLiteral("共用字串編號 %1 超出範圍").arg(index));
            checkColumn(column);
            cells.setView(column + 1, m_globals.sharedStrings.at(index)); // kept by the reader
            break;
        }
        case record::Label:
        case record::RString:
            put(cells, column, reader.unicodeString());
            break;
        case record::Number:
            put(cells, column, number(reader.f64(), xf));
            break;
        case record::Rk:
            put(cells, column, number(rkValue(reader.u32()), xf));
            break;
        case record::BoolErr: {
            const quint8 value = reader.u8();
            put(cells, column, reader.u8() == 0 ? booleanText(value != 0) : errorText(value));
            break;
        }
        case record::Formula:
            put(cells, column, formulaResult(item, reader, xf, row, column));
            break;
        default:
            break;
        }
    }

    // The result a formula cell keeps: a number in its 8 bytes, or a mark
    // there for a text (in the STRING record after it), a yes/no, an error
    // or an empty text.
    QString formulaResult(const Record& item, ByteReader& reader, quint16 xf, int row,
                          int column) const {
        const QByteArrayView value = item.data.sliced(6, qMin<qsizetype>(8, item.data.size() - 6));
        const double numeric = reader.f64();
        if (quint8(value[6]) != 0xFF || quint8(value[7]) != 0xFF) {
            if (numeric == 0 && endsInJoin(item.data))
                biff::damaged(
                    cellErrorText(row, column + 1,
                                  QStringLiteral("的公式結果是文字，檔案卻沒有存下它"
                                                 "（請用 Excel 開啟後另存，或把公式改成值）")));
            return number(numeric, xf);
        }
        switch (quint8(value[0])) {
        case 0:
            return followingString(item);
        case 1:
            return booleanText(value[2] != 0);
        case 2:
            return errorText(quint8(value[2]));
        default:
            return QString();
        }
    }

    // The text of the STRING record that follows a formula (after the
    // records of shared and array formulas that may come between).
    QString followingString(const Record& formula) const {
        RecordStream records(m_stream, formula.offset + 4 + formula.data.size());
        Record item;
        while (records.next(item)) {
            if (item.type == record::String) {
                QList<QByteArrayView> segments{item.data};
                segments.append(records.continuations());
                ByteReader reader(std::move(segments));
                return reader.unicodeString();
            }
            if (item.type != record::SharedFormula && item.type != record::Array &&
                item.type != record::Table)
                break;
        }
        biff::damaged(QStringLiteral("公式的文字結果不見了"));
    }

    QByteArray m_stream;
    QString m_path;
    Globals m_globals;
    RecordStream m_records{QByteArrayView()};
    std::vector<CellRecord> m_cells;
    size_t m_next = 0;
};

} // namespace

std::unique_ptr<WorkbookReader> openXlsWorkbook(const QString& path) {
    return readXlsWorkbook(readFileBytes(path), path);
}

std::unique_ptr<WorkbookReader> readXlsWorkbook(const QByteArray& bytes, const QString& path) {
    QByteArray stream =
        compoundFileStream(bytes, {QStringLiteral("Workbook"), QStringLiteral("Book")}, path);
    return std::make_unique<XlsReader>(std::move(stream), path);
}

} // namespace members
