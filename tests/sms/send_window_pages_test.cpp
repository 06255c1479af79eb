#include "tests/sms/send_window_fixture.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QObject>
#include <QUrl>

namespace {

// Stands in for the web browser: keeps the addresses the desktop is asked to open.
class Browser : public QObject {
    Q_OBJECT
public:
    Browser() { QDesktopServices::setUrlHandler("http", this, "open"); }
    ~Browser() override { QDesktopServices::unsetUrlHandler("http"); }

    QStringList paths;

public slots:
    void open(const QUrl& url) { paths << url.path(); }
};

class SmsSendWindowPages : public SmsSendWindowTest {
protected:
    Browser m_browser;
};

TEST_F(SmsSendWindowPages, TheResultsPageFollowsAFreshCredit) {
    openWindow();
    auto* credit = child<QLineEdit>("Edit3");
    credit->setText("舊");
    click("BitBtn3");
    EXPECT_EQ(credit->text(), "100");
    click("BitBtn5");
    EXPECT_EQ(m_browser.paths, (QStringList{"/STANDARD/TVRVRE_A.ASP", "/STANDARD/MTMK.asp"}));
}

TEST_F(SmsSendWindowPages, NoResultsPageWhenTheCreditCannotBeRead) {
    openWindow();
    auto* credit = child<QLineEdit>("Edit3");
    credit->setText("舊");
    const QString host = m_sim->host();
    m_sim.reset();
    m_prompt.expect(host, true, true);
    click("BitBtn3");
    EXPECT_EQ(credit->text(), "舊");
    EXPECT_TRUE(m_browser.paths.isEmpty());
}

} // namespace

#include "send_window_pages_test.moc"
