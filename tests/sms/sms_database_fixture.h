#pragma once

#include "admin/login_session.h"
#include "tests/sms/gateway_sim_process.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <gtest/gtest.h>
#include <optional>

// A fresh database whose lunmark.ini sends every gateway request to a running
// simulator, a session carrying the account the simulator checks, and a
// scripted prompt for the message boxes.
class SmsDatabaseTest : public ::testing::Test {
protected:
    SmsDatabaseTest();
    ~SmsDatabaseTest() override;

    // Further simulator switches for a test's own simulator.
    static QStringList accountOptions();

    void addMember(const QString& id, const QString& name, const QString& salutation,
                   const QString& mobile, bool enabled = true);

    // Rows of a statement as maps of column name to value.
    static QList<QVariantMap> rows(const QString& sql);
    static int count(const QString& sql);

    // Writes lunmark.ini so that both hosts are the simulator's, without
    // quiet hours.
    void pointGatewayAt(const GatewaySimProcess& sim);

    TempDatabase m_database;
    std::optional<GatewaySimProcess> m_sim;
    ScriptedPrompt m_prompt;

private:
    LoginSession m_savedSession;
};
