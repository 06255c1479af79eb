#pragma once

#include <QByteArray>
#include <QString>

// Reading one stream out of a compound file (the container of Excel 97 to
// 2003 workbooks and other older Office documents): a small file system of
// sectors, chained through allocation tables, with a directory of named
// streams. Every sector number, chain and size is checked against the bytes
// the file holds, so a damaged file is refused instead of read past its end.
namespace members {

// The bytes of the stream named one of names (compared without letter case,
// in the order given) in the compound file bytes. Throws FileError, naming
// path, when bytes is not a compound file, is damaged, or has no such
// stream.
QByteArray compoundFileStream(const QByteArray& bytes, const QStringList& names,
                              const QString& path);

} // namespace members
