#include "core/bounded_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(BoundedFile, ReadsUpToTheCeilingAndRefusesMore)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(100, 'x'));
    file.close();

    EXPECT_EQ(BoundedFile::read(path, 100).bytes, QByteArray(100, 'x'));
    const BoundedFile::Result over = BoundedFile::read(path, 99);
    EXPECT_FALSE(over.bytes);
    EXPECT_TRUE(over.tooLarge);
}

TEST(BoundedFile, MissingFilesFoldersAndEndlessDevicesAreRefused)
{
    QTemporaryDir dir;
    EXPECT_FALSE(BoundedFile::read(dir.filePath(QStringLiteral("none")), 10).bytes);
    EXPECT_FALSE(BoundedFile::read(dir.path(), 10).bytes);
    const BoundedFile::Result endless = BoundedFile::read(QStringLiteral("/dev/zero"), 3 << 20);
    EXPECT_FALSE(endless.bytes);
    EXPECT_TRUE(endless.tooLarge);
}
