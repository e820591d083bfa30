#include "app_fixture.h"
#include "core/code_page.h"
#include "document/book_cipher.h"
#include "document/obscured_password.h"
#include "document/history_backup.h"
#include "test_files.h"

#include <QDirIterator>
#include <gtest/gtest.h>

namespace {

const QString kPhrase = QStringLiteral("Сидоров 555-0142");
const QString kSecret = QStringLiteral("Ключ-42");

std::unique_ptr<Application> makeApp(AppFixture& f)
{
    Application::Environment env{f.dir.path() + QLatin1Char('/'), false};
    env.keyLimits = BookKey::Limits::fastest();
    return std::make_unique<Application>(env, f.store(), f.messages);
}

// Every file under the test's home (data, settings, history) that shows
// the text in any of the encodings the program writes.
QStringList filesShowing(const AppFixture& f, const QString& text)
{
    const QList<QByteArray> forms = {text.toUtf8(), CodePage::encodeLossy(text),
                                     ObscuredPassword::obscure(text).value_or(text).toLatin1()};
    QStringList found;
    for (QDirIterator it(f.dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        const QByteArray bytes = readAll(path);
        if (std::any_of(forms.begin(), forms.end(),
                        [&](const QByteArray& form) { return bytes.contains(form); }))
            found << path;
    }
    return found;
}

} // namespace

// A session that switches encryption on leaves no file with the page text or
// the password; the next start asks for the password the book's header
// checks, refuses a wrong one and opens the book with the right one.
TEST(BookEncryption, SwitchedOnNothingReadableRemainsAndTheHeaderChecksTheLogIn)
{
    AppFixture f;
    {
        auto app = makeApp(f);
        ASSERT_TRUE(app->startUp());
        app->selectPage(2);
        typeOver(*app, kPhrase);
        app->saveCommand(); // writes the plain export too
        ASSERT_TRUE(app->mainWindow()->close());
    }
    ASSERT_FALSE(filesShowing(f, kPhrase).isEmpty());
    {
        auto app = makeApp(f);
        ASSERT_TRUE(app->startUp());
        EXPECT_TRUE(app->encryption().changePassword(kSecret));
        f.messages.queueAnswer(true); // delete the export and its note
        ASSERT_TRUE(app->encryption().switchOn());
        EXPECT_TRUE(app->storage().encrypted());
        ASSERT_TRUE(app->mainWindow()->close());
    }
    EXPECT_EQ(filesShowing(f, kPhrase), QStringList());
    EXPECT_EQ(filesShowing(f, kSecret), QStringList());
    EXPECT_TRUE(BookCipher::isSealed(readAll(f.dataFile())));
    EXPECT_EQ(f.read("Privacy", "Password"), QString());
    EXPECT_FALSE(f.read("frmMain", "Caption").contains(" - ")); // no page title either

    auto app = makeApp(f);
    QStringList tried;
    app->setLoginPrompt([&](Application& a) {
        for (const QString& typed : {QStringLiteral("ключ-42"), QString(), kSecret}) {
            if (a.tryPassword(typed))
                return true;
            tried << typed;
        }
        return false;
    });
    ASSERT_TRUE(app->startUp());
    EXPECT_EQ(tried.size(), 2);
    EXPECT_EQ(app->currentPassword(), kSecret);
    EXPECT_EQ(RtfPlainText::extract(app->book().Pages[2].Text).trimmed(), kPhrase);
    EXPECT_TRUE(app->storage().loadReport().keptAside.isEmpty());
}

// A new password seals the book and its backups under a new key: the old
// password opens nothing any more.
TEST(BookEncryption, ANewPasswordReSealsTheBookAndItsBackups)
{
    AppFixture f;
    auto app = makeApp(f);
    ASSERT_TRUE(app->startUp());
    typeOver(*app, kPhrase);
    ASSERT_TRUE(app->encryption().changePassword(kSecret));
    ASSERT_TRUE(app->encryption().switchOn());
    ASSERT_TRUE(app->mainWindow()->close());
    const QString backup = HistoryBackup::backupPath(
        app->folders().HistoryFolder, app->folders().ExeBaseName, QDate::currentDate());
    ASSERT_TRUE(BookCipher::open(readAll(backup), kSecret).ok());

    auto again = makeApp(f);
    again->setLoginPrompt([](Application& a) { return a.tryPassword(kSecret); });
    ASSERT_TRUE(again->startUp());
    ASSERT_TRUE(again->encryption().changePassword(QStringLiteral("новый")));
    for (const QString& path : {f.dataFile(), backup}) {
        EXPECT_EQ(BookCipher::open(readAll(path), kSecret).problem,
                  BookCipher::Problem::WrongPassword);
        EXPECT_TRUE(BookCipher::open(readAll(path), QStringLiteral("новый")).ok());
    }
}
