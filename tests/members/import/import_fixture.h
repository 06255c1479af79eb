#pragma once

#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <gtest/gtest.h>

// A scripted prompt that also runs a check whenever a box shows.
class WatchingPrompt : public ScriptedPrompt {
public:
    void message(Icon icon, const QString& caption, const QString& text) override {
        if (onBox)
            onBox();
        ScriptedPrompt::message(icon, caption, text);
    }
    std::function<void()> onBox;
};

// A fresh database, scripted message boxes, and a file dialog that answers
// with the file set by choose() (an empty text cancels it).
class ImportFixture : public testing::Test {
protected:
    ImportFixture();
    ~ImportFixture() override;

    void choose(const QString& path) { m_chosen = path; }
    int dialogsShown() const { return m_dialogs; }
    const QString& lastFilter() const { return m_filter; }

    // A path in the test's folder.
    QString file(const QString& name) const;
    void writeFile(const QString& path, const QByteArray& bytes) const;

    // Adds a member as the member window would.
    void addMember(const QString& id, const QString& name = QStringLiteral("舊會員"));

    // The member numbers in the order they were stored.
    QStringList memberIds() const;

    // Every column of the member with the number id (empty when none).
    QVariantMap member(const QString& id) const;

    // The names of the salutation list in order.
    QStringList salutations() const;

    // Makes the database refuse a second member with the same number.
    void keepNumbersUnique() const;

    TempDatabase database;
    WatchingPrompt prompt;

private:
    QString m_chosen;
    QString m_filter;
    int m_dialogs = 0;
};
