#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Printed member lists as the text import reads them, written by the tests:
// Big5, CR LF, fields at their byte columns.
namespace test_files {

struct ListMember {
    QString id;
    QString name;
    QString homeTel;
    QString birthday; // as printed: "65/12/31" or "/  /"
    QString address;
    QString tel;
    QString memo;
};

// The seven lines of one member.
QByteArray memberLines(const ListMember& member);

// A page: the title and its ten heading lines, the members, and a footer of
// three lines beginning with "第".
QByteArray listPage(const QList<ListMember>& members, int page);

// Members numbered from first, with Chinese names and a birthday.
QList<ListMember> listMembers(int first, int count);

} // namespace test_files
