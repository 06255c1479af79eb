#pragma once

#include "sms/gateway_client.h"
#include "sms/message_composer.h"
#include "sms/recipient_totals.h"
#include "sms/send_run.h"

#include <QDialog>
#include <QStringList>
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

    // What the other windows do here. A line whose telephone is already
    // listed is not added again: false, or the number of lines skipped.
    bool addRecipientLine(const QString& line);
    int addRecipientLines(const QStringList& lines);
    // Adds text as a new last line of the message; the text there stays.
    void appendMessageLine(const QString& text);
    void setSignatureText(const QString& text);
    void setPickedPhrase(const QString& text) { m_pickedPhrase = text; }

    QStringList recipientLines() const;
    // The composition controls as the send run reads them.
    sms::Composition composition() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Building the window.
    QWidget* buildCreditArea();
    QGroupBox* buildRecipientArea();
    QGroupBox* buildContentArea();
    QGroupBox* buildSearchArea();
    QWidget* buildSearchInputs(QWidget* parent);
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
    void updateRecipientCount();
    void forgetRunStates();

    // Composition and sending.
    void pickPhrase();
    void openHistory();
    void scheduleToggled(bool on);
    std::optional<QDateTime> scheduledAt() const;
    void updatePartsCount();
    bool confirmCredit(const QStringList& lines, const sms::Composition& composition);
    bool confirmSendingAgain();
    void send();
    void continueSending();
    void runOver(const QList<int>& rows, const sms::Composition& composition);
    void keepRunStates(const QList<int>& rows, const sms::RunResult& result);
    void reportRun(const sms::RunResult& result);
    void refreshCreditAfterRun();
    int linesIn(sms::Delivery state) const;
    void updateContinueButton();

    GatewayClient m_gateway;
    QString m_pickedPhrase;
    sms::RecipientTotals m_totals;
    // After a stopped run: what went to which number, so that continuing
    // sends none of it again. The lines keep their own states.
    sms::DeliveredTexts m_delivered;

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
