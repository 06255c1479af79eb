#include "members/import/member_list.h"

#include "base/big5.h"
#include "base/errors.h"
#include "members/minguo_date.h"

namespace members {
namespace {

const QByteArray kTitle = big5::encode(QStringLiteral("客戶資料全表"));
const QByteArray kFooterMark = big5::encode(QStringLiteral("第"));
constexpr int kTitleLines = 11;
constexpr int kFooterLines = 3;
constexpr int kMemberLines = 7;

QByteArray trimBytes(const QByteArray& bytes) {
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes.at(begin)) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes.at(end - 1)) <= ' ')
        --end;
    return bytes.mid(begin, end - begin);
}

// Bytes first to last (from 1) of a line; a piece beyond its end is empty.
QByteArray piece(const QByteArray& line, int first, int last = -1) {
    return trimBytes(line.mid(first - 1, last < 0 ? -1 : last - first + 1));
}

QString text(const QByteArray& bytes) {
    return big5::decode(bytes);
}

// The lines of the text, trimmed; the line break ending the text starts no
// further line.
QList<QByteArray> trimmedLines(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray& line : lines)
        line = trimBytes(line);
    return lines;
}

} // namespace

QList<ListedMember> readMemberList(const QByteArray& content) {
    const QList<QByteArray> lines = trimmedLines(content);
    const auto line = [&lines](qsizetype index) {
        return index < lines.size() ? lines.at(index) : QByteArray();
    };
    QList<ListedMember> members;
    qsizetype at = 0;
    while (at < lines.size()) {
        const QByteArray& first = lines.at(at);
        if (first == kTitle) {
            at += kTitleLines;
        } else if (first.startsWith(kFooterMark)) {
            at += kFooterLines;
        } else {
            const QByteArray fourth = line(at + 3);
            const QByteArray fifth = line(at + 4);
            members.append({text(piece(first, 1, 15)), text(piece(first, 34, 41)),
                            text(piece(first, 42, 53)), piece(first, 54, 62), text(fourth),
                            text(piece(fifth, 1, 15)), text(piece(fifth, 16)), int(at) + 1});
            at += kMemberLines;
        }
    }
    return members;
}

QDate listedBirthday(const QByteArray& value) {
    const QString typed = text(value);
    // Read as the member window reads a typed birthday: a three-digit year
    // when the first three characters are a number, else a two-digit one;
    // only "/" separates the parts, and no blanks stand between them.
    std::optional<QDate> date;
    try {
        date = birthdayDate(typed);
    } catch (const ConversionError&) {
        throw ConversionError(QStringLiteral("「%1」的年份不是整數").arg(typed));
    }
    if (!date || !date->isValid())
        throw ConversionError(QStringLiteral("「%1」不是有效的日期").arg(typed));
    return *date;
}

} // namespace members
