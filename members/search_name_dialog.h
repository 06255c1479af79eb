#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;

namespace members {

// Asks for the name of a saved search: EditName, 確定 (BtnOK, the default
// button) and 取消 (BtnCancel).
class SearchNameDialog : public QDialog {
public:
    SearchNameDialog(const QString& title, const QString& name, QWidget* parent);

    QString name() const;

    // Shows the dialog modally; the typed name, or nothing when cancelled.
    static std::optional<QString> ask(QWidget* parent, const QString& title, const QString& name);

private:
    QLineEdit* m_name;
};

} // namespace members
