#pragma once

#include <QString>

// Makes the test's database refuse every event ("insert", "update" or
// "delete") on table with message as the database's own error text, the way
// a full disk or a locked setting refuses a write, on either engine. The
// object's end takes the refusal away again.
class RefusingTrigger {
public:
    RefusingTrigger(const QString& table, const QString& event, const QString& message);
    ~RefusingTrigger();
    RefusingTrigger(const RefusingTrigger&) = delete;
    RefusingTrigger& operator=(const RefusingTrigger&) = delete;

private:
    QString m_name;
    QString m_table;
};
