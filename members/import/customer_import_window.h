#pragma once

#include <QDialog>

class QPushButton;

namespace members {
class LinkLabel;
}

// The import window: loads members from a workbook (first data row 2, the
// old members optionally deleted first) and offers the sample workbook.
class TFrmCustomerFromExcel : public QDialog {
public:
    explicit TFrmCustomerFromExcel(QWidget* parent = nullptr);

private:
    QPushButton* btnExcel;
    members::LinkLabel* Label25;
};
