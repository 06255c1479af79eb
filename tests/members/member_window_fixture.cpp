#include "tests/members/member_window_fixture.h"

#include "app/main_window.h"
#include "base/window_opener.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "db/dataset_model.h"
#include "tests/support/typing.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

MemberWindowTest::MemberWindowTest() : previousFolder(QDir::currentPath()) {
    QDir::setCurrent(folder.path());
}

// A member still being edited is given up unasked, so that closing the
// windows asks nothing.
MemberWindowTest::~MemberWindowTest() {
    if (mainWindow) {
        if (isOpenInMenu() && window->memberQuery()->isEditing())
            window->memberQuery()->cancel();
        mainWindow->mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        mainWindow.reset();
    }
    m_ownWindow.reset();
    QDir::setCurrent(previousFolder);
}

void MemberWindowTest::open() {
    m_ownWindow = std::make_unique<TFrmCust>();
    window = m_ownWindow.get();
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

void MemberWindowTest::openFromMenu() {
    if (!mainWindow) {
        mainWindow = std::make_unique<TFrmMain>();
        mainWindow->show();
        QApplication::setActiveWindow(mainWindow.get());
    }
    auto* item = mainWindow->findChild<QAction*>(QStringLiteral("N7"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    QMdiSubWindow* child = mainWindow->mdiArea()->activeSubWindow();
    ASSERT_NE(child, nullptr);
    window = dynamic_cast<TFrmCust*>(child->widget());
    ASSERT_NE(window, nullptr);
}

bool MemberWindowTest::isOpenInMenu() const {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return mainWindow && windows::findChild(mainWindow->mdiArea(), QStringLiteral("FrmCust"));
}

void MemberWindowTest::closeWindow() {
    window->close();
}

void MemberWindowTest::press(const char* button) {
    QPushButton* widget = child<QPushButton>(button);
    ASSERT_TRUE(widget->isEnabled()) << button;
    QTest::mouseClick(widget, Qt::LeftButton);
}

void MemberWindowTest::type(const char* editor, const QString& text) {
    QWidget* widget = child<QWidget>(editor);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->clear();
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
        box->clearEditText();
        widget = box->lineEdit();
    }
    typeText(widget, text);
}

QWidget* MemberWindowTest::focused() const {
    return QApplication::focusWidget();
}

void MemberWindowTest::addMember(const QString& id, const QString& name, const QVariantMap& more) {
    QStringList columns{QStringLiteral("id"), QStringLiteral("name")};
    QVariantMap params{{QStringLiteral("id"), id}, {QStringLiteral("name"), name}};
    for (auto it = more.cbegin(); it != more.cend(); ++it) {
        columns << it.key();
        params.insert(it.key(), it.value());
    }
    QStringList names;
    for (const QString& column : columns)
        names << ':' + column;
    db::run(
        QStringLiteral("insert into Cust(%1) values(%2)").arg(columns.join(','), names.join(',')),
        params);
}

QVariant MemberWindowTest::stored(const QString& id, const QString& column) {
    QSqlQuery query = db::run(QStringLiteral("select %1 from Cust where id=:id").arg(column),
                              {{QStringLiteral("id"), id}});
    return query.next() ? query.value(0) : QVariant();
}

int MemberWindowTest::memberCount() {
    QSqlQuery query = db::run(QStringLiteral("select count(*) from Cust"));
    query.next();
    return query.value(0).toInt();
}

void MemberWindowTest::chooseCriterion(int index) {
    auto* box = child<QComboBox>("ComboBox1");
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void MemberWindowTest::searchAll() {
    chooseCriterion(0);
    press("BitBtn1");
}

QTableView* MemberWindowTest::grid() {
    return child<QTableView>("DBGridEh1");
}

QHeaderView* MemberWindowTest::header() {
    return grid()->horizontalHeader();
}

QStringList MemberWindowTest::listedIds() {
    QAbstractItemModel* model = grid()->model();
    QStringList ids;
    for (int row = 0; row < model->rowCount(); ++row)
        ids << model->index(row, 0).data().toString();
    return ids;
}

int MemberWindowTest::columnOf(const QString& field) {
    auto* model = qobject_cast<db::DatasetModel*>(grid()->model());
    EXPECT_NE(model, nullptr);
    return model->columnOf(field);
}

void MemberWindowTest::clickTitle(const QString& field) {
    QHeaderView* titles = header();
    const int section = columnOf(field);
    const QPoint point(titles->sectionViewportPosition(section) + titles->sectionSize(section) / 2,
                       titles->height() / 2);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}
