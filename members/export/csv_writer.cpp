#include "members/export/csv_writer.h"

namespace members::exporting {
namespace {

bool needsQuotes(const QString& text) {
    if (text.isEmpty())
        return false;
    return text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
           text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
           text.front().isSpace() || text.back().isSpace();
}

void appendField(QString& line, const QString& text) {
    if (!needsQuotes(text)) {
        line += text;
        return;
    }
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    line += QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool writeLine(QIODevice& device, QString& line) {
    line += QLatin1String("\r\n");
    const QByteArray bytes = line.toUtf8();
    line.clear();
    return device.write(bytes) == bytes.size();
}

} // namespace

int writeCsv(QIODevice& device, const QList<Column>& columns, const RowSource& rows, bool& ok) {
    ok = device.write("\xEF\xBB\xBF", 3) == 3;
    QString line;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        appendField(line, columns[i].caption);
    }
    ok = ok && writeLine(device, line);
    int count = 0;
    QVariantList values;
    while (ok && rows(values)) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (i > 0)
                line += QLatin1Char(',');
            appendField(line, cellText(values.value(i), columns[i].kind));
        }
        ok = writeLine(device, line);
        ++count;
    }
    return count;
}

} // namespace members::exporting
