#include "sms/merge_preview_window.h"

#include "base/keyboard_navigation.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TFrmSmsPreview::TFrmSmsPreview(const QList<sms::PreviewLine>& lines, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FrmSmsPreview"));
    setWindowTitle(QStringLiteral("簡訊預覽"));
    GridPreview = new QTableWidget(int(lines.size()), 5, this);
    GridPreview->setObjectName(QStringLiteral("GridPreview"));
    GridPreview->setHorizontalHeaderLabels({QStringLiteral("接收人"), QStringLiteral("簡訊內容"),
                                            QStringLiteral("字數"), QStringLiteral("則數"),
                                            QStringLiteral("問題")});
    GridPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridPreview->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridPreview->setWordWrap(false);
    for (int row = 0; row < int(lines.size()); ++row) {
        const sms::PreviewLine& line = lines[row];
        const QStringList cells = {line.recipient, line.text, QString::number(line.characters),
                                   QString::number(line.parts), line.problem};
        for (int column = 0; column < int(cells.size()); ++column)
            GridPreview->setItem(row, column, new QTableWidgetItem(cells[column]));
        if (!line.problem.isEmpty())
            GridPreview->item(row, 4)->setForeground(Qt::red);
    }
    GridPreview->setColumnWidth(0, 160);
    GridPreview->setColumnWidth(1, 360);
    GridPreview->horizontalHeader()->setStretchLastSection(true);

    BtnClose = new QPushButton(QStringLiteral("關閉"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setDefault(true);
    keyboard::setEscapeButton(BtnClose);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GridPreview, 1);
    layout->addLayout(buttons);
    keyboard::install(this);
    resize(820, 420);
}
