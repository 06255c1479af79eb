#pragma once

#include "members/member_search.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Fields in braces in a message, such as {姓名}, filled in with each
// recipient's own values: the name, salutation, member number, birthday (as
// the member window shows it) and category of a member, and the fields the
// settings give captions of their own.
namespace sms {

// A field's name -> the recipient's value.
using MergeValues = QHash<QString, QString>;

inline const QString kNameField = QStringLiteral("姓名");

struct MergeField {
    QString name;   // as written between the braces
    QString column; // the Cust column that holds its value
};

// The five fields every register has, then the configurable fields under
// the captions the settings give them (trimmed, without a closing colon;
// an empty caption or one that repeats a name already listed is left out).
QList<MergeField> mergeFields(const members::search::Captions& captions);
QStringList fieldNames(const QList<MergeField>& fields);
// The five fields every register has.
QStringList fixedFieldNames();

// The Cust columns the fields read, comma-separated, for a SELECT.
QString mergeColumns();

// A member's values, read with value(column).
MergeValues memberValues(const QList<MergeField>& fields,
                         const std::function<QString(const QString& column)>& value);

// True when the text holds something in braces.
bool hasFields(const QString& text);

// The names in braces the text holds that are not among known, in order,
// each once.
QStringList unknownFields(const QString& text, const QStringList& known);

struct Merged {
    QString text;
    QStringList empty; // the fields the values left empty or do not have
};

// The text with each {name} replaced by its value; a field the values leave
// empty or do not have becomes empty text and is named in empty. Unknown
// names are refused before anything is merged (unknownFields).
Merged merge(const QString& text, const MergeValues& values);

} // namespace sms
