#include "members/search_name_dialog.h"

#include "members/saved_search.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace members {

SearchNameDialog::SearchNameDialog(const QString& title, const QString& name, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmSearchName"));
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("查詢名稱"), this));
    m_name = new QLineEdit(name, this);
    m_name->setObjectName(QStringLiteral("EditName"));
    m_name->setMaxLength(saved::kMaxNameLength);
    m_name->setMinimumWidth(220);
    m_name->selectAll();
    row->addWidget(m_name);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("確定"), this);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

QString SearchNameDialog::name() const {
    return m_name->text().trimmed();
}

std::optional<QString> SearchNameDialog::ask(QWidget* parent, const QString& title,
                                             const QString& name) {
    SearchNameDialog dialog(title, name, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.name();
}

} // namespace members
