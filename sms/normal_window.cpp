#include "sms/normal_window.h"

#include "base/keyboard_navigation.h"
#include "base/prompt.h"
#include "db/dataset.h"
#include "db/dataset_grid.h"
#include "db/dataset_model.h"
#include "db/field_binder.h"
#include "db/record_buttons.h"
#include "sms/current_send_window.h"
#include "sms/send_message_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

TFrmNormal::TFrmNormal(Mode mode, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmNormal"));
    setWindowTitle(QStringLiteral("常用片語管理"));
    Qry_Normal = new db::Dataset(this);
    Qry_Normal->setObjectName(QStringLiteral("Qry_Normal"));
    Qry_Normal->setBaseTable(QStringLiteral("Normal"));
    Qry_Normal->setStatement(QStringLiteral("select * from normal"));
    buildGrid();

    m_binder = new db::FieldBinder(Qry_Normal, this);
    DBMemo1 = new QPlainTextEdit(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_binder->bind(DBMemo1, QStringLiteral("Normal"));

    m_buttons = new RecordButtons(Qry_Normal, this);
    m_buttons->connectActions({.add =
                                   [this] {
                                       Qry_Normal->append();
                                       focusPhrase();
                                   },
                               .remove = [this] { deletePhrase(); },
                               .exit = [this] { reject(); }});

    BtnSelect = new QPushButton(QStringLiteral("選取"), this);
    BtnSelect->setObjectName(QStringLiteral("BtnSelect"));
    BtnSelect->setAutoDefault(false);
    BtnExit = new QPushButton(QStringLiteral("離開"), this);
    BtnExit->setObjectName(QStringLiteral("BtnExit"));
    BtnExit->setAutoDefault(false);
    keyboard::setEscapeButton(BtnExit);
    connect(BtnSelect, &QPushButton::clicked, this, &TFrmNormal::pick);
    connect(BtnExit, &QPushButton::clicked, this, &QDialog::reject);
    m_buttons->layout()->addWidget(BtnSelect);
    m_buttons->layout()->addWidget(BtnExit);

    const bool maintaining = mode == Maintenance;
    for (QPushButton* button : {m_buttons->SbAdd, m_buttons->SbEdit, m_buttons->SbDel,
                                m_buttons->SbSave, m_buttons->SbCancel, m_buttons->SbExit})
        button->setVisible(maintaining);
    BtnSelect->setVisible(!maintaining);
    BtnExit->setVisible(!maintaining);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGridEh1, 2);
    layout->addWidget(DBMemo1, 1);
    layout->addLayout(m_buttons->layout());
    keyboard::install(this);
    resize(480, 420);
}

void TFrmNormal::buildGrid() {
    Dts_Normal = new db::DatasetModel(Qry_Normal, this);
    Dts_Normal->setObjectName(QStringLiteral("Dts_Normal"));
    Dts_Normal->setColumns({{QStringLiteral("Normal"), QStringLiteral("名稱")}});
    DBGridEh1 = db::newDatasetGrid(Dts_Normal, this);
    DBGridEh1->horizontalHeader()->setStretchLastSection(true);
}

void TFrmNormal::focusPhrase() {
    if (DBMemo1->isEnabled() && DBMemo1->isVisible())
        DBMemo1->setFocus();
}

void TFrmNormal::deletePhrase() {
    if (!Qry_Normal->isEmpty())
        Qry_Normal->remove();
}

// The phrase box shows the current row's phrase (nothing when the list is
// empty); that text goes to the send window.
void TFrmNormal::pick() {
    if (TFrmSendMessage* sendWindow = sms::currentSendWindow())
        sendWindow->setPickedPhrase(DBMemo1->toPlainText());
    accept();
}

// The list is read afresh at every show.
void TFrmNormal::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Qry_Normal->close();
    Qry_Normal->open();
}

// A phrase being typed is not dropped by the close box: it is saved or
// cancelled first, as the exit button (disabled meanwhile) requires.
void TFrmNormal::closeEvent(QCloseEvent* event) {
    if (Qry_Normal->isEditing()) {
        Prompt::current().message(Prompt::Icon::Warning, QStringLiteral("提示"),
                                  QStringLiteral("請保存後再離開"));
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
