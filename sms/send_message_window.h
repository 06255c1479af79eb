#pragma once

#include "sms/gateway_client.h"
#include "sms/message_composer.h"
#include "sms/quiet_hours.h"
#include "sms/recipient_list.h"
#include "sms/send_run.h"

#include <QDialog>
#include <QStringList>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace members {
class CriterionRow;
}

namespace db {
class Dataset;
class DatasetModel;
} // namespace db

// The SMS send window: the remaining credit and the gateway's pages, the
// recipient list and the member search that fills it, the message with its
// name prefix, signature and scheduled time, and the send run. The phrase,
// history and custom-recipient windows act on the most recently created one
// (sms::currentSendWindow).
class TFrmSendMessage : public QDialog {
public:
    explicit TFrmSendMessage(QWidget* parent = nullptr);
    ~TFrmSendMessage() override;

    // What the other windows do here. A recipient whose handset is already
    // listed is not added again, nor one whose telephone belongs to a member
    // marked 不接收簡訊: false, or the number of recipients skipped.
    bool addRecipient(const sms::Recipient& recipient);
    int addRecipients(const QList<sms::Recipient>& recipients);
    struct Added {
        int listed = 0;
        int repeated = 0; // the handset was listed already
        int optedOut = 0; // the member asked for no SMS
    };
    Added addLines(const QList<sms::Recipient>& recipients);
    // Adds text as a new last line of the message; the text there stays.
    void appendMessageLine(const QString& text);
    void setSignatureText(const QString& text);
    void setPickedPhrase(const QString& text) { m_pickedPhrase = text; }

    // The lines as the list shows them, and the recipients they carry.
    QStringList recipientLines() const;
    QList<sms::Recipient> recipients() const;
    // The composition controls as the send run reads them.
    sms::Composition composition() const;
    // The time the quiet hours are checked against; now unless a test
    // gives a clock of its own.
    void setClock(sms::Clock clock) { m_clock = std::move(clock); }

protected:
    void showEvent(QShowEvent* event) override;
    // 關閉, the close box and Esc ask before leaving unsent lines behind.
    void done(int result) override;

private:
    // Building the window.
    QWidget* buildCreditArea();
    QGroupBox* buildRecipientArea();
    QGroupBox* buildContentArea();
    QGroupBox* buildSearchArea();
    QWidget* buildSearchInputs(QWidget* parent);
    QWidget* buildSavedSearches(QWidget* parent);
    void buildResultGrid(QWidget* parent);
    QWidget* buildBottomButtons();

    // Opening and the credit.
    void prepareOnShow();
    void custRegister();
    void openResultsPage();

    // Recipients and the member search.
    void search();
    void toggleMark(int row);
    void setAllMarks(bool marked);
    void addMarkedMembers();
    void deleteRecipient();
    void deleteAllRecipients();
    void addCustomRecipient();
    void recipientsChanged();

    // Composition and sending.
    void pickPhrase();
    void openHistory();
    void scheduleToggled(bool on);
    std::optional<QDateTime> scheduledAt() const;
    void updatePartsCount();
    void insertField(int index);
    void showPreview();
    // Takes out the listed lines whose member has been marked 不接收簡訊
    // since they were added, saying how many.
    void dropOptedOut();
    // Outside the quiet hours, or the user sends anyway; otherwise the
    // scheduled-sending box is set to the next allowed time.
    bool confirmQuietHours();
    bool confirmCredit(const QList<sms::Recipient>& recipients,
                       const sms::Composition& composition);
    bool confirmSendingAgain();
    bool confirmClosing();
    bool afterRun() const;
    void send();
    void continueSending();
    void runOver(const QList<int>& rows, const sms::Composition& composition);
    void reportRun(const sms::RunResult& result);
    void refreshCreditAfterRun();
    void updateContinueButton();

    GatewayClient m_gateway;
    QString m_pickedPhrase;
    QStringList m_fieldNames = sms::fixedFieldNames();
    sms::Clock m_clock = [] { return QDateTime::currentDateTime(); };
    // The one owner of the recipient lines, their data and their states.
    std::unique_ptr<sms::RecipientList> m_recipients;

    // Credit area.
    QLineEdit* Edit3;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    QPushButton* BitBtn5;

    // Recipients.
    QListWidget* ListBox1;
    QPushButton* BtnDel;
    QPushButton* BtnDelAll;
    QPushButton* BtnSelectSingle;
    QPushButton* btnSendHistory;
    QLabel* lblTotal;

    // Content.
    QPlainTextEdit* Memo1;
    QLabel* lblParts;
    QLabel* lblCost;
    QComboBox* cbInsertField;
    QCheckBox* CheckBoxBlank;
    QPushButton* BtnPreview;
    QPushButton* BtnNormal;
    QPushButton* BitBtn4;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QComboBox* DBComboBoxEh1;
    QCheckBox* CheckBox3;
    QDateTimeEdit* DBDateTimeEditEh1;

    // Member search.
    members::CriterionRow* m_criteria;
    QPushButton* btnSearch;
    db::Dataset* Qry_Customer;
    db::DatasetModel* DataSource1;
    QTableView* DBGridEh1;
    QPushButton* BtnSelectAll;
    QPushButton* BtnSelectNone;
    QPushButton* BitBtn1;

    // Bottom.
    QPushButton* BtnSend;
    QPushButton* BtnContinue;
    QPushButton* BtnCancel;
};
