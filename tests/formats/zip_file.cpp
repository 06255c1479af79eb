#include "tests/formats/zip_file.h"

#include <QFile>
#include <gtest/gtest.h>
#include <zip.h>

namespace test_files {

void writeZip(const QString& path, const QList<std::pair<QString, QByteArray>>& entries) {
    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr) << error;
    for (const auto& [name, content] : entries) {
        zip_source_t* source =
            zip_source_buffer(archive, content.constData(), zip_uint64_t(content.size()), 0);
        ASSERT_NE(source, nullptr);
        ASSERT_GE(zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8), 0)
            << zip_strerror(archive);
    }
    // The buffers must live until the archive is written, which is now.
    ASSERT_EQ(zip_close(archive), 0) << zip_strerror(archive);
}

} // namespace test_files
