#include "formats/import_errors.h"

#include "base/errors.h"

#include <QRegularExpression>

namespace members {

QString columnLetters(int column) {
    QString letters;
    for (int n = column; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar('A' + (n - 1) % 26));
    return letters;
}

QString cellErrorText(int row, int column, const QString& reason) {
    return QStringLiteral("第 %1 列 %2 欄%3").arg(row).arg(columnLetters(column), reason);
}

namespace {

// The value as the message shows it: control characters as their code.
QString shownValue(QStringView text) {
    QString shown;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

} // namespace

void checkStorableText(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t code = c.unicode();
        if (code >= 0x20 && code != 0x7F && !c.isSurrogate() && code != 0xFFFD)
            continue; // the common case, which none of the checks refuse
        const bool paired =
            c.isHighSurrogate()
                ? i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
                : !c.isLowSurrogate() || (i > 0 && text.at(i - 1).isHighSurrogate());
        if (!paired)
            throw ConversionError(
                QStringLiteral("「%1」含有不完整的 UTF-16 字元，檔案的編碼可能不對").arg(text));
        if ((code < 0x20 && code != '\t' && code != '\n' && code != '\r') || code == 0x7F)
            throw ConversionError(QStringLiteral("「%1」含有控制字元 (U+%2)，檔案的編碼可能不對")
                                      .arg(shownValue(text))
                                      .arg(int(code), 4, 16, QLatin1Char('0')));
        if (code == 0xFFFD)
            throw ConversionError(
                QStringLiteral(
                    "「%1」含有無法轉換成文字的位元組（例如沒有 Unicode 對應的 Big5 字）")
                    .arg(text));
    }
}

Refusal refusalOf(const QString& text) {
    static const QRegularExpression lengthCheck(
        QStringLiteral("CHECK constraint failed: length\\((\\w+)\\)\\s*<=\\s*(\\d+)"));
    static const QRegularExpression unique(
        QStringLiteral("UNIQUE constraint failed: \\w+\\.(\\w+)$"));
    Refusal refusal;
    if (const QRegularExpressionMatch match = lengthCheck.match(text); match.hasMatch()) {
        refusal.column = match.captured(1);
        refusal.limit = match.captured(2).toInt();
    } else if (const QRegularExpressionMatch match = unique.match(text); match.hasMatch()) {
        refusal.column = match.captured(1);
        refusal.duplicate = true;
    }
    refusal.databaseText = text;
    return refusal;
}

QString refusalText(const Refusal& refusal, const QString& value) {
    if (refusal.limit > 0)
        return QStringLiteral("「%1」太長（最多 %2 字）").arg(value).arg(refusal.limit);
    if (refusal.duplicate)
        return QStringLiteral("「%1」已經有了，不能重複").arg(value);
    return QStringLiteral("資料庫拒絕存入（原文：%1）").arg(refusal.databaseText);
}

} // namespace members
