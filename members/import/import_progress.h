#pragma once

#include <QElapsedTimer>
#include <memory>

class QProgressDialog;
class QWidget;

namespace members {

// A progress dialog with a count for imports of more than a few hundred rows,
// so that the program does not look frozen while it works; smaller imports
// show none. It is updated a few times a second at most, and closes when
// this object goes.
class ImportProgress {
public:
    // Rows are expected from firstRow to lastRow (an estimate; 0 when not
    // known, which shows no dialog).
    ImportProgress(QWidget* owner, int firstRow, int lastRow);
    ~ImportProgress();
    ImportProgress(const ImportProgress&) = delete;
    ImportProgress& operator=(const ImportProgress&) = delete;

    // Rows up to nextRow - 1 are done.
    void update(int nextRow);

    // Whether a dialog is shown for this import.
    bool shown() const { return m_dialog != nullptr; }

    // Imports of at most this many rows show no dialog.
    static constexpr int kQuietRows = 300;

private:
    void show(int done);

    std::unique_ptr<QProgressDialog> m_dialog;
    QElapsedTimer m_sinceUpdate;
    int m_firstRow;
    int m_total;
};

} // namespace members
