#pragma once

#include "members/member_search.h"

#include <QWidget>

class DropDownBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace members {

// The inputs of the member search, as the member window and the SMS
// recipient search both show them: the criterion list, then either the value
// box (with "~" and an upper bound for the member number) or the year, month
// and day boxes of the date criteria. The controls keep their given names as
// object names: ComboBox1 the criterion, ComboBox2 the value, Label28 the
// "~", Edit1 the upper bound, Panel1 the date boxes ComboBox3 to ComboBox5.
class CriterionRow : public QWidget {
public:
    // Where the two windows differ when a criterion is chosen.
    struct Behaviour {
        // The typed value and upper bound stay; otherwise both are emptied.
        bool keepsTypedValue = false;
        // The category list widens the value box as the salutation list
        // does; otherwise the box keeps its width.
        bool categoryWidensValue = false;
    };

    // valueCaption, when given, stands between the criterion and the value.
    CriterionRow(Behaviour behaviour, const QString& valueCaption, QWidget* parent = nullptr);

    // Lists the criteria under these names, the first one chosen, and empties
    // the upper bound; the value box goes back to the number's width.
    void reset(const QStringList& criterionNames);

    // Shows the inputs the criterion at index uses (what choosing it from
    // the list does).
    void choose(int index);

    // What the user typed, for the statement builders.
    search::Input input() const;
    // Shows a saved search's inputs as if the user had chosen and typed them.
    void setInput(const search::Input& input);

    QComboBox* criterionBox() const { return m_criterion; }
    DropDownBox* valueBox() const { return m_value; }

private:
    void fillYearList();

    Behaviour m_behaviour;
    QComboBox* m_criterion;
    QWidget* m_valueInputs;
    DropDownBox* m_value;
    QLabel* m_rangeSign;
    QLineEdit* m_upper;
    QWidget* m_datePanel;
    QComboBox* m_year;
    QComboBox* m_month;
    QComboBox* m_day;
};

} // namespace members
