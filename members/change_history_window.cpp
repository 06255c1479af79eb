#include "members/change_history_window.h"

#include "base/data_changes.h"
#include "base/keyboard_navigation.h"
#include "base/named_button.h"
#include "base/prompt.h"
#include "db/change_history.h"
#include "db/dataset.h"
#include "db/dataset_grid.h"
#include "db/dataset_model.h"
#include "db/display_text.h"
#include "members/change_history_query.h"
#include "members/change_revert.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("修改紀錄");

QDateEdit* dateField(const char* name, const QDate& date, QWidget* parent) {
    auto* field = new QDateEdit(date, parent);
    field->setObjectName(QLatin1String(name));
    field->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    field->setCalendarPopup(true);
    return field;
}

QString shown(const QVariant& value) {
    return value.isNull() ? QStringLiteral("(空白)") : value.toString();
}

} // namespace

TFrmCustHistory::TFrmCustHistory(const QString& member, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmCustHistory"));
    setWindowTitle(member.isEmpty() ? kCaption : kCaption + QStringLiteral(" - ") + member);
    m_captions = members::search::readCaptions();

    const QDate today = QDate::currentDate();
    ChkDate = new QCheckBox(QStringLiteral("日期"), this);
    ChkDate->setObjectName(QStringLiteral("ChkDate"));
    DateFrom = dateField("DateFrom", today.addMonths(-1), this);
    DateTo = dateField("DateTo", today, this);
    EdtUser = new QLineEdit(this);
    EdtUser->setObjectName(QStringLiteral("EdtUser"));
    EdtMember = new QLineEdit(member, this);
    EdtMember->setObjectName(QStringLiteral("EdtMember"));
    BtnSearch = namedButton("BtnSearch", QStringLiteral("查詢"), this);
    BtnSearch->setDefault(true);
    connect(BtnSearch, &QPushButton::clicked, this, &TFrmCustHistory::search);

    auto* filters = new QHBoxLayout;
    filters->addWidget(ChkDate);
    filters->addWidget(DateFrom);
    filters->addWidget(new QLabel(QStringLiteral("~"), this));
    filters->addWidget(DateTo);
    filters->addWidget(new QLabel(QStringLiteral("用戶"), this));
    filters->addWidget(EdtUser);
    filters->addWidget(new QLabel(QStringLiteral("會員編號"), this));
    filters->addWidget(EdtMember);
    filters->addWidget(BtnSearch);
    filters->addStretch();

    buildGrid();
    LblCount = new QLabel(this);
    LblCount->setObjectName(QStringLiteral("LblCount"));
    BtnRevert = namedButton("BtnRevert", QStringLiteral("復原此變更"), this);
    connect(BtnRevert, &QPushButton::clicked, this, &TFrmCustHistory::revertChange);
    BtnRestore = namedButton("BtnRestore", QStringLiteral("還原此會員"), this);
    connect(BtnRestore, &QPushButton::clicked, this, &TFrmCustHistory::restoreMember);
    BtnExit = namedButton("BtnExit", QStringLiteral("離開"), this);
    connect(BtnExit, &QPushButton::clicked, this, &QDialog::reject);
    keyboard::setEscapeButton(BtnExit);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(LblCount);
    bottom->addStretch();
    bottom->addWidget(BtnRevert);
    bottom->addWidget(BtnRestore);
    bottom->addWidget(BtnExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(DBGridEh1, 1);
    layout->addLayout(bottom);

    setTabOrder(EdtMember, BtnSearch);
    keyboard::install(this);
    resize(1000, 520);
    search();
}

void TFrmCustHistory::buildGrid() {
    Qry_History = new db::Dataset(this);
    Qry_History->setObjectName(QStringLiteral("Qry_History"));
    DataSource1 = new db::DatasetModel(Qry_History, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setColumns({{QStringLiteral("ChangeTime"), QStringLiteral("時間")},
                             {QStringLiteral("UserID"), QStringLiteral("用戶")},
                             {QStringLiteral("Host"), QStringLiteral("電腦")},
                             {QStringLiteral("CustID"), QStringLiteral("會員")},
                             {QStringLiteral("FieldShown"), QStringLiteral("欄位")},
                             {QStringLiteral("OldValue"), QStringLiteral("原值")},
                             {QStringLiteral("NewValue"), QStringLiteral("新值")}});
    // The field's caption, or what became of a whole member.
    DataSource1->setFieldFormatter(QStringLiteral("FieldShown"), [this](const QVariant& value) {
        return members::changes::shownField(value.toString(), m_captions);
    });
    DataSource1->setFieldFormatter(QStringLiteral("OldValue"), &members::changes::valueText);
    DataSource1->setFieldFormatter(QStringLiteral("NewValue"), &members::changes::valueText);
    DBGridEh1 = db::newDatasetGrid(DataSource1, this);
    DBGridEh1->setColumnWidth(0, 150);
    DBGridEh1->setColumnWidth(DataSource1->columnOf(QStringLiteral("OldValue")), 220);
    DBGridEh1->setColumnWidth(DataSource1->columnOf(QStringLiteral("NewValue")), 220);
    connect(Qry_History, &db::Dataset::movedTo, this, &TFrmCustHistory::onCurrentChanged);
}

void TFrmCustHistory::search() {
    members::changes::Filter filter;
    if (ChkDate->isChecked()) {
        filter.from = DateFrom->date();
        filter.to = DateTo->date();
    }
    filter.user = EdtUser->text().trimmed();
    filter.member = EdtMember->text().trimmed();
    Qry_History->close();
    Qry_History->open(members::changes::statementLines(filter),
                      members::changes::statementParams(filter));
    const int count = Qry_History->rowCount();
    LblCount->setText(
        count >= members::changes::kShownRecords
            ? QStringLiteral("顯示最新的 %1 筆﹐請以日期、用戶或會員縮小範圍").arg(count)
            : QStringLiteral("共 %1 筆").arg(count));
    onCurrentChanged();
}

void TFrmCustHistory::onCurrentChanged() {
    const bool any = Qry_History->isOpen() && Qry_History->currentRow() >= 0;
    const QString action =
        any ? Qry_History->value(QStringLiteral("Action")).toString() : QString();
    const bool wholeMember = any && Qry_History->value(QStringLiteral("Field")).isNull();
    const bool deleted = action == QLatin1String(db::history::kDelete);
    BtnRestore->setEnabled(deleted);
    BtnRevert->setEnabled(any && action != QLatin1String(db::history::kImport) &&
                          !(wholeMember && action == QLatin1String(db::history::kRevert)));
}

// A change of one field puts the old value back; an added member is deleted
// again; a deleted member is restored.
void TFrmCustHistory::revertChange() {
    if (Qry_History->currentRow() < 0)
        return;
    const qint64 id = Qry_History->value(QStringLiteral("ID")).toLongLong();
    const members::changes::Record record = members::changes::readRecord(id);
    if (record.action == QLatin1String(db::history::kDelete)) {
        restoreMember();
        return;
    }
    if (record.field.isEmpty()) {
        if (!Prompt::current().question(
                kCaption,
                QStringLiteral("復原這筆新增會把會員 %1 刪除。\n確實要刪除嗎﹖").arg(record.member),
                Prompt::No))
            return;
        members::changes::removeAddedMember(record);
        afterChange();
        return;
    }
    revertField(id);
}

void TFrmCustHistory::revertField(qint64 id) {
    const members::changes::Record record = members::changes::readRecord(id);
    const members::changes::Standing now = members::changes::standing(record);
    if (now.memberGone) {
        Prompt::current().message(
            Prompt::Icon::Warning, kCaption,
            QStringLiteral("會員 %1 已被刪除﹐無法復原此變更。").arg(record.member));
        return;
    }
    const QString field = members::changes::fieldCaption(record.field, m_captions);
    QString question;
    Prompt::DefaultButton safe = Prompt::Yes;
    if (now.changedSince) {
        // Someone changed the field again since: the user sees both and chooses.
        question = QStringLiteral("會員 %1 的「%2」在這次修改之後又被修改過。\n"
                                  "這次修改前的值﹕%3\n目前的值﹕%4\n"
                                  "要改回這次修改前的值嗎﹖(選「否」保留目前的值)")
                       .arg(record.member, field, shown(record.oldValue), shown(now.current));
        safe = Prompt::No;
    } else {
        question = QStringLiteral("把會員 %1 的「%2」由「%3」改回「%4」嗎﹖")
                       .arg(record.member, field, shown(now.current), shown(record.oldValue));
    }
    if (!Prompt::current().question(kCaption, question, safe))
        return;
    members::changes::putBack(record, record.oldValue, now.current);
    afterChange();
}

void TFrmCustHistory::restoreMember() {
    if (Qry_History->currentRow() < 0)
        return;
    const members::changes::Record record =
        members::changes::readRecord(Qry_History->value(QStringLiteral("ID")).toLongLong());
    if (record.action != QLatin1String(db::history::kDelete))
        return;
    members::changes::restoreMember(record);
    Prompt::current().message(Prompt::Icon::Information, kCaption,
                              QStringLiteral("會員 %1 已還原。").arg(record.member));
    afterChange();
}

// The member windows read the members again; the list shows the new record.
void TFrmCustHistory::afterChange() {
    DataChanges::instance().announce();
    search();
}
