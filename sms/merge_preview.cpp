#include "sms/merge_preview.h"

#include "base/big5.h"
#include "sms/merge_fields.h"
#include "sms/sms_parts.h"

namespace sms {

QList<PreviewLine> previewLines(const QList<Recipient>& recipients, const Composition& composition,
                                bool scheduled) {
    QList<PreviewLine> lines;
    lines.reserve(recipients.size());
    for (const Recipient& recipient : recipients) {
        const ComposedMessage composed = compose(recipient, composition);
        PreviewLine line;
        line.recipient = recipientLine(recipient);
        line.text = deliveredText(composed.text, scheduled);
        line.characters = characterCount(line.text);
        line.parts = partCount(line.characters);
        QStringList problems;
        const QStringList empty = merge(composition.message, mergeValues(recipient)).empty;
        if (!empty.isEmpty() && !composition.blankEmptyFields)
            problems << QStringLiteral("沒有資料﹕{%1}").arg(empty.join(QStringLiteral("}{")));
        const QString unmappable = big5::unmappable(composed.name + composed.text);
        if (!unmappable.isEmpty())
            problems << QStringLiteral("無法以Big5發送﹕%1").arg(unmappable);
        line.problem = problems.join(QStringLiteral("﹔"));
        lines << line;
    }
    return lines;
}

} // namespace sms
