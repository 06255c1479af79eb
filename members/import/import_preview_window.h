#pragma once

#include "members/import/import_plan.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

// What an import of the chosen file would do, shown before anything is
// written: the counts on top, the rows that are not 新增 with their verdict
// and reason, and how members whose number exists are handled (新增, the
// safe choice, unless changed). 導入 confirms (only when no row is an
// error); 取消 or Esc leaves everything as it was.
class TFrmImportPreview : public QDialog {
public:
    // preview reads the file again as a mode would import it.
    using PreviewOf = std::function<members::ImportPreview(members::ImportMode mode)>;
    TFrmImportPreview(QWidget* parent, const PreviewOf& previewOf, bool deleteOld);

    // Whether the user pressed 導入, and the preview then shown.
    bool confirmed() const { return m_confirmed; }
    const members::ImportPreview& preview() const { return m_preview; }

private:
    void show(members::ImportMode mode);

    PreviewOf m_previewOf;
    members::ImportPreview m_preview;
    bool m_confirmed = false;
    QLabel* lblCounts;
    QTableWidget* gridRows;
    QRadioButton* rbAdd;
    QRadioButton* rbUpdate;
    QRadioButton* rbSkip;
    QPushButton* btnImport;
    QPushButton* btnCancel;
};
