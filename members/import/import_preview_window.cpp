#include "members/import/import_preview_window.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QRadioButton* modeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

TFrmImportPreview::TFrmImportPreview(QWidget* parent, const PreviewOf& previewOf, bool deleteOld)
    : QDialog(parent), m_previewOf(previewOf) {
    setObjectName(QStringLiteral("FrmImportPreview"));
    setWindowTitle(QStringLiteral("導入預覽"));
    lblCounts = new QLabel(this);
    lblCounts->setObjectName(QStringLiteral("lblCounts"));
    gridRows = new QTableWidget(0, 4, this);
    gridRows->setObjectName(QStringLiteral("gridRows"));
    gridRows->setHorizontalHeaderLabels({QStringLiteral("列"), QStringLiteral("結果"),
                                         QStringLiteral("會員編號"), QStringLiteral("說明")});
    gridRows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridRows->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridRows->verticalHeader()->hide();
    gridRows->horizontalHeader()->setStretchLastSection(true);
    auto* modes = new QGroupBox(QStringLiteral("會員編號已存在時"), this);
    rbAdd = modeButton(modes, "rbAdd", QStringLiteral("新增（另加一筆）"));
    rbUpdate = modeButton(modes, "rbUpdate", QStringLiteral("更新（空白欄位不覆蓋）"));
    rbSkip = modeButton(modes, "rbSkip", QStringLiteral("略過"));
    rbAdd->setChecked(true);
    auto* group = new QButtonGroup(this);
    auto* modeLayout = new QHBoxLayout(modes);
    for (QRadioButton* button : {rbAdd, rbUpdate, rbSkip}) {
        group->addButton(button);
        modeLayout->addWidget(button);
    }
    // After deleting the old members no number exists: nothing to choose.
    modes->setEnabled(!deleteOld);
    btnImport = new QPushButton(QStringLiteral("導入"), this);
    btnImport->setObjectName(QStringLiteral("btnImport"));
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnImport);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCounts);
    layout->addWidget(gridRows, 1);
    layout->addWidget(modes);
    layout->addLayout(buttons);
    connect(btnImport, &QPushButton::clicked, this, [this] {
        m_confirmed = true;
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(rbAdd, &QRadioButton::clicked, this, [this] { show(members::ImportMode::Add); });
    connect(rbUpdate, &QRadioButton::clicked, this, [this] { show(members::ImportMode::Update); });
    connect(rbSkip, &QRadioButton::clicked, this,
            [this] { show(members::ImportMode::SkipExisting); });
    show(members::ImportMode::Add);
    resize(640, 420);
}

void TFrmImportPreview::show(members::ImportMode mode) {
    m_preview = m_previewOf(mode);
    lblCounts->setText(members::countsText(m_preview));
    gridRows->setRowCount(int(m_preview.listed.size()));
    for (int line = 0; line < int(m_preview.listed.size()); ++line) {
        const members::RowOutcome& outcome = m_preview.listed.at(line);
        QString reason = outcome.reason;
        if (outcome.verdict == members::RowVerdict::Duplicate)
            reason = QStringLiteral("同第 %1 列").arg(outcome.firstRow);
        const QString texts[] = {QString::number(outcome.row),
                                 members::verdictText(outcome.verdict), outcome.id, reason};
        for (int column = 0; column < 4; ++column)
            gridRows->setItem(line, column, new QTableWidgetItem(texts[column]));
    }
    const bool canImport = m_preview.wouldSucceed();
    btnImport->setEnabled(canImport);
    btnImport->setDefault(canImport);
    btnCancel->setDefault(!canImport);
}
