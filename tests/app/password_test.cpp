// The start-up password and the encrypted book: the password is asked before
// the book or the options are read, a stored password that cannot be checked
// never opens the book, and an encrypted book leaves nothing readable behind.

#include "app_fixture.h"
#include "core/code_page.h"
#include "crypto/book_cipher.h"
#include "crypto/obscured_password.h"
#include "document/history_backup.h"

#include <csignal>
#include <cstdio>

namespace {

const QString kPhrase = QStringLiteral("Сидоров 555-0142");
const QString kSecret = QStringLiteral("Ключ-42");

// Every file under `folder` that shows the text in any of the encodings the
// program writes or keeps in memory.
QStringList filesShowing(const QString& folder, const QString& text)
{
    const QList<QByteArray> forms = {
        text.toUtf8(), CodePage::encodeLossy(text),
        ObscuredPassword::obscure(text).value_or(text).toLatin1(),
        QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)};
    QStringList found;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        const QByteArray bytes = readAll(path);
        if (std::any_of(forms.begin(), forms.end(),
                        [&](const QByteArray& form) { return bytes.contains(form); }))
            found << path;
    }
    return found;
}

// The same under the test's home: data, settings, history.
QStringList filesShowing(const AppFixture& f, const QString& text)
{
    return filesShowing(f.dir.path(), text);
}

// Types `typed` (and `again` into the second field) and presses OK.
void typeAndConfirm(QDialog* dialog, const QString& typed, const QString& again = {})
{
    dialog->findChild<QLineEdit*>("txtPassword")->setText(typed);
    dialog->findChild<QLineEdit*>("txtAgain")->setText(again);
    dialog->findChild<QPushButton*>("cmdOK")->click();
}

// Switches encryption on, the password typed once more when it is asked.
bool switchOn(Application& app, const QString& typed)
{
    bool on = false;
    withModal([&] { on = app.encryption().switchOn(app.mainWindow()); },
              [&](QDialog* dialog) { typeAndConfirm(dialog, typed); });
    return on;
}

// A home whose book and this period's backup are encrypted under kSecret,
// page 1 holding kPhrase.
QString makeEncryptedHome(AppFixture& f)
{
    auto app = f.started();
    typeOver(*app, kPhrase);
    EXPECT_TRUE(app->encryption().changePassword(kSecret));
    f.messages.queueAnswer(true);
    EXPECT_TRUE(switchOn(*app, kSecret));
    EXPECT_TRUE(app->mainWindow()->close());
    f.messages.clear();
    return HistoryBackup::backupPath(app->folders().historyFolder, app->folders().exeBaseName,
                                     AppFixture::today);
}

using Choice = BookQuestion::Choice;

// An application that logs in with kSecret, takes "новый" as a new password
// and answers the book question with `choice`, keeping its text in `asked`.
std::unique_ptr<Application> answering(AppFixture& f, Choice choice, QString& asked)
{
    auto app = f.makeApp();
    app->setLoginPrompt([](Application& a) { return a.tryPassword(kSecret); });
    app->setNewPasswordPrompt([](Application&) { return std::optional(u"новый"_qs); });
    app->setBookQuestion([&asked, choice](const BookQuestion& question) {
        asked = question.text;
        return choice;
    });
    return app;
}

} // namespace

// Whatever happened to an encrypted book's file, no plain book takes its
// place: the person is told which file and why, and restores the newest
// encrypted backup, starts a new encrypted book or quits; the backup stays.
TEST(BookEncryption, AnEncryptedBookThatCannotBeOpenedIsNeverReplacedByAPlainOne)
{
    const auto flip = [](int at, int bit) {
        return [at, bit](const QString& path) {
            QByteArray bytes = readAll(path);
            bytes[at] = char(bytes[at] ^ (1 << bit));
            writeAll(path, bytes);
        };
    };
    struct Case
    {
        const char* name;
        std::function<void(const QString&)> damage;
        QString told; // a part of the question
        Choice choice;
        QString page1; // what the book shows after start-up; null: it ended
    };
    const Case cases[] = {
        {"missing",
         [](const QString& path) { QFile::remove(path); },
         u"не найден"_qs,
         Choice::Quit,
         {}},
        {"empty", [](const QString& path) { writeAll(path, {}); }, u"пуст"_qs,
         Choice::RestoreBackup, kPhrase},
        {"signature", flip(2, 0), u"строк"_qs, Choice::NewBook, u""_qs},
        {"salt", flip(25, 3), u"поврежден или изменен"_qs, Choice::RestoreBackup, kPhrase},
        {"version", flip(8, 1), u"или записан более новой версией"_qs, Choice::Quit, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppFixture f;
        const QString backup = makeEncryptedHome(f);
        c.damage(f.dataFile());
        const QByteArray damaged = readAll(f.dataFile());
        QString asked;
        {
            auto app = answering(f, c.choice, asked);
            ASSERT_EQ(app->startUp(), !c.page1.isNull());
            EXPECT_TRUE(asked.contains(QDir::toNativeSeparators(f.dataFile())) &&
                        asked.contains(c.told) && asked.contains(backup))
                << asked;
            if (!c.page1.isNull()) {
                EXPECT_EQ(app->book().page(1).plainText().trimmed(), c.page1);
                EXPECT_TRUE(app->mainWindow()->close());
            }
        }
        EXPECT_EQ(filesShowing(f, kPhrase) + filesShowing(f, kSecret), QStringList());
        EXPECT_TRUE(c.page1.isNull() ? readAll(f.dataFile()) == damaged
                                     : BookCipher::isSealed(readAll(f.dataFile())));
        EXPECT_TRUE(BookCipher::open(readAll(backup), kSecret).ok());
        EXPECT_EQ(fields(f.read("Privacy", "Encrypted"), f.read("Privacy", "Password")),
                  u"True "_qs); // the stored password empty
    }
}

// A plain book where an encrypted one was (switched off on another computer)
// opens only after one question: seal it again, or stop encrypting it.
TEST(BookEncryption, APlainBookWhereAnEncryptedOneWasIsSealedAgainOrKeptPlainAsChosen)
{
    const QByteArray plain = "1\r\n\"АБ\",\"plain 555\"\r\n";
    for (const Choice choice : {Choice::SealAgain, Choice::StopEncrypting}) {
        AppFixture f;
        const QString backup = makeEncryptedHome(f);
        writeAll(f.dataFile(), CodePage::encodeLossy(QString::fromUtf8(plain)));
        QString asked;
        auto app = answering(f, choice, asked);
        ASSERT_TRUE(app->startUp());
        EXPECT_TRUE(asked.contains(QDir::toNativeSeparators(f.dataFile()))) << asked;
        EXPECT_EQ(app->book().page(1).plainText().trimmed(), u"plain 555"_qs);
        const bool sealed = choice == Choice::SealAgain;
        EXPECT_EQ(BookCipher::open(readAll(f.dataFile()), u"новый"_qs).ok(), sealed);
        EXPECT_EQ(f.read("Privacy", "Encrypted"), sealed ? u"True"_qs : u"<absent>"_qs);
        ASSERT_TRUE(app->mainWindow()->close());
        // This period's backup is encrypted still, never a plain copy.
        EXPECT_TRUE(BookCipher::isSealed(readAll(backup)));
    }
}

// A session that switches encryption on leaves no file with the page text or
// the password; the next start asks for the password the book's header
// checks, refuses a wrong one and opens the book with the right one.
TEST(BookEncryption, SwitchedOnNothingReadableRemainsAndTheHeaderChecksTheLogIn)
{
    AppFixture f;
    {
        auto app = f.makeApp();
        ASSERT_TRUE(app->startUp());
        app->session().selectPage(2);
        typeOver(*app, kPhrase);
        app->runCommand(Command::Save, 0); // writes the plain export too
        ASSERT_TRUE(app->mainWindow()->close());
    }
    ASSERT_FALSE(filesShowing(f, kPhrase).isEmpty());
    {
        auto app = f.makeApp();
        ASSERT_TRUE(app->startUp());
        EXPECT_TRUE(app->encryption().changePassword(kSecret));
        f.messages.queueAnswer(true); // delete the export and its note
        ASSERT_TRUE(switchOn(*app, kSecret));
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
    EXPECT_EQ(app->currentPassword() + u'|' + app->book().page(2).plainText().trimmed(),
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
    ASSERT_TRUE(switchOn(*app, kSecret));
    ASSERT_TRUE(app->mainWindow()->close());
    const QString backup = HistoryBackup::backupPath(app->folders().historyFolder,
                                                     app->folders().exeBaseName, AppFixture::today);
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

// A key derivation never holds the window: Cancel ends the wait at once, the
// key made later is dropped, and the password can be tried again.
TEST(BookEncryption, CancelStopsWaitingForTheKeyAtOnce)
{
    using Verdict = PasswordDialog::Verdict;
    AppFixture f;
    {
        auto app = f.started();
        ASSERT_TRUE(app->mainWindow()->close());
    }
    // As slow as a header may ask: about a second.
    const auto key = BookKey::create(kSecret, BookKey::Limits::moderate());
    writeAll(f.dataFile(), BookCipher::seal(readAll(f.dataFile()), *key));
    auto app = f.makeApp();
    std::vector<Verdict> verdicts;
    app->setLoginPrompt([&](Application& a) {
        QTimer::singleShot(
            0, [] { QApplication::activeModalWidget()->findChild<QPushButton*>()->click(); });
        verdicts.push_back(a.encryption().tryPassword(kSecret));
        const bool keyless = !a.storage().key();
        verdicts.push_back(a.encryption().tryPassword(kSecret));
        return keyless;
    });
    ASSERT_TRUE(app->startUp());
    EXPECT_EQ(verdicts, (std::vector{Verdict::Abandoned, Verdict::Right}));
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

#ifdef Q_OS_LINUX
// A step of encryption, in a child process that KillAtEveryStepLeavesNoPassword
// starts: it dies just before the n-th file it replaces, or after the step.
TEST(BookEncryption, ChildStep)
{
    const QString step = qEnvironmentVariable("VELKARO_ENCRYPTION_STEP");
    if (step.isEmpty())
        GTEST_SKIP() << "run by KillAtEveryStepLeavesNoPassword";
    AppFixture f;
    std::unique_ptr<Application> app;
    if (step == u"on") {
        auto before = f.started();
        ASSERT_TRUE(before->encryption().changePassword(kSecret));
        ASSERT_TRUE(before->mainWindow()->close()); // the stored form on disk
        f.messages.queueAnswer(true);
    } else {
        makeEncryptedHome(f);
    }
    app = f.makeApp();
    app->setLoginPrompt([](Application& a) { return a.tryPassword(kSecret); });
    ASSERT_TRUE(app->startUp());
    const QByteArray killAt = qgetenv("VELKARO_KILL_AT");
    qputenv("VELKARO_KILL_AT_RENAME", killAt);
    if (step == u"on")
        switchOn(*app, kSecret);
    else if (step == u"change")
        app->encryption().changePassword(u"новый"_qs);
    else
        withModal([&] { app->encryption().switchOff(app->mainWindow()); },
                  [](QDialog* dialog) { typeAndConfirm(dialog, kSecret); });
    std::fputs("step done\n", stdout);
    std::fflush(stdout);
    std::raise(SIGKILL);
}

bool anySealed(const QString& folder)
{
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();)
        if (BookCipher::isSealed(readAll(it.next())))
            return true;
    return false;
}

// Killed as `kill -9` kills at each file that switching on, changing the
// password or switching off replaces, nothing under the home holds the
// password in any form.
TEST(BookEncryption, KillAtEveryStepLeavesNoPassword)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "a preloaded library cannot come before the sanitizer's";
#endif
    for (const char* step : {"on", "change", "off"}) {
        bool done = false;
        for (int killAt = 1; !done && killAt < 100; ++killAt) {
            SCOPED_TRACE(std::string(step) + " killed at " + std::to_string(killAt));
            QTemporaryDir home;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("TMPDIR", home.path());
            env.insert("LD_PRELOAD", VELKARO_KILL_AT_RENAME_LIB);
            env.insert("VELKARO_ENCRYPTION_STEP", step);
            env.insert("VELKARO_KILL_AT", QString::number(killAt));
            QProcess child;
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(),
                        {"--gtest_filter=BookEncryption.ChildStep"});
            ASSERT_TRUE(child.waitForFinished(60000));
            ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAll().toStdString();
            done = child.readAllStandardOutput().contains("step done");
            // Before switching on sealed anything, the start-up password's
            // stored form is still the user's choice.
            if (QByteArray(step) == "on" && !anySealed(home.path()))
                continue;
            EXPECT_EQ(filesShowing(home.path(), kSecret) + filesShowing(home.path(), u"новый"_qs),
                      QStringList());
        }
        EXPECT_TRUE(done);
    }
}
#endif
