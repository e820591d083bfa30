#include "core/bounded_file.h"
#include "unit_test.h"

#include <sys/stat.h>

TEST(BoundedFile, ReadsRegularFilesUpToTheCeilingAndWaitsOnNothingElse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f"));
    ASSERT_TRUE(writeAll(path, QByteArray(100, 'x')));

    EXPECT_EQ(BoundedFile::read(path, 100).bytes, QByteArray(100, 'x'));
    const auto refused = [](const BoundedFile::Result& result) {
        return !result.bytes && result.problem == BoundedFile::Problem::TooLarge;
    };
    EXPECT_TRUE(refused(BoundedFile::read(path, 99)));

    // Sparse: eight gigabytes on paper, no disk space; refused from its size.
    QFile huge(dir.filePath(QStringLiteral("huge")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(8) << 30));
    EXPECT_TRUE(refused(BoundedFile::read(huge.fileName(), qint64(1) << 30)));

    // A head is read from a file of any size.
    EXPECT_EQ(BoundedFile::readHead(path, 10).bytes, QByteArray(10, 'x'));
    EXPECT_EQ(BoundedFile::readHead(path, 1000).bytes, QByteArray(100, 'x'));
    EXPECT_EQ(BoundedFile::readHead(huge.fileName(), 4).bytes, QByteArray(4, '\0'));
#ifdef Q_OS_UNIX
    // A FIFO opened for reading would wait for a writer that never comes: the
    // test opens no other end, so reading it at all would hang here.
    const QString fifo = dir.filePath(QStringLiteral("velkaro.dat"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::pair<QString, BoundedFile::Problem> cases[] = {
        {fifo, BoundedFile::Problem::NotAFile},
        {QStringLiteral("/dev/zero"), BoundedFile::Problem::NotAFile},
        {dir.path(), BoundedFile::Problem::NotAFile},
        {dir.filePath(QStringLiteral("none")), BoundedFile::Problem::CannotRead},
        {dir.filePath(QStringLiteral("f/under")), BoundedFile::Problem::CannotRead}};
    for (const auto& [other, problem] : cases) {
        for (const BoundedFile::Result& result :
             {BoundedFile::read(other, 3 << 20), BoundedFile::readHead(other, 256)}) {
            EXPECT_EQ(std::tuple(result.bytes.has_value(), result.problem, result.error.isEmpty()),
                      std::tuple(false, problem, false))
                << other.toStdString();
        }
    }
#endif
}
