// The start-up password and the encrypted book: the password is asked before
// the book or the options are read, a stored password that cannot be checked
// never opens the book, and an encrypted book leaves nothing readable behind.

#include "app_fixture.h"
#include "core/code_page.h"
#include "document/book_cipher.h"
#include "document/history_backup.h"
#include "document/obscured_password.h"

namespace {

const QString kPhrase = QStringLiteral("Сидоров 555-0142");
const QString kSecret = QStringLiteral("Ключ-42");

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
        auto app = f.makeApp();
        ASSERT_TRUE(app->startUp());
        app->selectPage(2);
        typeOver(*app, kPhrase);
        app->saveCommand(); // writes the plain export too
        ASSERT_TRUE(app->mainWindow()->close());
    }
    ASSERT_FALSE(filesShowing(f, kPhrase).isEmpty());
    {
        auto app = f.makeApp();
        ASSERT_TRUE(app->startUp());
        EXPECT_TRUE(app->encryption().changePassword(kSecret));
        f.messages.queueAnswer(true); // delete the export and its note
        ASSERT_TRUE(app->encryption().switchOn());
        EXPECT_TRUE(app->storage().encrypted());
        ASSERT_TRUE(app->mainWindow()->close());
    }
    EXPECT_EQ(filesShowing(f, kPhrase) + filesShowing(f, kSecret), QStringList());
    EXPECT_TRUE(BookCipher::isSealed(readAll(f.dataFile())));
    EXPECT_EQ(f.read("Privacy", "Password"), QString());
    EXPECT_FALSE(f.read("frmMain", "Caption").contains(" - ")); // no page title either

    auto app = f.makeApp();
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
    EXPECT_EQ(tried, (QStringList{u"ключ-42"_qs, QString()}));
    EXPECT_EQ(app->currentPassword() + u'|' + app->book().Pages[2].plainText().trimmed(),
              kSecret + u'|' + kPhrase);
    EXPECT_TRUE(app->storage().loadReport().keptAside.isEmpty());
}

// A new password seals the book and its backups under a new key: the old
// password opens nothing any more.
TEST(BookEncryption, ANewPasswordReSealsTheBookAndItsBackups)
{
    AppFixture f;
    auto app = f.makeApp();
    ASSERT_TRUE(app->startUp());
    typeOver(*app, kPhrase);
    ASSERT_TRUE(app->encryption().changePassword(kSecret));
    ASSERT_TRUE(app->encryption().switchOn());
    ASSERT_TRUE(app->mainWindow()->close());
    const QString backup = HistoryBackup::backupPath(app->folders().HistoryFolder,
                                                     app->folders().ExeBaseName, AppFixture::today);
    ASSERT_TRUE(BookCipher::open(readAll(backup), kSecret).ok());

    auto again = f.makeApp();
    again->setLoginPrompt([](Application& a) { return a.tryPassword(kSecret); });
    ASSERT_TRUE(again->startUp());
    ASSERT_TRUE(again->encryption().changePassword(QStringLiteral("новый")));
    for (const QString& path : {f.dataFile(), backup}) {
        EXPECT_EQ(BookCipher::open(readAll(path), kSecret).problem,
                  BookCipher::Problem::WrongPassword);
        EXPECT_TRUE(BookCipher::open(readAll(path), QStringLiteral("новый")).ok());
    }
}

TEST(StartUp, ThePasswordIsAskedBeforeTheBookIsReadAndADamagedOneNeverOpensIt)
{
    struct Case
    {
        const char* key; // where the password is stored: Privacy/Password or the old place
        QString stored;
        std::optional<bool> answer; // none: nobody may be asked
        bool started;
        QString message; // a part of the one message shown
    };
    const Case cases[] = {
        {"Privacy/Password", *ObscuredPassword::obscure(u"Ключ 7"_qs), true, true, {}},
        {"Options/FileLocation", u"secret"_qs, true, true, {}},
        {nullptr, {}, std::nullopt, true, {}},
        {"Privacy/Password", *ObscuredPassword::obscure(u"x"_qs), false, false, {}},
        // Not hex, a digit lost from a real one.
        {"Privacy/Password", u"41zz"_qs, std::nullopt, false,
         u"\"Privacy\", параметр \"Password\""_qs},
        {"Privacy/Password", ObscuredPassword::obscure(u"abc"_qs)->chopped(1), std::nullopt, false,
         u"\"Privacy\", параметр \"Password\""_qs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        AppFixture f;
        const QString section = QString::fromLatin1(c.key).section(u'/', 0, 0);
        const QString key = QString::fromLatin1(c.key).section(u'/', 1);
        if (c.key)
            f.write(section, key, c.stored);
        auto app = f.makeApp();
        bool asked = false;
        app->setLoginPrompt([&](Application& a) {
            asked = true;
            const QString stored =
                c.key[0] == 'O' ? c.stored : ObscuredPassword::reveal(c.stored).value_or(u"?"_qs);
            // Asked only when somebody may be, with no book read yet.
            EXPECT_EQ(fields(c.answer.has_value(), a.currentPassword(), QFile::exists(f.dataFile()),
                             a.book().pageCount()),
                      fields(true, stored, false, 0));
            return c.answer.value_or(false);
        });
        const bool started = app->startUp();
        EXPECT_EQ(fields(started, asked, QFile::exists(f.dataFile()), app->book().pageCount()),
                  fields(c.started, c.answer.has_value(), c.started, c.started ? 14 : 0));
        const auto& shown = f.messages.entries();
        EXPECT_EQ(shown.size(), c.message.isEmpty() ? 0u : 1u) << f.messages.only();
        for (const auto& entry : shown) {
            EXPECT_TRUE(entry.icon == MessageService::Icon::Critical &&
                        entry.text.contains(c.message))
                << entry.text;
        }
        // A plain password of the old place moves, enciphered; a damaged one
        // is kept for its owner to look at.
        if (c.key && c.key[0] == 'O') {
            EXPECT_EQ(f.read("Privacy", "Password"), *ObscuredPassword::obscure(c.stored));
            EXPECT_EQ(f.read(section, key), "<absent>");
        } else if (c.key) {
            EXPECT_EQ(f.read(section, key), c.stored);
        }
    }
}
