#pragma once

#include <QString>

// Users' passwords, stored as salted Argon2id hashes (libsodium's
// "$argon2id$..." strings) of the password folded to lower case, so that
// matching ignores letter case as it always has. Rows of older registers
// that still hold a plain password keep working and are upgraded at their
// next successful sign-in.
namespace passwords {

// A new salted hash of the password folded to lower case.
QString hash(const QString& password);

// Whether a stored password is a hash (rather than an older plain text).
bool isHash(const QString& stored);

// Whether typed is the password stored: a hash is verified, a plain text
// compared without regard to letter case.
bool matches(const QString& stored, const QString& typed);

// Whether any Users row of userId (letter case ignored) has the password
// typed; a matching row that still holds a plain password gets its hash.
bool checkSignIn(const QString& userId, const QString& typed);

// Whether every Users row of userId has an empty password (also when there
// is no such row): the administrator may then sign in without one.
bool hasNoPassword(const QString& userId);

// Stores password, hashed, for every Users row of userId.
void setPassword(const QString& userId, const QString& password);

// An older register limits Users.UserPwd to 16 characters, too short for a
// hash; this widens the column (rebuilding the table, rows kept) once.
void makeRoomForHashes();

} // namespace passwords
