#include "members/import/customer_import_window.h"

#include "members/import/link_label.h"
#include "members/import/sample_workbook.h"
#include "members/import/workbook_import_flow.h"

#include <QPushButton>
#include <QVBoxLayout>

TFrmCustomerFromExcel::TFrmCustomerFromExcel(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmCustomerFromExcel"));
    setWindowTitle(QStringLiteral("客戶資料導入"));
    btnExcel = new QPushButton(QStringLiteral("從Excel檔轉入資料到客戶管理"), this);
    btnExcel->setObjectName(QStringLiteral("btnExcel"));
    btnExcel->setMinimumHeight(40);
    Label25 = new members::LinkLabel(QStringLiteral("下載Excel樣本檔案"), this);
    Label25->setObjectName(QStringLiteral("Label25"));
    connect(btnExcel, &QPushButton::clicked, this, [this] {
        members::importMembersFromWorkbook(this, members::WorkbookImportPath::Window);
    });
    connect(Label25, &members::LinkLabel::clicked, this, [] { members::openSampleWorkbook(); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(16);
    layout->addWidget(btnExcel);
    layout->addWidget(Label25, 0, Qt::AlignRight);
    resize(360, 140);
}
