#pragma once

#include "members/import/register_members.h"
#include "members/import/workbook_import.h"

#include <QHash>
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <memory>

// What an import does with each row of a file, told before anything is
// written (the preview) and decided the same way while the rows are stored.
namespace members {

// How rows whose member number the register already holds are handled.
enum class ImportMode {
    Add,          // stored as a further member; the database's rules decide
    Update,       // the member is updated; an empty cell keeps its value
    SkipExisting, // left out and counted
};

// 新增, 已存在, 檔內重複 or 錯誤.
enum class RowVerdict { New, Existing, Duplicate, Error };
inline constexpr int kVerdicts = 4;

QString verdictText(RowVerdict verdict);

// The row's verdict and what it says of the row.
struct RowOutcome {
    int row = 0;
    RowVerdict verdict = RowVerdict::New;
    QString id;       // the member number as stored
    QString reason;   // for an error: 第 7 列 I 欄「…」不是有效的日期
    int firstRow = 0; // for a number twice in the file: where it came first
};

// One line of the preview's list: 已存在 第 3 列「A01」, 檔內重複 第 5 列
// 「A01」（同第 3 列）, 錯誤 第 7 列 I 欄….
QString outcomeLine(const RowOutcome& outcome);

// Sorts checked rows by their member number: a number seen before in the
// file, one the register holds (not when its members are deleted first), or
// a new one. On update, a number several members share is an error.
class RowSorter {
public:
    // register may be null: every number counts as new.
    RowSorter(const RegisterMembers* members, ImportMode mode) : m_members(members), m_mode(mode) {}

    // Fills the verdict, firstRow and reason of outcome; matched gets the
    // members the number matches.
    void sort(RowOutcome& outcome, QList<qint64>& matched);

private:
    const RegisterMembers* m_members;
    ImportMode m_mode;
    QHash<QString, int> m_firstRows;
};

// What the preview of a file found.
struct ImportPreview {
    ImportMode mode = ImportMode::Add;
    QList<RowOutcome> listed; // every row that is not 新增, in order
    std::array<int, kVerdicts> counts{};
    // The members as the preview read them: an update leaves out a member
    // that has changed since.
    std::shared_ptr<const RegisterMembers> members;

    int count(RowVerdict verdict) const { return counts[size_t(verdict)]; }
    // Whether the import in this mode would be stored: no row is an error.
    bool wouldSucceed() const { return count(RowVerdict::Error) == 0; }
};

// 新增 3 筆，已存在 1 筆，檔內重複 0 筆，錯誤 0 筆.
QString countsText(const ImportPreview& preview);

// Reads every row of reader's sheet as the import in mode would, writing
// nothing: each row's verdict, all errors rather than the first.
ImportPreview previewWorkbook(WorkbookReader& reader, WorkbookImportPath path, ImportMode mode,
                              bool deleteOld,
                              const std::function<void(int nextRow)>& progress = {});

// Calls visit for each data row of reader's sheet: from the path's first
// data row up to the first row whose column 1 is empty; headings, when
// given, first sees the row above the first data row.
void forEachDataRow(WorkbookReader& reader, WorkbookImportPath path,
                    const std::function<void(int row, const QList<QStringView>& cells)>& visit,
                    const std::function<void(const QList<QStringView>& headings)>& headings = {});

} // namespace members
