#include "sms/recipient_list.h"

#include "base/phone_number.h"

#include <QBrush>
#include <QColor>
#include <QListWidget>

namespace sms {
namespace {

constexpr int kNameRole = Qt::UserRole;
constexpr int kPhoneRole = Qt::UserRole + 1;
constexpr int kStateRole = Qt::UserRole + 2;
constexpr int kFieldsRole = Qt::UserRole + 3;

void showState(QListWidgetItem* item, Delivery state) {
    switch (state) {
    case Delivery::Sent:
    case Delivery::Repeated:
        item->setForeground(QBrush(Qt::darkGray));
        item->setToolTip(QStringLiteral("已發送"));
        break;
    case Delivery::Unconfirmed:
        item->setForeground(QBrush(QColor(0xB3, 0x59, 0x00)));
        item->setToolTip(QStringLiteral("可能已收到(閘道沒有回應﹐未確認)"));
        break;
    case Delivery::Refused:
        item->setForeground(QBrush(Qt::red));
        item->setToolTip(QStringLiteral("閘道拒絕(被拒)﹐按「繼續發送」可以再發"));
        break;
    case Delivery::Pending:
        item->setData(Qt::ForegroundRole, QVariant());
        item->setToolTip(QString());
        break;
    }
}

} // namespace

RecipientList::RecipientList(QListWidget* view) : m_view(view) {}

int RecipientList::add(const QList<Recipient>& recipients) {
    QList<Recipient> added;
    QStringList lines;
    for (const Recipient& recipient : recipients) {
        if (m_totals.hasPhone(recipient.phone))
            continue;
        m_totals.add(recipient);
        added << recipient;
        lines << recipientLine(recipient);
    }
    // One insertion: adding costs the same whatever the list already holds.
    const int first = size();
    m_view->addItems(lines);
    for (qsizetype k = 0; k < added.size(); ++k) {
        QListWidgetItem* item = m_view->item(first + int(k));
        item->setData(kNameRole, added[k].name);
        item->setData(kPhoneRole, added[k].phone);
        if (!added[k].fields.isEmpty())
            item->setData(kFieldsRole, QVariant::fromValue(added[k].fields));
    }
    changed();
    return int(recipients.size() - added.size());
}

void RecipientList::removeAt(int row) {
    QListWidgetItem* item = m_view->takeItem(row);
    if (!item)
        return;
    m_totals.remove(at(item));
    delete item;
    changed();
}

void RecipientList::clear() {
    m_view->clear();
    m_totals.clear();
    m_delivered.clear();
    changed();
}

int RecipientList::size() const {
    return m_view->count();
}

Recipient RecipientList::at(const QListWidgetItem* item) {
    return {item->data(kNameRole).toString(), item->data(kPhoneRole).toString(),
            item->data(kFieldsRole).value<QHash<QString, QString>>()};
}

Recipient RecipientList::at(int row) const {
    return at(m_view->item(row));
}

QList<Recipient> RecipientList::all() const {
    QList<Recipient> recipients;
    recipients.reserve(size());
    for (int row = 0; row < size(); ++row)
        recipients << at(row);
    return recipients;
}

QStringList RecipientList::texts() const {
    QStringList lines;
    lines.reserve(size());
    for (int row = 0; row < size(); ++row)
        lines << m_view->item(row)->text();
    return lines;
}

Delivery RecipientList::state(int row) const {
    const QVariant state = m_view->item(row)->data(kStateRole);
    return state.isValid() ? Delivery(state.toInt()) : Delivery::Pending;
}

void RecipientList::setState(int row, Delivery state) {
    QListWidgetItem* item = m_view->item(row);
    item->setData(kStateRole, state == Delivery::Pending ? QVariant() : QVariant(int(state)));
    showState(item, state);
}

void RecipientList::keepStates(const QList<int>& rows, const QList<Delivery>& states) {
    for (qsizetype k = 0; k < rows.size(); ++k) {
        if (states[k] != Delivery::Pending)
            setState(rows[k], states[k]);
    }
    changed();
}

void RecipientList::forgetStates() {
    for (int row = 0; row < size(); ++row)
        setState(row, Delivery::Pending);
    m_delivered.clear();
    changed();
}

int RecipientList::count(Delivery wanted) const {
    int lines = 0;
    for (int row = 0; row < size(); ++row)
        lines += state(row) == wanted ? 1 : 0;
    return lines;
}

int RecipientList::reached() const {
    return count(Delivery::Sent) + count(Delivery::Repeated) + count(Delivery::Unconfirmed);
}

int RecipientList::left() const {
    return int(leftRows().size());
}

QList<int> RecipientList::leftRows() const {
    QList<int> rows;
    for (int row = 0; row < size(); ++row) {
        const Delivery now = state(row);
        if (now == Delivery::Pending || now == Delivery::Refused)
            rows << row;
    }
    return rows;
}

void RecipientList::changed() const {
    if (m_changed)
        m_changed();
}

} // namespace sms
