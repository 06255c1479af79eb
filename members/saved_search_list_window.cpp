#include "members/saved_search_list_window.h"

#include "base/errors.h"
#include "base/named_button.h"
#include "base/prompt.h"
#include "members/saved_search.h"
#include "members/search_name_dialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace members {
SavedSearchListWindow::SavedSearchListWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmSavedSearches"));
    setWindowTitle(QStringLiteral("常用查詢"));
    auto* layout = new QHBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ListSearches"));
    m_list->setMinimumWidth(220);
    layout->addWidget(m_list, 1);
    auto* buttons = new QVBoxLayout;
    m_rename = namedButton("BtnRename", QStringLiteral("更名"), this);
    m_delete = namedButton("BtnDelete", QStringLiteral("刪除"), this);
    auto* close = namedButton("BtnClose", QStringLiteral("關閉"), this);
    close->setDefault(true);
    connect(m_rename, &QPushButton::clicked, this, &SavedSearchListWindow::renameChosen);
    connect(m_delete, &QPushButton::clicked, this, &SavedSearchListWindow::deleteChosen);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        m_rename->setEnabled(row >= 0);
        m_delete->setEnabled(row >= 0);
    });
    buttons->addWidget(m_rename);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    reload();
}

void SavedSearchListWindow::reload(const QString& chosen) {
    m_list->clear();
    for (const saved::SavedSearch& search : saved::storedSearches())
        m_list->addItem(search.name);
    const QList<QListWidgetItem*> found = m_list->findItems(chosen, Qt::MatchFixedString);
    m_list->setCurrentRow(found.isEmpty() ? (m_list->count() > 0 ? 0 : -1)
                                          : m_list->row(found.first()));
    m_rename->setEnabled(m_list->currentRow() >= 0);
    m_delete->setEnabled(m_list->currentRow() >= 0);
}

QString SavedSearchListWindow::chosenName() const {
    const QListWidgetItem* item = m_list->currentItem();
    return item ? item->text() : QString();
}

void SavedSearchListWindow::renameChosen() {
    const QString from = chosenName();
    if (from.isEmpty())
        return;
    const std::optional<QString> to =
        SearchNameDialog::ask(this, QStringLiteral("常用查詢更名"), from);
    if (!to || *to == from)
        return;
    try {
        saved::renameSearch(from, *to);
        reload(*to);
    } catch (const DatabaseError& error) {
        Prompt::current().message(Prompt::Icon::Warning, QStringLiteral("提示"), error.text());
        reload(from);
    }
}

void SavedSearchListWindow::deleteChosen() {
    const QString name = chosenName();
    if (name.isEmpty() || !Prompt::current().question(
                              QStringLiteral("提示"),
                              QStringLiteral("是否刪除常用查詢「%1」﹖").arg(name), Prompt::No))
        return;
    saved::deleteSearch(name);
    reload();
}

} // namespace members
