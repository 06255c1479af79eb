#include "db/packed_values.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

using db::PackedValues;

const QVariantList kValues{
    QVariant(),
    QVariant(QMetaType::fromType<QString>()),
    QVariant(QMetaType::fromType<qlonglong>()),
    QVariant(QStringLiteral("陳大文 O'Brien")),
    QVariant(QString(QStringLiteral(""))),
    QVariant(qlonglong(-1234567890123)),
    QVariant(42),
    QVariant(2.5),
    QVariant(QByteArray("\0\1\2", 3)),
    QVariant(true),
    QVariant(QDate(1976, 12, 31)),
    QVariant(QString(300, QChar(0x4E00))),
};

TEST(PackedValuesTest, EveryValueComesBackWithItsTypeAndNullness) {
    const PackedValues packed(kValues);
    ASSERT_EQ(packed.count(), kValues.size());
    for (int i = 0; i < kValues.size(); ++i) {
        const QVariant value = packed.at(i);
        EXPECT_EQ(value.isValid(), kValues[i].isValid()) << i;
        EXPECT_EQ(value.isNull(), kValues[i].isNull()) << i;
        EXPECT_EQ(value.typeId(), kValues[i].typeId()) << i;
        EXPECT_EQ(value, kValues[i]) << i;
    }
    EXPECT_EQ(packed.toList(), kValues);
    EXPECT_FALSE(packed.at(kValues.size()).isValid());
    EXPECT_FALSE(packed.at(-1).isValid());
}

TEST(PackedValuesTest, SetChangesOneValue) {
    PackedValues packed(kValues);
    packed.set(3, QStringLiteral("林"));
    packed.set(0, 7);
    EXPECT_EQ(packed.at(3).toString(), QStringLiteral("林"));
    EXPECT_EQ(packed.at(0).toInt(), 7);
    EXPECT_EQ(packed.at(5), kValues[5]);
    EXPECT_EQ(packed.count(), kValues.size());
}

TEST(PackedValuesTest, InvalidRowAndAppendedDatabaseValues) {
    const PackedValues empty = PackedValues::invalid(3);
    EXPECT_EQ(empty.count(), 3);
    EXPECT_FALSE(empty.at(2).isValid());

    PackedValues row;
    row.appendInteger(5);
    row.appendText("\xe9\x99\xb3", 3);
    row.appendNull(QMetaType::fromType<QString>());
    row.appendReal(0.5);
    row.appendBlob("ab", 2);
    EXPECT_EQ(row.toList(),
              (QVariantList{qlonglong(5), QStringLiteral("陳"),
                            QVariant(QMetaType::fromType<QString>()), 0.5, QByteArray("ab")}));
}

} // namespace
