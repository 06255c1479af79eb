#include "members/criterion_row.h"

#include "db/field_binder.h"
#include "members/drop_down_box.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace members {

namespace {

constexpr int kNumberWidth = 100;
constexpr int kTextWidth = 185;

QComboBox* dateBox(QWidget* parent, const char* name, int maxLength, int last) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->lineEdit()->setMaxLength(maxLength);
    for (int i = 1; i <= last; ++i)
        box->addItem(QStringLiteral("%1").arg(i, 2, 10, QChar('0')));
    box->setCurrentIndex(-1);
    box->setFixedWidth(70);
    return box;
}

} // namespace

CriterionRow::CriterionRow(Behaviour behaviour, const QString& valueCaption, QWidget* parent)
    : QWidget(parent), m_behaviour(behaviour) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_criterion = new QComboBox(this);
    m_criterion->setObjectName(QStringLiteral("ComboBox1"));
    connect(m_criterion, &QComboBox::activated, this, &CriterionRow::choose);
    row->addWidget(m_criterion);
    if (!valueCaption.isEmpty())
        row->addWidget(new QLabel(valueCaption, this));

    m_valueInputs = new QWidget(this);
    auto* values = new QHBoxLayout(m_valueInputs);
    values->setContentsMargins(0, 0, 0, 0);
    m_value = new DropDownBox(m_valueInputs);
    m_value->setObjectName(QStringLiteral("ComboBox2"));
    m_rangeSign = new QLabel(QStringLiteral("~"), m_valueInputs);
    m_rangeSign->setObjectName(QStringLiteral("Label28"));
    m_upper = new QLineEdit(m_valueInputs);
    m_upper->setObjectName(QStringLiteral("Edit1"));
    m_upper->setFixedWidth(kNumberWidth);
    values->addWidget(m_value);
    values->addWidget(m_rangeSign);
    values->addWidget(m_upper);
    m_valueInputs->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    row->addWidget(m_valueInputs);

    m_datePanel = new QWidget(this);
    m_datePanel->setObjectName(QStringLiteral("Panel1"));
    auto* dates = new QHBoxLayout(m_datePanel);
    dates->setContentsMargins(0, 0, 0, 0);
    m_year = dateBox(m_datePanel, "ComboBox3", 4, 0);
    m_month = dateBox(m_datePanel, "ComboBox4", 2, 12);
    m_day = dateBox(m_datePanel, "ComboBox5", 2, 31);
    dates->addWidget(m_year);
    dates->addWidget(new QLabel(QStringLiteral("年"), m_datePanel));
    dates->addWidget(m_month);
    dates->addWidget(new QLabel(QStringLiteral("月"), m_datePanel));
    dates->addWidget(m_day);
    dates->addWidget(new QLabel(QStringLiteral("日"), m_datePanel));
    m_datePanel->hide();
    row->addWidget(m_datePanel);
}

void CriterionRow::reset(const QStringList& criterionNames) {
    m_upper->clear();
    m_value->setFixedWidth(kNumberWidth);
    m_criterion->clear();
    m_criterion->addItems(criterionNames);
    m_criterion->setCurrentIndex(0);
}

// The year list holds "00" to "100"; a typed year stays.
void CriterionRow::fillYearList() {
    QStringList years;
    for (int year = 0; year <= 100; ++year)
        years << QStringLiteral("%1").arg(year, 2, 10, QChar('0'));
    db::FieldBinder::replaceItems(m_year, years);
}

void CriterionRow::choose(int index) {
    const bool dates = index == search::Birthday || index == search::JoiningDate;
    m_datePanel->setVisible(dates);
    m_valueInputs->setVisible(!dates);
    const bool number = index == search::Number;
    m_rangeSign->setVisible(number);
    m_upper->setVisible(number);
    const QString typed = m_value->currentText();
    switch (index) {
    case search::Number:
        m_value->setPlain(true);
        m_value->setFixedWidth(kNumberWidth);
        break;
    case search::Salutation:
        m_value->setPlain(false);
        m_value->setFixedWidth(kTextWidth);
        m_value->setList(search::salutations());
        break;
    case search::Category:
        m_value->setPlain(false);
        if (m_behaviour.categoryWidensValue)
            m_value->setFixedWidth(kTextWidth);
        m_value->setList(search::categories());
        break;
    case search::Birthday:
    case search::JoiningDate:
        fillYearList();
        break;
    default:
        m_value->setPlain(true);
        m_value->setFixedWidth(kTextWidth);
        break;
    }
    if (m_behaviour.keepsTypedValue) {
        m_value->setEditText(typed);
    } else {
        m_value->clearEditText();
        m_upper->clear();
    }
}

search::Input CriterionRow::input() const {
    search::Input input;
    input.criterion = m_criterion->currentIndex();
    input.value = m_value->currentText();
    input.upper = m_upper->text();
    input.year = m_year->currentText();
    input.month = m_month->currentText();
    input.day = m_day->currentText();
    return input;
}

void CriterionRow::setInput(const search::Input& input) {
    if (input.criterion < 0 || input.criterion >= m_criterion->count())
        return;
    m_criterion->setCurrentIndex(input.criterion);
    choose(input.criterion);
    m_value->setEditText(input.value);
    m_upper->setText(input.upper);
    m_year->setEditText(input.year);
    m_month->setEditText(input.month);
    m_day->setEditText(input.day);
}

} // namespace members
