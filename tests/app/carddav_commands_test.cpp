// The popup's CardDAV commands against a real Radicale: what the user sees
// and what the book and the server hold afterwards.

#include "app_fixture.h"
#include "carddav/carddav_client.h"
#include "carddav/password_store.h"
#include "radicale_server.h"

#include <QProcess>
#include <QProgressDialog>

namespace {

const QString kPage = u"Анна\t+7 900 111-11-11\r\nБорис\t+7 900 222-22-22\r\nВера\t333\r\n"
                      "Глеб\t444\r\nДина\t555"_qs;
const QString kSentAll = u"Контакты отправлены на сервер: новых 5, измененных 0, удаленных 0."_qs;

QByteArray card(const char* uid, const QString& name, const char* phone)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + QByteArray(uid) + "\r\nFN:" + name.toUtf8() +
           "\r\nTEL:" + phone + "\r\nEND:VCARD\r\n";
}

class CardDavCommandsTest : public WindowTest
{
protected:
    void SetUp() override
    {
        // No test but the keyring's own reaches the desktop's secret store.
        if (!qEnvironmentVariableIsSet("VELKARO_KEYRING"))
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        if (!RadicaleServer::installed())
            GTEST_SKIP() << "radicale is not installed; CardDAV tests need it (scripts/setup.sh)";
        ASSERT_TRUE(server.start());
        dav.send("PROPFIND", QUrl(server.root() + "anna/"), {}, {{"Depth", "0"}});
        ASSERT_TRUE(makeBook());
        f.write(u"CardDAV"_qs, u"Url"_qs, server.book());
        f.write(u"CardDAV"_qs, u"User"_qs, u"anna"_qs);
        writeBook({}, kPage);
        start(2);
    }
    bool makeBook(const QString& url = {})
    {
        return dav
            .send("MKCOL", QUrl(url.isEmpty() ? server.book() : url),
                  "<mkcol xmlns='DAV:' xmlns:c='urn:ietf:params:xml:ns:carddav'><set>"
                  "<prop><resourcetype><collection/><c:addressbook/></resourcetype>"
                  "</prop></set></mkcol>")
            .ok();
    }
    // Runs the popup item; a password asked for gets `password`.
    void run(const char* name, const QString& password = {})
    {
        if (!password.isEmpty()) {
            whenModal(u"frmCardDavAccount"_qs, [password](QDialog* dialog) {
                dialog->findChild<QLineEdit*>("txtPassword")->setText(password);
                clickChild(dialog, "cmdOK");
            });
        }
        f.messages.clear();
        item(name)->trigger();
    }
    std::map<QString, QString> cards() { return dav.list(QUrl(server.book()), {}).etags; }
    QString onServer(const QString& path) { return dav.get(QUrl(server.root() + path)).body; }
    QString pathOf(const QString& name)
    {
        for (const auto& [path, etag] : cards())
            if (onServer(path).contains(name))
                return path.mid(1);
        return {};
    }
    void put(const QString& path, const QByteArray& vcard)
    {
        const auto listed = cards();
        const auto etag = listed.find(u'/' + path);
        ASSERT_TRUE(dav.put(QUrl(server.root() + path), vcard,
                            etag == listed.end() ? QString() : etag->second)
                        .ok());
    }

    RadicaleServer server;
    CardDavClient dav{u"anna"_qs, u"secret"_qs};
};

TEST_F(CardDavCommandsTest, PublishesThenListsAConflictAndOverwritesItWhenAsked)
{
    run("mnuMainCardDavSend", u"secret"_qs);
    EXPECT_EQ(f.messages.only(), kSentAll);
    ASSERT_EQ(cards().size(), 5u);
    const QString anna = pathOf(u"Анна"_qs);
    put(anna, onServer(anna).replace(u"111-11-11"_qs, u"000-00-00"_qs).toUtf8());
    open(1);
    type(QString(kPage).replace(u"111-11-11"_qs, u"123-45-67"_qs));
    f.messages.queueChoice(1); // the book's version
    run("mnuMainCardDavSend");
    EXPECT_TRUE(told().contains(u"изменены на сервере после прошлой отправки, и книга их не "
                                "заменила:\nАнна"_qs))
        << told();
    EXPECT_TRUE(onServer(anna).contains(u"123-45-67"_qs)) << onServer(anna);
}

TEST_F(CardDavCommandsTest, FetchesIntoTheChosenPageAndProposesTheChangeOfAFetchedCard)
{
    put(u"anna/book/phone-1.vcf"_qs, card("phone-1", u"Зоя"_qs, "+7 900 000-00-01"));
    const auto preview = [](int page) {
        whenModal(u"frmImportContacts"_qs, [page](QDialog* dialog) {
            if (page >= 0)
                dialog->findChild<QComboBox*>("cboPage")->setCurrentIndex(page);
            clickChild(dialog, "cmdOK");
        });
    };
    preview(2);
    run("mnuMainCardDavFetch", u"secret"_qs);
    EXPECT_EQ(page(3).plainText(), u"Зоя\t+7 900 000-00-01"_qs) << told();
    put(u"anna/book/phone-1.vcf"_qs, card("phone-1", u"Зоя"_qs, "+7 900 000-00-02"));
    preview(-1);
    run("mnuMainCardDavFetch");
    EXPECT_EQ(page(3).plainText(), u"Зоя\t+7 900 000-00-02"_qs) << told();
    run("mnuMainCardDavSend");
    EXPECT_EQ(cards().size(), 6u) << "the fetched card is updated, never doubled";
    EXPECT_EQ(f.messages.only(), kSentAll);
}

// Cards deleted on the phone are asked about once per send: their entries
// taken out of the book (one Undo step on the open page) or sent again.
TEST_F(CardDavCommandsTest, CardsDeletedOnTheServerAreTakenOutOrSentAgainAsAnswered)
{
    run("mnuMainCardDavSend", u"secret"_qs);
    for (const char* name : {"Анна", "Вера"})
        ASSERT_TRUE(dav.remove(QUrl(server.root() + pathOf(QString::fromUtf8(name))), {}).ok());
    run("mnuMainCardDavFetch"); // which forgets none of them
    open(1);
    f.messages.queueChoice(0);
    whenModal(u"frmImportContacts"_qs, [](QDialog* dialog) { clickChild(dialog, "cmdOK"); });
    run("mnuMainCardDavSend");
    EXPECT_TRUE(told().contains(u"их записи остались в книге:\nАнна\nВера\n"_qs)) << told();
    const QString shortened = u"Борис\t+7 900 222-22-22\r\nГлеб\t444\r\nДина\t555"_qs;
    EXPECT_EQ(page(1).plainText(), shortened);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor()->text(), kPage);
    // Back by Undo, they stay without cards; Глеб's card deleted is sent again.
    ASSERT_TRUE(dav.remove(QUrl(server.root() + pathOf(u"Глеб"_qs)), {}).ok());
    f.messages.queueChoice(1);
    run("mnuMainCardDavSend");
    EXPECT_TRUE(told().contains(u"в книге:\nГлеб\n"_qs)) << told();
    EXPECT_EQ(cards().size(), 3u);
}

// A wrong address is named; of several address books the user chooses one,
// which the account keeps.
TEST_F(CardDavCommandsTest, AWrongAddressIsNamedAndOfSeveralBooksOneIsChosen)
{
    const QString wrong = server.root() + "anna/boook/";
    f.write(u"CardDAV"_qs, u"Url"_qs, wrong);
    run("mnuMainCardDavSend", u"secret"_qs);
    EXPECT_EQ(f.messages.only(), u"Контакты не отправлены: адрес "_qs + wrong +
                                     u" не является ни адресной книгой, ни учетной записью "
                                     "CardDAV.\n\nКнига не изменена."_qs);
    const QString work = server.root() + "anna/work/";
    ASSERT_TRUE(makeBook(work));
    f.write(u"CardDAV"_qs, u"Url"_qs, server.root());
    f.messages.queueChoice(1);
    run("mnuMainCardDavSend", u"secret"_qs);
    EXPECT_TRUE(told().contains(u"несколько адресных книг"_qs)) << told();
    EXPECT_EQ(std::pair(dav.list(QUrl(work), {}).etags.size(), cards().size()),
              std::pair(std::size_t(5), std::size_t(0)));
    EXPECT_EQ(f.read(u"CardDAV"_qs, u"AddressBook"_qs), work);
}

TEST_F(CardDavCommandsTest, AFailureSaysWhatHappenedAndChangesNothing)
{
    const struct
    {
        const char* password;
        bool serverGone;
        QString reason;
    } cases[] = {{"wrong", false, u"сервер не принял имя пользователя или пароль"_qs},
                 {"secret", true, u"нет связи с сервером"_qs}};
    const std::vector<PageRecord> before(book().pages().begin(), book().pages().end());
    const std::pair<const char*, QString> commands[] = {
        {"mnuMainCardDavFetch", u"Контакты не получены: "_qs},
        {"mnuMainCardDavSend", u"Контакты не отправлены: "_qs}};
    for (const auto& c : cases) {
        if (c.serverGone)
            server.stop();
        for (const auto& [command, said] : commands) {
            // A refused password is asked for again; a kept one is not.
            const bool asked = !c.serverGone || command == commands[0].first;
            run(command, asked ? QString::fromLatin1(c.password) : QString());
            EXPECT_TRUE(told().contains(said + c.reason) &&
                        told().endsWith(u".\n\nКнига не изменена."_qs))
                << told();
            EXPECT_FALSE(told().contains(u'%') || told().contains(u"продолжит"_qs)) << told();
        }
        EXPECT_EQ(std::vector<PageRecord>(book().pages().begin(), book().pages().end()), before);
    }
}

// Cancelled, or the window closed meanwhile, which then closes once the
// send has stopped; the next send finishes the work.
TEST_F(CardDavCommandsTest, ASendStoppedBetweenCardsIsFinishedByTheNextOne)
{
    for (const bool closing : {false, true}) {
        if (closing) {
            dav.send("DELETE", QUrl(server.book()));
            ASSERT_TRUE(makeBook() && QFile::remove(f.dataFile() + ".carddav"));
        }
        QTimer stop;
        QObject::connect(&stop, &QTimer::timeout, [this, closing] {
            auto* progress = window()->findChild<QProgressDialog*>("frmCardDavProgress");
            if (progress && progress->value() >= 2)
                closing ? (void)window()->close() : progress->cancel();
        });
        stop.start(0);
        run("mnuMainCardDavSend", u"secret"_qs);
        stop.stop();
        EXPECT_EQ(f.messages.only(), "Отправка остановлена: отправлено карточек 2 из 5. "
                                     "Следующая отправка продолжит с этого места.");
        EXPECT_EQ(app->unloaded(), false);
        QCoreApplication::processEvents();
        EXPECT_EQ(app->unloaded(), closing);
        if (closing) {
            app.reset();
            start(2);
        }
        run("mnuMainCardDavSend", closing ? u"secret"_qs : QString());
        EXPECT_EQ(f.messages.only(),
                  u"Контакты отправлены на сервер: новых 3, измененных 0, удаленных 0."_qs);
        EXPECT_EQ(cards().size(), 5u);
    }
}

// The password in a real secret store: this test runs itself again inside a
// D-Bus session of its own with an unlocked GNOME keyring.
TEST_F(CardDavCommandsTest, APasswordGivenOnceIsKeptInTheSecretStoreOnly)
{
    if (!qEnvironmentVariableIsSet("VELKARO_KEYRING")) {
        if (QStandardPaths::findExecutable(u"gnome-keyring-daemon"_qs).isEmpty() ||
            QStandardPaths::findExecutable(u"dbus-run-session"_qs).isEmpty() ||
            !PasswordStore::available())
            GTEST_SKIP() << "no gnome-keyring-daemon, dbus-run-session or QtKeychain";
        QProcess inner;
        inner.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"VELKARO_KEYRING"_qs, u"1"_qs);
        inner.setProcessEnvironment(env);
        inner.start(u"dbus-run-session"_qs,
                    {u"--"_qs, u"sh"_qs, u"-c"_qs,
                     u"echo test | gnome-keyring-daemon --unlock --components=secrets "
                     ">/dev/null && exec \"$0\" --gtest_filter=*SecretStoreOnly"_qs,
                     QCoreApplication::applicationFilePath()});
        ASSERT_TRUE(inner.waitForFinished(120000));
        const QByteArray out = inner.readAll();
        if (out.contains("[  SKIPPED ]") || inner.exitCode() == 127)
            GTEST_SKIP() << "the keyring did not start: " << out.right(300).toStdString();
        EXPECT_EQ(inner.exitCode(), 0) << out.toStdString();
        return;
    }
    whenModal(u"frmCardDavAccount"_qs, [](QDialog* dialog) {
        dialog->findChild<QLineEdit*>("txtPassword")->setText(u"secret"_qs);
        clickChild(dialog, "cmdOK");
    });
    run("mnuMainCardDavAccount");
    if (!PasswordStore::read(QUrl(server.book()), u"anna"_qs))
        GTEST_SKIP() << "no secret store answers: " << told().toStdString();
    EXPECT_EQ(told(), QString());
    EXPECT_FALSE(readAll(f.iniPath).contains("secret"));
    app.reset();
    start(2);
    run("mnuMainCardDavSend"); // asks nothing: a dialog would wait for ever
    EXPECT_EQ(f.messages.only(), kSentAll);
}

} // namespace
