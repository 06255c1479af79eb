#pragma once

#include "sms/recipient_line.h"
#include "sms/recipient_totals.h"
#include "sms/send_run.h"

#include <QList>
#include <QStringList>
#include <functional>

class QListWidget;
class QListWidgetItem;

// The send window's recipient list, the one owner of its lines: each line
// carries its recipient's name, telephone and (for a member) the values of
// the message's fields, and the state the last run left
// on it as data of its list item; the text shown is only for the eye. The
// member search, the history and the custom-recipient window add to it; the
// send run reads it and marks it. States stay until the list is emptied.
namespace sms {

class RecipientList {
public:
    explicit RecipientList(QListWidget* view);

    // Called after every change of lines or states.
    void setChanged(std::function<void()> changed) { m_changed = std::move(changed); }

    // Adds the recipients whose handset (phone::key) is not listed yet, one
    // line each, in one insertion. Returns how many were left out.
    int add(const QList<Recipient>& recipients);
    void removeAt(int row);
    // Empties the list, with every state and what earlier runs delivered.
    void clear();

    int size() const;
    Recipient at(int row) const;
    QList<Recipient> all() const;
    QStringList texts() const;

    Delivery state(int row) const;
    // States of the rows a run went over; a row it did not reach keeps the
    // state it had.
    void keepStates(const QList<int>& rows, const QList<Delivery>& states);
    void forgetStates();
    int count(Delivery state) const;
    // Lines sent, skipped as repeated, or unconfirmed: a run reached them.
    int reached() const;
    // Lines no run reached: pending or refused.
    int left() const;
    QList<int> leftRows() const;

    const RecipientTotals& totals() const { return m_totals; }
    // What went, or may have gone, to which number in this list's runs.
    DeliveredTexts& delivered() { return m_delivered; }

private:
    void setState(int row, Delivery state);
    void changed() const;

    static Recipient at(const QListWidgetItem* item);

    QListWidget* m_view;
    RecipientTotals m_totals;
    DeliveredTexts m_delivered;
    std::function<void()> m_changed;
};

} // namespace sms
