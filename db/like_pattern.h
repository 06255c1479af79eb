#pragma once

#include <QString>

// LIKE patterns as the program's statements write them. Every LIKE names one
// escape character, the backslash, so that both engines read a pattern
// alike: left unnamed, a server takes a backslash as an escape and SQLite as
// a plain character.
namespace db {

// What follows each "like :Name" of a statement.
inline constexpr QLatin1String kLikeEscape(" escape '\\'");

// The typed text for a pattern in which "%" and "_" stay the wildcards they
// are: only the escape character is doubled, so that a typed backslash
// stands for itself.
QString likeKeepingWildcards(const QString& text);

// The typed text for a pattern in which "%", "_" and the escape character
// all stand for themselves.
QString likeLiteral(const QString& text);

} // namespace db
