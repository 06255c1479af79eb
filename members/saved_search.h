#pragma once

#include "members/member_search.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <tuple>

// Member searches kept under a name in the register (table SavedSearch), so
// that every desk runs the same ones, and the four lists that are always
// there: today's, this month's and next month's birthdays and the members
// who joined this year. The member window, the SMS recipient search and the
// command line (--send --search, --export --search) all run them from here.
namespace members::saved {

enum class BuiltIn {
    None,
    TodaysBirthdays,
    ThisMonthsBirthdays,
    NextMonthsBirthdays,
    JoinedThisYear
};

struct SavedSearch {
    QString name;
    search::Input input;       // the criterion and what was typed for it
    bool activeMembers = true; // 有效會員
    QString sortField;         // the grid column sorted by; empty: the criterion's order
    bool sortDescending = false;
    BuiltIn builtIn = BuiltIn::None;

    bool operator==(const SavedSearch& other) const {
        const auto inputs = [](const search::Input& in) {
            return std::tie(in.criterion, in.value, in.upper, in.year, in.month, in.day);
        };
        return name == other.name && inputs(input) == inputs(other.input) &&
               activeMembers == other.activeMembers && sortField == other.sortField &&
               sortDescending == other.sortDescending && builtIn == other.builtIn;
    }
};

// The longest name a search may have.
inline constexpr int kMaxNameLength = 30;

// Today, for the built-in lists: the system's date unless a test set a clock.
QDate today();
// Replaces the clock; an empty function restores the system's.
void setClock(std::function<QDate()> clock);

// The four built-in lists, in the order the drop-downs show them.
QList<SavedSearch> builtInSearches();

// The searches stored in the register, by name.
QList<SavedSearch> storedSearches();

// The built-in lists, then the stored searches.
QList<SavedSearch> allSearches();

// The search of that name (letter case ignored), built in or stored.
std::optional<SavedSearch> findSearch(const QString& name);

// The refusal of a name for a stored search (empty, too long, the name of a
// built-in list), in words for the user; nothing when it may be used.
std::optional<QString> nameRefusal(const QString& name);

// Stores the search under its name. An existing search of that name is
// replaced when replace is true; otherwise, and for a name nameRefusal
// refuses, throws DatabaseError with the reason.
void saveSearch(const SavedSearch& search, bool replace);

// Renames a stored search. Throws DatabaseError when the new name is refused
// or taken, or when no stored search has the old name (another desk may have
// deleted it).
void renameSearch(const QString& from, const QString& to);

// Deletes a stored search; nothing happens when it is already gone.
void deleteSearch(const QString& name);

// The line the search adds to a member statement and its values, for today
// as the clock tells. A stored number criterion with empty bounds takes the
// register's smallest and largest number at the time it runs. Throws
// ConversionError as search::criterionClause does.
search::Clause clauseOf(const SavedSearch& search);

// The member window's statement of the search.
search::Statement memberStatementOf(const SavedSearch& search);

} // namespace members::saved
