#include "members/import/import_plan.h"

#include "base/errors.h"
#include "members/import/import_row_check.h"

namespace members {

QString verdictText(RowVerdict verdict) {
    switch (verdict) {
    case RowVerdict::New:
        return QStringLiteral("新增");
    case RowVerdict::Existing:
        return QStringLiteral("已存在");
    case RowVerdict::Duplicate:
        return QStringLiteral("檔內重複");
    case RowVerdict::Error:
        break;
    }
    return QStringLiteral("錯誤");
}

QString outcomeLine(const RowOutcome& outcome) {
    if (outcome.verdict == RowVerdict::Error)
        return verdictText(outcome.verdict) + ' ' + outcome.reason;
    QString line = QStringLiteral("%1 第 %2 列「%3」")
                       .arg(verdictText(outcome.verdict))
                       .arg(outcome.row)
                       .arg(outcome.id);
    if (outcome.verdict == RowVerdict::Duplicate)
        line += QStringLiteral("（同第 %1 列）").arg(outcome.firstRow);
    return line;
}

void RowSorter::sort(RowOutcome& outcome, QList<qint64>& matched) {
    matched.clear();
    const QString key = memberKey(outcome.id);
    const auto first = m_firstRows.constFind(key);
    if (first != m_firstRows.cend()) {
        outcome.verdict = RowVerdict::Duplicate;
        outcome.firstRow = first.value();
        return;
    }
    m_firstRows.insert(key, outcome.row);
    if (m_members != nullptr)
        matched = m_members->rowsOf(outcome.id);
    if (matched.isEmpty()) {
        outcome.verdict = RowVerdict::New;
        return;
    }
    outcome.verdict = RowVerdict::Existing;
    if (m_mode == ImportMode::Update && matched.size() > 1) {
        outcome.verdict = RowVerdict::Error;
        outcome.reason = QStringLiteral("第 %1 列 A 欄「%2」有 %3 位會員使用這個編號，"
                                        "無法決定要更新哪一位")
                             .arg(outcome.row)
                             .arg(outcome.id)
                             .arg(matched.size());
    }
}

QString countsText(const ImportPreview& preview) {
    QStringList parts;
    for (int verdict = 0; verdict < kVerdicts; ++verdict)
        parts << QStringLiteral("%1 %2 筆")
                     .arg(verdictText(RowVerdict(verdict)))
                     .arg(preview.counts[size_t(verdict)]);
    return parts.join(QStringLiteral("，"));
}

void forEachDataRow(WorkbookReader& reader, WorkbookImportPath path,
                    const std::function<void(int row, const QList<QStringView>& cells)>& visit,
                    const std::function<void(const QList<QStringView>& headings)>& headings) {
    SheetCursor sheet(reader);
    if (headings)
        headings(sheet.row(firstDataRow(path) - 1));
    for (int row = firstDataRow(path);; ++row) {
        const QList<QStringView>& cells = sheet.row(row);
        if (cells.isEmpty() || cells.first().isEmpty())
            return;
        visit(row, cells);
    }
}

ImportPreview previewWorkbook(WorkbookReader& reader, WorkbookImportPath path, ImportMode mode,
                              bool deleteOld, const std::function<void(int nextRow)>& progress) {
    ImportPreview preview;
    preview.mode = mode;
    if (!deleteOld)
        preview.members = std::make_shared<const RegisterMembers>(RegisterMembers::Prints::With);
    RowSorter sorter(preview.members.get(), mode);
    const bool readEnabled = path == WorkbookImportPath::Window;
    QList<qint64> matched;
    forEachDataRow(reader, path, [&](int row, const QList<QStringView>& cells) {
        RowOutcome outcome;
        outcome.row = row;
        outcome.id = columnText(cells, 1);
        try {
            checkRow(row, cells, readEnabled);
            sorter.sort(outcome, matched);
        } catch (const ConversionError& error) {
            outcome.verdict = RowVerdict::Error;
            outcome.reason = error.text();
        }
        ++preview.counts[size_t(outcome.verdict)];
        if (outcome.verdict != RowVerdict::New)
            preview.listed.append(outcome);
        if (progress)
            progress(row + 1);
    });
    return preview;
}

} // namespace members
