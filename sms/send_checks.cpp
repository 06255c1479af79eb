#include "sms/send_checks.h"

#include "base/big5.h"
#include "sms/message_history.h"

namespace sms {
namespace {

QString tooLong(int index, const QString& line, const QString& what, int length) {
    return QStringLiteral("第%1位接收人「%2」的%3超過%4個字﹐無法記入發送歷史﹐請修改後再發送﹗")
        .arg(index)
        .arg(line, what)
        .arg(length);
}

std::optional<QString> lineRefusal(int index, const Recipient& recipient,
                                   const Composition& composition) {
    const QString line = recipientLine(recipient);
    const ComposedMessage composed = compose(recipient, composition);
    if (composed.listedName.size() > history::kNameLength)
        return tooLong(index, line, QStringLiteral("姓名"), history::kNameLength);
    if (composed.phone.size() > history::kPhoneLength)
        return tooLong(index, line, QStringLiteral("電話"), history::kPhoneLength);
    const QString unmappable = big5::unmappable(composed.name + composed.phone + composed.text);
    if (!unmappable.isEmpty())
        return QStringLiteral(
                   "第%1位接收人「%2」的簡訊含有無法以Big5發送的字﹕%3﹐請修改後再發送﹗")
            .arg(index)
            .arg(line, unmappable);
    return std::nullopt;
}

} // namespace

std::optional<QString> sendRefusal(const QList<Recipient>& lines, const Composition& composition) {
    if (!lines.isEmpty() && composition.signature.size() > history::kSignLength)
        return QStringLiteral("署名超過%1個字﹐無法記入發送歷史﹐請修改後再發送﹗")
            .arg(history::kSignLength);
    for (int i = 0; i < lines.size(); ++i) {
        if (std::optional<QString> refusal = lineRefusal(i + 1, lines[i], composition))
            return refusal;
    }
    return std::nullopt;
}

} // namespace sms
