#include "sms/merge_fields.h"

#include "base/text_helpers.h"

namespace sms {
namespace {

const QLatin1Char kOpen('{');
const QLatin1Char kClose('}');

// Calls found(name, from, to) for each "{name}" in text: from is the
// position of the opening brace, to the one after the closing brace. An
// opening brace without a closing one before the next opening one is text.
template <class Found> void eachField(const QString& text, Found found) {
    qsizetype from = text.indexOf(kOpen);
    while (from >= 0) {
        const qsizetype close = text.indexOf(kClose, from + 1);
        if (close < 0)
            return;
        const qsizetype nextOpen = text.indexOf(kOpen, from + 1);
        if (nextOpen >= 0 && nextOpen < close) {
            from = nextOpen;
            continue;
        }
        found(QStringView(text).mid(from + 1, close - from - 1), from, close + 1);
        from = text.indexOf(kOpen, close + 1);
    }
}

QString captionName(const QString& caption) {
    QString name = caption.trimmed();
    while (name.endsWith(QStringLiteral("﹕")) || name.endsWith(QLatin1Char(':')) ||
           name.endsWith(QStringLiteral("：")))
        name.chop(1);
    return name.trimmed();
}

} // namespace

QList<MergeField> mergeFields(const members::search::Captions& captions) {
    QList<MergeField> fields = {{kNameField, QStringLiteral("name")},
                                {QStringLiteral("稱謂"), QStringLiteral("Name1")},
                                {QStringLiteral("會員編號"), QStringLiteral("id")},
                                {QStringLiteral("生日"), QStringLiteral("MGBirthday")},
                                {QStringLiteral("類別"), QStringLiteral("Kind")}};
    const char* memoColumns[] = {"Memo", "Memo1", "Memo2", "Memo3", "Memo4"};
    QList<MergeField> configured = {{captions.category, QStringLiteral("Kind")},
                                    {captions.enterDate, QStringLiteral("EnterDate")},
                                    {captions.date1, QStringLiteral("date1")}};
    for (int i = 0; i < 5; ++i)
        configured.append({captions.memos.value(i), QLatin1String(memoColumns[i])});
    for (const MergeField& field : configured) {
        const QString name = captionName(field.name);
        if (name.isEmpty() || name.contains(kOpen) || name.contains(kClose) ||
            fieldNames(fields).contains(name))
            continue;
        fields.append({name, field.column});
    }
    return fields;
}

QStringList fieldNames(const QList<MergeField>& fields) {
    QStringList names;
    for (const MergeField& field : fields)
        names << field.name;
    return names;
}

QStringList fixedFieldNames() {
    return fieldNames(mergeFields({}));
}

QString mergeColumns() {
    return QStringLiteral("id,name,Name1,MGBirthday,Kind,EnterDate,date1,Memo,Memo1,Memo2,Memo3,"
                          "Memo4");
}

MergeValues memberValues(const QList<MergeField>& fields,
                         const std::function<QString(const QString& column)>& value) {
    MergeValues values;
    for (const MergeField& field : fields)
        values.insert(field.name, trimBlanks(value(field.column)));
    return values;
}

bool hasFields(const QString& text) {
    bool found = false;
    eachField(text, [&](QStringView, qsizetype, qsizetype) { found = true; });
    return found;
}

QStringList unknownFields(const QString& text, const QStringList& known) {
    QStringList unknown;
    eachField(text, [&](QStringView name, qsizetype, qsizetype) {
        const QString field = name.toString();
        if (!known.contains(field) && !unknown.contains(field))
            unknown << field;
    });
    return unknown;
}

Merged merge(const QString& text, const MergeValues& values) {
    Merged merged;
    qsizetype copied = 0;
    eachField(text, [&](QStringView name, qsizetype from, qsizetype to) {
        merged.text += QStringView(text).mid(copied, from - copied);
        const QString field = name.toString();
        const QString value = values.value(field);
        if (value.isEmpty() && !merged.empty.contains(field))
            merged.empty << field;
        merged.text += value;
        copied = to;
    });
    if (copied == 0)
        merged.text = text;
    else
        merged.text += QStringView(text).mid(copied);
    return merged;
}

} // namespace sms
