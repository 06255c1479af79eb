#include "base/big5.h"
#include "members/import/member_list.h"
#include "tests/members/import/member_list_text.h"

#include <gtest/gtest.h>

namespace {

using namespace test_files;

void expectMember(const members::ListedMember& read, const ListMember& written) {
    EXPECT_EQ(read.id, written.id);
    EXPECT_EQ(read.name, written.name);
    EXPECT_EQ(read.homeTel, written.homeTel);
    EXPECT_EQ(big5::decode(read.birthday), written.birthday);
    EXPECT_EQ(read.address, written.address);
    EXPECT_EQ(read.tel, written.tel);
    EXPECT_EQ(read.memo, written.memo);
}

TEST(MemberListTest, PagesOfMembersSkipTitlesAndFooters) {
    const QList<ListMember> first = listMembers(1, 3);
    const QList<ListMember> second = listMembers(4, 3);
    const QList<members::ListedMember> read =
        members::readMemberList(listPage(first, 1) + listPage(second, 2));
    ASSERT_EQ(read.size(), 6);
    for (int i = 0; i < 3; ++i) {
        expectMember(read[i], first[i]);
        expectMember(read[i + 3], second[i]);
    }
}

TEST(MemberListTest, PositionsCountBytesOfTheTrimmedLine) {
    // The name of four Chinese characters fills bytes 34-41 exactly; the
    // leading blanks of the line do not count.
    ListMember member{QStringLiteral("A1"),       QStringLiteral("歐陽小明"),
                      QStringLiteral("1234"),     QStringLiteral("/  /"),
                      QStringLiteral("地址"),     QStringLiteral("5678"),
                      QStringLiteral("備註 很長")};
    const QByteArray text = "   " + memberLines(member);
    const QList<members::ListedMember> read = members::readMemberList(text);
    ASSERT_EQ(read.size(), 1);
    expectMember(read[0], member);
}

TEST(MemberListTest, StrayBlankLineStartsAMemberAndShiftsTheRest) {
    const QList<ListMember> written = listMembers(1, 2);
    QByteArray text = listPage(written, 1);
    text.insert(text.indexOf(memberLines(written[0])), "\r\n");
    const QList<members::ListedMember> read = members::readMemberList(text);
    ASSERT_EQ(read.size(), 3);
    // The blank line and the first six lines of the first member.
    EXPECT_EQ(read[0].id, QString());
    EXPECT_EQ(read[0].birthday, QByteArray());
    EXPECT_EQ(read[0].address, QString());
    EXPECT_TRUE(read[0].tel.startsWith(written[0].address.left(7)));
    // The first member's last line and six lines of the second.
    EXPECT_EQ(read[1].id, QString(15, '-'));
    EXPECT_EQ(read[1].address, QString());
    EXPECT_TRUE(read[1].tel.startsWith(written[1].address.left(7)));
}

TEST(MemberListTest, AMemberCutShortReadsEmptyLines) {
    const ListMember member = listMembers(1, 1).first();
    QByteArray text = memberLines(member);
    text.truncate(text.indexOf("\r\n") + 2); // only the first line is left
    const QList<members::ListedMember> read = members::readMemberList(text);
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read[0].id, member.id);
    EXPECT_EQ(read[0].address, QString());
    EXPECT_EQ(read[0].tel, QString());
}

} // namespace
