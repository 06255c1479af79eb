#pragma once

#include "sms/merge_preview.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

// 預覽: every recipient's merged text with its characters and parts, and
// what would keep it from going out.
class TFrmSmsPreview : public QDialog {
public:
    TFrmSmsPreview(const QList<sms::PreviewLine>& lines, QWidget* parent = nullptr);

private:
    QTableWidget* GridPreview;
    QPushButton* BtnClose;
};
