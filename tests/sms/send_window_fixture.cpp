#include "tests/sms/send_window_fixture.h"

#include "members/drop_down_box.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

void SmsSendWindowTest::openWindow() {
    m_window = std::make_unique<TFrmSendMessage>();
    m_window->show();
}

void SmsSendWindowTest::chooseCriterion(int index) const {
    auto* criteria = child<QComboBox>("ComboBox1");
    criteria->setCurrentIndex(index);
    emit criteria->activated(index);
}

void SmsSendWindowTest::search(int criterion, const QString& value) const {
    chooseCriterion(criterion);
    child<DropDownBox>("ComboBox2")->setEditText(value);
    click("btnSearch");
}

void SmsSendWindowTest::clickMark(int row) const {
    auto* grid = child<QTableView>("DBGridEh1");
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    ASSERT_TRUE(cell.isValid());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

void SmsSendWindowTest::addThreeMembers() {
    addMember("A01", "林", "先生", "0900000001");
    addMember("A02", "許功蓋", "小姐", "0900000002");
    addMember("A03", "王", "", "0900000003");
}

void SmsSendWindowTest::addEveryMember() {
    search(0);
    click("BtnSelectAll");
    click("BitBtn1");
}

QString SmsSendWindowTest::countLabel() const {
    return child<QLabel>("lblTotal")->text();
}
