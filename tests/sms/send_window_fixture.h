#pragma once

#include "sms/send_message_window.h"
#include "tests/sms/sms_database_fixture.h"

#include <QPushButton>
#include <QTest>
#include <memory>

class QTableView;

// A send window over the test database, shown, its credit asked of the
// simulator.
class SmsSendWindowTest : public SmsDatabaseTest {
protected:
    void openWindow();

    template <class T> T* child(const char* name) const {
        T* widget = m_window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void click(const char* name) const {
        QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton);
    }

    // Picks a criterion as the user does.
    void chooseCriterion(int index) const;
    // Searches with the criterion and the value typed.
    void search(int criterion, const QString& value = {}) const;
    // Clicks the mark of a row of the result grid.
    void clickMark(int row) const;
    // Three enabled members with mobile numbers 0900000001 to 0900000003.
    void addThreeMembers();
    // Searches every member, marks all and adds them to the list.
    void addEveryMember();

    QStringList lines() const { return m_window->recipientLines(); }
    QString caption() const { return m_window->windowTitle(); }
    QString countLabel() const;

    std::unique_ptr<TFrmSendMessage> m_window;
};
