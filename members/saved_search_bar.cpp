#include "members/saved_search_bar.h"

#include "base/errors.h"
#include "base/prompt.h"
#include "members/drop_down_box.h"
#include "members/saved_search_list_window.h"
#include "members/search_name_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace members {
namespace {

const QString kCaption = QStringLiteral("提示");

void warn(const QString& text) {
    Prompt::current().message(Prompt::Icon::Warning, kCaption, text);
}

QStringList searchNames() {
    QStringList names;
    for (const saved::SavedSearch& search : saved::allSearches())
        names << search.name;
    return names;
}

} // namespace

SavedSearchBar::SavedSearchBar(Hooks hooks, QWidget* parent)
    : QWidget(parent), m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("SavedSearchBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("常用查詢"), this);
    m_box = new DropDownBox(this);
    m_box->setObjectName(QStringLiteral("ComboSaved"));
    m_box->setEditable(false);
    m_box->setMinimumWidth(140);
    m_box->setBeforeDropDown([this] { reload(); });
    label->setBuddy(m_box);
    connect(m_box, &QComboBox::activated, this,
            [this](int index) { runNamed(m_box->itemText(index)); });
    auto* save = new QPushButton(QStringLiteral("儲存查詢"), this);
    save->setObjectName(QStringLiteral("BtnSaveSearch"));
    save->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &SavedSearchBar::saveCurrent);
    auto* manage = new QPushButton(QStringLiteral("管理查詢"), this);
    manage->setObjectName(QStringLiteral("BtnSearches"));
    manage->setAutoDefault(false);
    connect(manage, &QPushButton::clicked, this, &SavedSearchBar::manage);
    row->addWidget(label);
    row->addWidget(m_box);
    row->addWidget(save);
    row->addWidget(manage);
}

void SavedSearchBar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    reload();
}

void SavedSearchBar::reload() {
    const QString shown = m_box->currentText();
    m_box->setList(searchNames());
    m_box->setCurrentIndex(m_box->findText(shown));
}

bool SavedSearchBar::runNamed(const QString& name) {
    const std::optional<saved::SavedSearch> search = saved::findSearch(name);
    if (!search) {
        warn(QStringLiteral("找不到常用查詢「%1」﹐可能已被另一台電腦刪除").arg(name));
        reload();
        return false;
    }
    m_hooks.run(*search);
    return true;
}

void SavedSearchBar::saveCurrent() {
    const std::optional<QString> name =
        SearchNameDialog::ask(this, QStringLiteral("儲存查詢"), m_box->currentText());
    if (!name)
        return;
    if (const std::optional<QString> refusal = saved::nameRefusal(*name)) {
        warn(*refusal);
        return;
    }
    saved::SavedSearch search = m_hooks.current();
    search.name = *name;
    const bool taken = saved::findSearch(*name).has_value();
    if (taken && !Prompt::current().question(
                     kCaption, QStringLiteral("已有名為「%1」的常用查詢﹐是否取代﹖").arg(*name),
                     Prompt::No))
        return;
    try {
        saved::saveSearch(search, taken);
    } catch (const DatabaseError& error) {
        warn(error.text()); // another desk took the name meanwhile
        return;
    }
    reload();
    m_box->setCurrentIndex(m_box->findText(*name, Qt::MatchFixedString));
}

void SavedSearchBar::manage() {
    SavedSearchListWindow window(this);
    window.exec();
    reload();
}

} // namespace members
