#include "sms/send_checks.h"

#include "base/big5.h"
#include "sms/message_history.h"

#include <QHash>
#include <algorithm>

namespace sms {
namespace {

QString tooLong(int index, const QString& line, const QString& what, int length) {
    return QStringLiteral("第%1位接收人「%2」的%3超過%4個字﹐無法記入發送歷史﹐請修改後再發送﹗")
        .arg(index)
        .arg(line, what)
        .arg(length);
}

// Whether texts can be given in Big5, each piece looked up once: a merged
// text is the composition's own text and the recipient's values, and over
// thousands of recipients the same names and values come again and again.
class Big5Pieces {
public:
    explicit Big5Pieces(const Composition& composition)
        : m_composition(composition),
          m_ownTextFits(fits(composition.message + composition.signature)) {}

    // True only when the merged text surely fits; false means "look at the
    // whole text".
    bool surelyFits(const Recipient& recipient, const ComposedMessage& composed) {
        if (!m_ownTextFits || !fits(composed.name) || !fits(composed.phone))
            return false;
        if (!hasFields(m_composition.message))
            return true;
        const MergeValues values = mergeValues(recipient);
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (!fits(it.value()))
                return false;
        }
        return true;
    }

private:
    bool fits(const QString& piece) {
        const bool ascii =
            std::all_of(piece.cbegin(), piece.cend(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii)
            return true;
        const auto known = m_fits.constFind(piece);
        if (known != m_fits.cend())
            return *known;
        const bool fit = big5::unmappable(piece).isEmpty();
        m_fits.insert(piece, fit);
        return fit;
    }

    const Composition& m_composition;
    QHash<QString, bool> m_fits;
    bool m_ownTextFits;
};

std::optional<QString> lineRefusal(int index, const Recipient& recipient,
                                   const Composition& composition, Big5Pieces& big5Pieces) {
    const QString line = recipientLine(recipient);
    const ComposedMessage composed = compose(recipient, composition);
    if (composed.listedName.size() > history::kNameLength)
        return tooLong(index, line, QStringLiteral("姓名"), history::kNameLength);
    if (composed.phone.size() > history::kPhoneLength)
        return tooLong(index, line, QStringLiteral("電話"), history::kPhoneLength);
    if (big5Pieces.surelyFits(recipient, composed))
        return std::nullopt;
    const QString unmappable = big5::unmappable(composed.name + composed.phone + composed.text);
    if (!unmappable.isEmpty())
        return QStringLiteral(
                   "第%1位接收人「%2」的簡訊含有無法以Big5發送的字﹕%3﹐請修改後再發送﹗")
            .arg(index)
            .arg(line, unmappable);
    return std::nullopt;
}

// Every recipient a field of the message has no value for, listed with the
// fields (the first twenty of them, then how many more).
std::optional<QString> emptyFieldsRefusal(const QList<Recipient>& lines,
                                          const Composition& composition) {
    if (composition.blankEmptyFields || !hasFields(composition.message))
        return std::nullopt;
    constexpr int kListed = 20;
    QStringList listed;
    int refused = 0;
    for (const Recipient& recipient : lines) {
        const Merged merged = merge(composition.message, mergeValues(recipient));
        if (merged.empty.isEmpty())
            continue;
        if (++refused <= kListed)
            listed << QStringLiteral("%1﹕{%2}")
                          .arg(recipientLine(recipient), merged.empty.join(QStringLiteral("}{")));
    }
    if (refused == 0)
        return std::nullopt;
    if (refused > kListed)
        listed << QStringLiteral("…另有%1位").arg(refused - kListed);
    return QStringLiteral("下列%1位接收人的欄位沒有資料﹕\n%2\n請補上資料、刪除這些接收人﹐"
                          "或勾選「欄位無資料時留空」後再發送﹗")
        .arg(refused)
        .arg(listed.join(QLatin1Char('\n')));
}

} // namespace

std::optional<QString> sendRefusal(const QList<Recipient>& lines, const Composition& composition) {
    if (!lines.isEmpty() && composition.signature.size() > history::kSignLength)
        return QStringLiteral("署名超過%1個字﹐無法記入發送歷史﹐請修改後再發送﹗")
            .arg(history::kSignLength);
    if (const QStringList unknown = unknownFields(composition.message, composition.fieldNames);
        !unknown.isEmpty())
        return QStringLiteral("簡訊內容有不認得的欄位﹕{%1}﹐可用的欄位是﹕{%2}﹐請修改後再發送﹗")
            .arg(unknown.join(QStringLiteral("}、{")),
                 composition.fieldNames.join(QStringLiteral("}、{")));
    if (std::optional<QString> refusal = emptyFieldsRefusal(lines, composition))
        return refusal;
    Big5Pieces big5Pieces(composition);
    for (int i = 0; i < lines.size(); ++i) {
        if (std::optional<QString> refusal = lineRefusal(i + 1, lines[i], composition, big5Pieces))
            return refusal;
    }
    return std::nullopt;
}

} // namespace sms
