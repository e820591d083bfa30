#include "document/book_cipher.h"
#include "document/book_key.h"
#include "test_files.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// An encrypted book is read with the password from --password-file, or not
// at all: a wrong or missing password and a changed byte are refused with
// the reason, and nothing of the book is printed.
TEST(CliEncrypted, ReadsWithThePasswordFileAndRefusesEverythingElse)
{
    QTemporaryDir dir;
    const auto key = BookKey::create(QStringLiteral("тайна"), BookKey::Limits::fastest());
    const QByteArray sealed = BookCipher::seal("1\r\n\"AB\",\"Jones 555-0100\"\r\n", *key);
    QByteArray damaged = sealed;
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 4);
    writeAll(dir.filePath("book.dat"), sealed);
    writeAll(dir.filePath("damaged.dat"), damaged);
    writeAll(dir.filePath("right"), QStringLiteral("тайна\r\n").toUtf8());
    writeAll(dir.filePath("wrong"), "Тайна\n");

    struct Case
    {
        QStringList arguments;
        int exitCode;
        QString out;
        QString err;
    };
    const QString book = dir.filePath("book.dat");
    const std::vector<Case> cases = {
        {{"cat", book, "1", "--password-file", dir.filePath("right")}, 0, "Jones 555-0100\n", ""},
        {{"list", book, "--password-file", dir.filePath("wrong")}, 1, "", "wrong password"},
        {{"list", dir.filePath("damaged.dat"), "--password-file", dir.filePath("right")},
         1,
         "",
         "damaged"},
        {{"list", book}, 1, "", "use --password-file"},
    };
    for (const Case& c : cases) {
        QProcess process;
        // No controlling terminal: nobody could type the password.
        process.setChildProcessModifier([] { setsid(); });
        process.start(QStringLiteral(VELKARO_CLI), c.arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), c.exitCode) << err.toStdString();
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()), c.out);
        EXPECT_TRUE(err.contains(c.err)) << err.toStdString();
    }
}

} // namespace
