#include "tests/members/import/member_list_text.h"

#include "base/big5.h"

namespace test_files {
namespace {

// The text in Big5, padded with spaces to width bytes.
QByteArray field(const QString& text, int width) {
    QByteArray bytes = big5::encode(text);
    if (bytes.size() < width)
        bytes.append(QByteArray(width - bytes.size(), ' '));
    return bytes;
}

QByteArray line(const QByteArray& bytes) {
    return bytes + "\r\n";
}

} // namespace

QByteArray memberLines(const ListMember& member) {
    QByteArray text;
    text += line(field(member.id, 15) + field(QStringLiteral("會員"), 18) + field(member.name, 8) +
                 field(member.homeTel, 12) + field(member.birthday, 9));
    text += line(field(QStringLiteral("  身分證: A123456789"), 40));
    text += line(QByteArray());
    text += line("  " + big5::encode(member.address) + "  ");
    text += line(field(member.tel, 15) + big5::encode(member.memo));
    text += line(big5::encode(QStringLiteral("  入會: 96/05/01")));
    text += line(QByteArray(60, '-'));
    return text;
}

QByteArray listPage(const QList<ListMember>& members, int page) {
    QByteArray text = line(big5::encode(QStringLiteral("        客戶資料全表")));
    text += line(big5::encode(QStringLiteral("列印日期: 2008/01/01")));
    for (int i = 0; i < 9; ++i)
        text += line(i % 2 ? QByteArray(60, '=')
                           : big5::encode(QStringLiteral("編號  姓名  電話  生日")));
    for (const ListMember& member : members)
        text += memberLines(member);
    text += line(big5::encode(QStringLiteral("第 %1 頁").arg(page)));
    text += line(QByteArray());
    text += line(big5::encode(QStringLiteral("  管理軟體")));
    return text;
}

QList<ListMember> listMembers(int first, int count) {
    static const QString names[] = {QStringLiteral("王小明"), QStringLiteral("陳美玲"),
                                    QStringLiteral("林志豪"), QStringLiteral("張雅婷")};
    QList<ListMember> members;
    for (int i = first; i < first + count; ++i) {
        members.append({QStringLiteral("M%1").arg(i, 4, 10, QChar('0')), names[i % 4],
                        QStringLiteral("02-2765-%1").arg(i, 4, 10, QChar('0')),
                        QStringLiteral("%1/%2/15").arg(50 + i).arg(i % 12 + 1, 2, 10, QChar('0')),
                        QStringLiteral("台北市中正區重慶南路%1號").arg(i),
                        QStringLiteral("0912-000-%1").arg(i, 3, 10, QChar('0')),
                        QStringLiteral("備註%1").arg(i)});
    }
    return members;
}

} // namespace test_files
