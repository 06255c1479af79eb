// The send window's recipients: the member search with its marks, the
// recipient list and its count.
#include "base/named_button.h"
#include "base/phone_number.h"
#include "base/prompt.h"
#include "db/dataset.h"
#include "db/dataset_grid.h"
#include "db/dataset_model.h"
#include "members/criterion_row.h"
#include "members/member_search.h"
#include "members/saved_search_bar.h"
#include "sms/merge_fields.h"
#include "sms/recipient_search.h"
#include "sms/register_phones.h"
#include "sms/select_single_window.h"
#include "sms/send_message_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace search = members::search;

namespace {

const QString kMark = QStringLiteral("IsSelected");

} // namespace

QGroupBox* TFrmSendMessage::buildSearchArea() {
    auto* group = new QGroupBox(QStringLiteral("查詢會員"), this);
    group->setObjectName(QStringLiteral("GroupBox3"));
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(buildSearchInputs(group));
    buildResultGrid(group);
    layout->addWidget(DBGridEh1, 1);
    BtnSelectAll = namedButton("BtnSelectAll", QStringLiteral("全選"), group);
    BtnSelectNone = namedButton("BtnSelectNone", QStringLiteral("不選"), group);
    BitBtn1 = namedButton("BitBtn1", QStringLiteral("加入接收人"), group);
    connect(BtnSelectAll, &QPushButton::clicked, this, [this] { setAllMarks(true); });
    connect(BtnSelectNone, &QPushButton::clicked, this, [this] { setAllMarks(false); });
    connect(BitBtn1, &QPushButton::clicked, this, &TFrmSendMessage::addMarkedMembers);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnSelectAll);
    buttons->addWidget(BtnSelectNone);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    layout->addLayout(buttons);
    return group;
}

// The criteria with 查詢, and 常用查詢 on a row of its own below them, so that
// the window still fits a 1024-pixel screen.
QWidget* TFrmSendMessage::buildSearchInputs(QWidget* parent) {
    auto* inputs = new QWidget(parent);
    auto* rows = new QVBoxLayout(inputs);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    rows->addLayout(row);
    m_criteria = new members::CriterionRow({.keepsTypedValue = true, .categoryWidensValue = true},
                                           QStringLiteral("值﹕"), inputs);
    m_criteria->criterionBox()->setMinimumWidth(110);

    btnSearch = namedButton("btnSearch", QStringLiteral("查詢"), inputs);
    connect(btnSearch, &QPushButton::clicked, this, &TFrmSendMessage::search);

    row->addWidget(new QLabel(QStringLiteral("條件﹕"), inputs));
    row->addWidget(m_criteria);
    row->addWidget(btnSearch);
    row->addStretch();
    auto* saved = new QHBoxLayout;
    saved->addWidget(buildSavedSearches(inputs));
    saved->addStretch();
    rows->addLayout(saved);
    return inputs;
}

// The marks live in memory only: the result has no table to write to, and
// its changes stay in the rows it holds.
void TFrmSendMessage::buildResultGrid(QWidget* parent) {
    Qry_Customer = new db::Dataset(this);
    Qry_Customer->setObjectName(QStringLiteral("Qry_Customer"));
    Qry_Customer->setBatchMode(true);
    DataSource1 = new db::DatasetModel(Qry_Customer, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setColumns({{kMark, QStringLiteral("選擇")},
                             {QStringLiteral("name"), QStringLiteral("姓名")},
                             {QStringLiteral("CDTel"), QStringLiteral("電話")}});
    DataSource1->setCheckBoxField(kMark);
    DBGridEh1 = db::newDatasetGrid(DataSource1, parent);
    DBGridEh1->setColumnWidth(0, 40);
    connect(DBGridEh1, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == DataSource1->columnOf(kMark))
            toggleMark(index.row());
    });
}

// 常用查詢: the criteria are stored as the member window stores them; a saved
// search lists the enabled members it finds, as 查詢 does.
QWidget* TFrmSendMessage::buildSavedSearches(QWidget* parent) {
    return new members::SavedSearchBar({[this] {
                                            members::saved::SavedSearch current;
                                            current.input = m_criteria->input();
                                            return current;
                                        },
                                        [this](const members::saved::SavedSearch& saved) {
                                            if (saved.builtIn == members::saved::BuiltIn::None)
                                                m_criteria->setInput(saved.input);
                                            Qry_Customer->close();
                                            const search::Statement statement =
                                                sms::recipientStatement(
                                                    members::saved::clauseOf(saved));
                                            Qry_Customer->open(statement.lines, statement.params);
                                        }},
                                       parent);
}

// A failed search leaves the result closed.
void TFrmSendMessage::search() {
    const search::Input input = m_criteria->input();
    const search::Bounds stored = search::memberNumberBounds();
    Qry_Customer->close();
    const search::Statement statement = sms::recipientStatement(input, stored);
    Qry_Customer->open(statement.lines, statement.params);
}

void TFrmSendMessage::toggleMark(int row) {
    if (!Qry_Customer->moveTo(row) || Qry_Customer->currentRow() != row)
        return;
    const bool marked = Qry_Customer->value(kMark).toInt() != 0;
    Qry_Customer->edit();
    Qry_Customer->setValue(kMark, marked ? 0 : 1);
    Qry_Customer->post();
}

void TFrmSendMessage::setAllMarks(bool marked) {
    if (!Qry_Customer->isOpen())
        return;
    DBGridEh1->setUpdatesEnabled(false);
    for (int row = 0; row < Qry_Customer->rowCount(); ++row) {
        Qry_Customer->moveTo(row);
        Qry_Customer->edit();
        Qry_Customer->setValue(kMark, marked ? 1 : 0);
        Qry_Customer->post();
    }
    DBGridEh1->setUpdatesEnabled(true);
}

// Every marked member with a number a gateway can take becomes a line:
// name and salutation with the mobile number and the member's field values
// as its data. Members without one, members marked 不接收簡訊 and members
// whose handset is already listed are left out, and the user is told how
// many were.
void TFrmSendMessage::addMarkedMembers() {
    if (!Qry_Customer->isOpen()) {
        InfoBox(QStringLiteral("請先查詢﹐選擇姓名後﹐再添加﹗"));
        return;
    }
    DBGridEh1->setUpdatesEnabled(false);
    const int name = Qry_Customer->fieldIndex(QStringLiteral("name"));
    const int salutation = Qry_Customer->fieldIndex(QStringLiteral("Name1"));
    const int phone = Qry_Customer->fieldIndex(QStringLiteral("CDTel"));
    const int mark = Qry_Customer->fieldIndex(kMark);
    const int noSms = Qry_Customer->fieldIndex(QStringLiteral("NoSms"));
    const QList<sms::MergeField> fields = sms::mergeFields(members::search::readCaptions());
    QList<sms::Recipient> marked;
    int withoutMobile = 0;
    int optedOut = 0;
    for (int row = 0; row < Qry_Customer->rowCount(); ++row) {
        if (Qry_Customer->value(row, mark).toInt() == 0)
            continue;
        if (Qry_Customer->value(row, noSms).toInt() != 0) {
            ++optedOut;
            continue;
        }
        const QString mobile = Qry_Customer->value(row, phone).toString().trimmed();
        if (!phone::isDialable(mobile)) {
            ++withoutMobile;
            continue;
        }
        marked << sms::Recipient{
            Qry_Customer->value(row, name).toString() +
                Qry_Customer->value(row, salutation).toString(),
            mobile, sms::memberValues(fields, [&](const QString& column) {
                return Qry_Customer->value(row, Qry_Customer->fieldIndex(column)).toString();
            })};
    }
    const Added added = addLines(marked);
    optedOut += added.optedOut;
    Qry_Customer->last();
    DBGridEh1->setUpdatesEnabled(true);
    QStringList notes;
    if (withoutMobile > 0)
        notes << QStringLiteral("%1 位會員沒有手機號碼﹐未加入").arg(withoutMobile);
    if (optedOut > 0)
        notes << QStringLiteral("%1 位會員不接收簡訊﹐未加入").arg(optedOut);
    if (added.repeated > 0)
        notes << QStringLiteral("%1位會員的電話已在接收人清單中﹐沒有再加入。").arg(added.repeated);
    if (!notes.isEmpty())
        InfoBox(notes.join(QLatin1Char('\n')));
}

bool TFrmSendMessage::addRecipient(const sms::Recipient& recipient) {
    return addRecipients({recipient}) == 0;
}

int TFrmSendMessage::addRecipients(const QList<sms::Recipient>& recipients) {
    const Added added = addLines(recipients);
    return added.repeated + added.optedOut;
}

// Every way into the list passes here, so a line whose telephone belongs to
// a member marked 不接收簡訊 never gets in, whoever typed or found it.
TFrmSendMessage::Added TFrmSendMessage::addLines(const QList<sms::Recipient>& recipients) {
    const sms::OptOutSplit split = sms::splitOptedOut(recipients, sms::optedOutPhones());
    Added added;
    added.optedOut = int(split.left.size());
    added.repeated = m_recipients->add(split.kept);
    added.listed = int(split.kept.size()) - added.repeated;
    return added;
}

// Nothing stays selected afterwards, so a second press deletes nothing the
// user did not choose.
void TFrmSendMessage::deleteRecipient() {
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    if (!selected.isEmpty())
        m_recipients->removeAt(ListBox1->row(selected.first()));
    ListBox1->selectionModel()->clear();
    ListBox1->setFocus();
}

void TFrmSendMessage::deleteAllRecipients() {
    m_recipients->clear();
}

void TFrmSendMessage::addCustomRecipient() {
    TFrmSelectSingle single(this);
    single.exec();
}
