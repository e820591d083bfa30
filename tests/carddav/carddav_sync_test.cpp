#include "carddav/carddav_sync.h"
#include "contacts/contact_entry.h"
#include "contacts/contact_export.h"
#include "contacts/vcard_reader.h"
#include "crypto/book_cipher.h"
#include "document/data_file.h"
#include "qt_printing.h"
#include "radicale_server.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>

namespace {

Contact entry(const QString& name, const QString& phone)
{
    Contact contact;
    contact.name = name;
    contact.phones = {{phone}};
    contact.category = QStringLiteral("АБ");
    return contact;
}

std::vector<Contact> book(std::vector<Contact> contacts)
{
    ContactExport::assignUids(contacts);
    return contacts;
}

// A plan as one line: the names (or file names) of each list.
QString summary(const SyncPlan& plan)
{
    auto names = [](const std::vector<CardAction>& actions) {
        QStringList list;
        for (const CardAction& action : actions)
            list << (action.name.isEmpty() ? action.path.section('/', -1) : action.name);
        list.sort();
        return list.join(',');
    };
    QStringList fetched;
    for (const QString& path : plan.fetched)
        fetched << path.section('/', -1);
    return QStringLiteral("create:%1 update:%2 delete:%3 conflict:%4 bind:%5 fetch:%6")
        .arg(names(plan.creates), names(plan.updates), names(plan.deletes), names(plan.conflicts),
             names(plan.binds), fetched.join(','));
}

const QString kNothing = QStringLiteral("create: update: delete: conflict: bind: fetch:");

QString ownFile(const QString& name, const QString& phone)
{
    return SyncPlan::ownPath({}, book({entry(name, phone)})[0].uid).section('/', -1);
}

const QByteArray kForeignCard = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:phone-1\r\nFN:Зоя\r\n"
                                "TEL:+7 900 000-00-01\r\nEND:VCARD\r\n";

const ContactEntry::Labels kLabels{
    "моб.",  "раб.", "дом.",   "факс", "День рождения", "Прозвище",  "Организация", "Должность",
    "Адрес", "Сайт", "Группы", "Роль", "Мессенджер",    "Годовщина", "Супруг(а)",   "тел."};

// A card as a phone keeps it: what the book has no place for among the rest.
const QByteArray kPhoneCard =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:phone-2\r\nFN:Петров Пётр\r\nN:Петров;Пётр;;;\r\n"
    "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/"
    "2wBDAAMCAgICAgMCAgIDAwMDBAYEBAQEBAgG\r\n"
    "ORG:ООО Ромашка;Отдел продаж\r\nORG:ТСЖ Берёзка\r\nTITLE:старший инженер\r\n"
    "ROLE:снабженец\r\nANNIVERSARY:20150620\r\nX-EVOLUTION-SPOUSE:Вера\r\n"
    "ADR;TYPE=home:;;ул. Ленина\\, 5;Москва;;101000;Россия\r\n"
    "IMPP;X-SERVICE-TYPE=Telegram:xmpp:petrov@example.org\r\n"
    "item1.TEL;TYPE=voice:+7 495 555-01-02\r\nitem1.X-ABLabel:Дача\r\n"
    "TEL;TYPE=cell,x-sim2:+7 916 555-01-01\r\nEMAIL;TYPE=work:petrov@example.org\r\n"
    "NOTE:звонить вечером\r\nX-PHONETIC-LAST-NAME:Petrov\r\nEND:VCARD\r\n";

// The lines of `after` that `before` lacks, then " | ", then those it lost.
QString lineChanges(const QByteArray& before, const QByteArray& after)
{
    const auto lines = [](QByteArray card) {
        const QStringList list = QString::fromUtf8(card.replace("\r\n ", "")).split("\r\n");
        return QSet<QString>(list.begin(), list.end());
    };
    QStringList added = (lines(after) - lines(before)).values();
    QStringList lost = (lines(before) - lines(after)).values();
    added.sort();
    lost.sort();
    return added.join(',') + " | " + lost.join(',');
}

TEST(CardMergeTest, AnEditChangesOnlyTheLinesOfWhatItChanged)
{
    const CardMerge merge({kLabels});
    const auto contact = [](const QString& text) {
        return *ContactEntry::toContact(text, QStringLiteral("АБ"));
    };
    const QString entry = ContactEntry::toEntry(
        VCardReader::read(QString::fromUtf8(kPhoneCard)).contacts.at(0), kLabels);
    const CardMerge::Owned before = merge.ofEntry(contact(entry), kPhoneCard);
    const struct
    {
        const char* from;
        const char* to;
        const char* changes;
    } cases[] = {
        {"", "", " | "},
        {"Ромашка", "Лютик", "ORG:ООО Лютик\\, Отдел продаж | ORG:ООО Ромашка;Отдел продаж"},
        {"Дача: +7 495 555-01-02, ", "",
         " | item1.TEL;TYPE=voice:+7 495 555-01-02,item1.X-ABLabel:Дача"},
        {"моб. +7 916", "раб. +7 916",
         "TEL;TYPE=work:+7 916 555-01-01 | TEL;TYPE=cell,x-sim2:+7 916 555-01-01"},
        {"\r\n\t\tзвонить вечером", "", " | NOTE:звонить вечером"},
        {"Роль: снабженец", "Роль: закупщик", "ROLE:закупщик | ROLE:снабженец"},
        {"звонить вечером",
         "звонить вечером\r\n\t\tp2@example.org\r\n\t\tДень рождения: 17.05.1990",
         "BDAY:19900517,EMAIL:p2@example.org | "},
    };
    for (const auto& c : cases) {
        QString edited = entry;
        if (*c.from)
            edited.replace(QString::fromUtf8(c.from), QString::fromUtf8(c.to));
        EXPECT_EQ(
            lineChanges(kPhoneCard, merge.merged(kPhoneCard, before, contact(edited), kPhoneCard))
                .toStdString(),
            c.changes)
            << edited.toStdString();
    }
}

class CardDavSyncTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!RadicaleServer::installed())
            GTEST_SKIP() << "radicale is not installed; CardDAV tests need it (scripts/setup.sh)";
        ASSERT_TRUE(m_server.start());
        // The principal's collection appears at the user's first request.
        m_client.send("PROPFIND", QUrl(m_server.root() + RadicaleServer::User + "/"), {},
                      {{"Depth", "0"}});
        ASSERT_TRUE(makeBook(m_server.book()));
    }
    bool makeBook(const QString& url)
    {
        return m_client
            .send("MKCOL", QUrl(url),
                  "<?xml version=\"1.0\"?><d:mkcol xmlns:d=\"DAV:\" "
                  "xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:set><d:prop><d:resourcetype>"
                  "<d:collection/><c:addressbook/></d:resourcetype></d:prop></d:set></d:mkcol>")
            .ok();
    }

    CardDavSync sync()
    {
        return CardDavSync(m_client, QUrl(m_server.book()), statePath(), kLabels);
    }
    // The phone's card fetched and taken into the book as the window does it.
    std::vector<Contact> takePhoneCard()
    {
        EXPECT_TRUE(putOther("phone-2.vcf", kPhoneCard).ok());
        const auto fetched = sync().fetch(m_book);
        EXPECT_EQ(fetched.cards.size(), 1u);
        m_phoneEntry = ContactEntry::toEntry(fetched.cards.at(0).contact, kLabels);
        std::vector<Contact> contacts = withPhoneEntry(m_phoneEntry);
        EXPECT_FALSE(sync().accept(fetched.cards.at(0), contacts.back()));
        return contacts;
    }
    std::vector<Contact> withPhoneEntry(const QString& text)
    {
        std::vector<Contact> contacts = m_book;
        contacts.push_back(*ContactEntry::toContact(text, QStringLiteral("АБ")));
        return book(contacts);
    }
    QByteArray phoneCard() { return m_client.get(QUrl(m_server.book() + "phone-2.vcf")).body; }
    QString statePath() const { return m_server.folder() + "/book.vlk.carddav"; }
    int cardsOnServer()
    {
        return int(m_client.list(QUrl(m_server.book()), QString()).etags.size());
    }
    DavReply putOther(const QString& name, const QByteArray& card, const QString& ifMatch = {})
    {
        return m_client.put(QUrl(m_server.book() + name), card, ifMatch);
    }

    RadicaleServer m_server;
    CardDavClient m_client{RadicaleServer::User, RadicaleServer::Password};
    std::vector<Contact> m_book =
        book({entry("Анна", "1"), entry("Борис", "2"), entry("Вера", "3")});
    QString m_phoneEntry;
};

TEST_F(CardDavSyncTest, SendChangesOnlyTheLinesTheEntryChanged)
{
    takePhoneCard();
    const struct
    {
        const char* from;
        const char* to;
        QString changes;
    } edits[] = {
        {"вечером", "утром", "NOTE:звонить утром | NOTE:звонить вечером"},
        {"старший", "ведущий", "TITLE:ведущий инженер | TITLE:старший инженер"},
        // Renamed: the card follows the entry by its numbers and addresses.
        {"Петров Пётр", "Петров Пётр Ильич",
         "FN:Петров Пётр Ильич,N:Петров;Пётр;Ильич;; | FN:Петров Пётр,N:Петров;Пётр;;;"},
        {"555-01-02", "555-01-03",
         // The server writes the label's name in capitals.
         "item2.TEL:+7 495 555-01-03,item2.X-ABLABEL:Дача | "
         "item1.TEL;TYPE=voice:+7 495 555-01-02,item1.X-ABLABEL:Дача"},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.to);
        const QByteArray before = phoneCard();
        m_phoneEntry.replace(edit.from, edit.to);
        const auto sent = sync().publish(withPhoneEntry(m_phoneEntry));
        EXPECT_TRUE(sent.ok());
        EXPECT_EQ(lineChanges(before, phoneCard()).toStdString(), edit.changes.toStdString());
    }
    EXPECT_EQ(cardsOnServer(), 4);
}

TEST_F(CardDavSyncTest, ServerChangesMergeUnlessBothChangedOneProperty)
{
    takePhoneCard();
    // A state as the earlier format wrote it: no agreed card, no entry keys.
    QJsonDocument json = QJsonDocument::fromJson(SyncState::load(statePath()).toBytes());
    QJsonObject root = json.object();
    QJsonArray cards;
    for (const QJsonValue& card : root["cards"].toArray()) {
        QJsonObject old = card.toObject();
        old.remove("base");
        old.remove("owned");
        cards.append(old);
    }
    root["cards"] = cards;
    root.remove("labels");
    ASSERT_TRUE(writeAll(statePath(), QJsonDocument(root).toJson()));

    QByteArray phone = phoneCard();
    m_phoneEntry.replace("старший", "ведущий");
    EXPECT_TRUE(sync().publish(withPhoneEntry(m_phoneEntry)).ok());
    EXPECT_EQ(lineChanges(phone, phoneCard()), "TITLE:ведущий инженер | TITLE:старший инженер");

    const QUrl url(m_server.book() + "phone-2.vcf");
    phone = phoneCard();
    phone.replace("звонить вечером", "звонить днём")
        .replace("X-PHONETIC", "X-SPOUSE:Ольга\r\nX-PHONETIC");
    ASSERT_TRUE(m_client.put(url, phone, m_client.etagOf(url)).ok());
    m_phoneEntry.replace("555-01-01", "555-01-09");
    const auto merged = sync().publish(withPhoneEntry(m_phoneEntry));
    EXPECT_EQ(std::tuple(merged.ok(), summary(merged.plan), lineChanges(phone, phoneCard())),
              std::tuple(true, QString("create: update:Петров Пётр delete: conflict: bind: fetch:"),
                         QString("TEL;TYPE=cell:+7 916 555-01-09 | "
                                 "TEL;TYPE=cell,x-sim2:+7 916 555-01-01")));

    phone = phoneCard();
    phone.replace("звонить днём", "звонить ночью");
    ASSERT_TRUE(m_client.put(url, phone, m_client.etagOf(url)).ok());
    m_phoneEntry.replace("вечером", "утром");
    const auto clash = sync().publish(withPhoneEntry(m_phoneEntry));
    EXPECT_EQ(
        std::tuple(summary(clash.plan), phoneCard()),
        std::tuple(QString("create: update: delete: conflict:Петров Пётр bind: fetch:"), phone));
    ASSERT_FALSE(sync().overwrite(clash.plan.conflicts).problem != DavProblem::None);
    EXPECT_EQ(lineChanges(phone, phoneCard()), "NOTE:звонить утром | NOTE:звонить ночью");
}

TEST_F(CardDavSyncTest, PublishesEditsRemovalsAndAdditionsBySyncTokenAndByEtags)
{
    for (const bool syncCollection : {true, false}) {
        SCOPED_TRACE(syncCollection);
        QFile::remove(statePath());
        m_client.setSyncCollection(syncCollection);
        const QString prefix = syncCollection ? "s" : "e";
        std::vector<Contact> contacts =
            book({entry(prefix + "Анна", "1"), entry(prefix + "Борис", "2"),
                  entry(prefix + "Вера", "3")});
        const auto first = sync().publish(contacts);
        EXPECT_EQ(std::tuple(first.ok(), first.done, summary(sync().plan(contacts).plan)),
                  std::tuple(true, 3, kNothing));

        contacts[0].phones = {{QStringLiteral("+7 111")}};
        contacts.erase(contacts.begin() + 1);
        contacts.push_back(entry(prefix + "Глеб", "4"));
        contacts = book(contacts);
        const auto second = sync().publish(contacts);
        EXPECT_EQ(
            QStringList({summary(second.plan), summary(sync().plan(contacts).plan)}),
            QStringList({QString("create:%1Глеб update:%1Анна delete:%2 conflict: bind: fetch:")
                             .arg(prefix, ownFile(prefix + "Борис", "2")),
                         kNothing}));
    }
    EXPECT_EQ(cardsOnServer(), 6);
}

TEST_F(CardDavSyncTest, ChangeOfOnePropertyOnBothSidesIsAConflictNeverOverwritten)
{
    ASSERT_TRUE(sync().publish(m_book).ok());
    const QString annaPath = SyncPlan::ownPath(QUrl(m_server.book()).path(), m_book[0].uid);
    const QUrl annaUrl(m_server.root().chopped(1) + annaPath);
    QByteArray phoneEdit = m_client.get(annaUrl).body;
    phoneEdit.replace("TEL", "TEL;TYPE=cell");
    ASSERT_TRUE(m_client.put(annaUrl, phoneEdit, m_client.etagOf(annaUrl)).ok());

    m_book[0].phones = {{QStringLiteral("+7 111")}};
    EXPECT_EQ(summary(sync().plan(m_book).plan),
              "create: update: delete: conflict:Анна bind: fetch:");
    const auto fetched = sync().fetch(m_book);
    ASSERT_EQ(fetched.cards.size(), 1u);
    EXPECT_EQ(std::pair(fetched.cards[0].boundUid, fetched.cards[0].contact.phones[0].kind),
              std::pair(m_book[0].uid, ContactPhone::Kind::Cell));

    // Changed by another client between the listing and the PUT: 412.
    m_book[1].note = QStringLiteral("тоже");
    const QUrl borisUrl(m_server.root().chopped(1) +
                        SyncPlan::ownPath(QUrl(m_server.book()).path(), m_book[1].uid));
    const auto raced = sync().publish(m_book, [&](int, int) {
        QByteArray other = m_client.get(borisUrl).body;
        other.replace("TEL", "TEL;TYPE=work");
        return m_client.put(borisUrl, other, m_client.etagOf(borisUrl)).ok();
    });
    EXPECT_TRUE(raced.ok());
    EXPECT_EQ(summary(raced.plan), "create: update:Борис delete: conflict:Анна,Борис bind: fetch:");
    EXPECT_EQ(m_client.get(annaUrl).body, phoneEdit);
}

TEST_F(CardDavSyncTest, AnotherClientsCardIsFetchedBoundAndNeverDeleted)
{
    ASSERT_TRUE(putOther("phone-1.vcf", kForeignCard).ok());
    EXPECT_EQ(summary(sync().plan(m_book).plan),
              "create:Анна,Борис,Вера update: delete: conflict: bind: fetch:phone-1.vcf");
    ASSERT_TRUE(sync().publish(m_book).ok());
    const auto fetched = sync().fetch(m_book);
    ASSERT_EQ(fetched.cards.size(), 1u);
    EXPECT_EQ(fetched.cards[0].contact.name + fetched.cards[0].boundUid, "Зоя");

    m_book = book({m_book[0], m_book[1], m_book[2], entry("Зоя", "+7 900 000-00-01")});
    ASSERT_FALSE(sync().accept(fetched.cards[0], m_book[3]));
    EXPECT_EQ(summary(sync().plan(m_book).plan), kNothing);
    m_book[3].note = QStringLiteral("дача");
    m_book.erase(m_book.begin());
    const auto published = sync().publish(m_book);
    ASSERT_TRUE(published.ok());
    EXPECT_EQ(
        summary(published.plan),
        QString("create: update:Зоя delete:%1 conflict: bind: fetch:").arg(ownFile("Анна", "1")));
    ASSERT_FALSE(sync().accept(fetched.cards[0], m_book[2]));
    m_book.pop_back();
    // Its entry gone, the other client's card stays on the server.
    EXPECT_EQ(summary(sync().publish(m_book).plan), kNothing);
    EXPECT_EQ(cardsOnServer(), 3);
}

TEST_F(CardDavSyncTest, FailuresSayWhatHappenedAndTheNextPublishRepairs)
{
    CardDavClient wrong(RadicaleServer::User, QStringLiteral("wrong"));
    EXPECT_EQ(CardDavSync(wrong, QUrl(m_server.book()), statePath()).publish(m_book).problem,
              DavProblem::WrongPassword);
    EXPECT_EQ(wrong.discover(QUrl(m_server.root())).problem, DavProblem::WrongPassword);
    EXPECT_EQ(m_client.discover(QUrl(m_server.root())).addressBook.toString(), m_server.book());
    EXPECT_FALSE(QFile::exists(statePath()));

    const auto cut = sync().publish(m_book, [&](int done, int) {
        if (done == 2)
            m_server.stop();
        return true;
    });
    EXPECT_EQ(std::tuple(cut.problem, cut.done,
                         CardDavClient("a", "b").discover(QUrl(m_server.root())).problem),
              std::tuple(DavProblem::NoNetwork, 2, DavProblem::NoNetwork));

    ASSERT_TRUE(m_server.start());
    const auto resumed = sync().publish(m_book);
    EXPECT_EQ(summary(resumed.plan) + (resumed.ok() ? "" : " failed"),
              "create:Вера update: delete: conflict: bind: fetch:");

    // Without the state, every card is compared: none doubled, none removed.
    ASSERT_TRUE(QFile::remove(statePath()));
    m_book.pop_back();
    const QString binds = summary(sync().publish(m_book).plan);
    ASSERT_TRUE(QFile(statePath()).open(QIODevice::WriteOnly | QIODevice::Truncate));
    EXPECT_EQ(QStringList({binds, summary(sync().publish(m_book).plan)}),
              QStringList(2, "create: update: delete: conflict: bind:Анна,Борис fetch:"));
    EXPECT_EQ(cardsOnServer(), 3);
}

// An address book, a principal or the server's address; any other address
// is named as wrong, never taken for the first address book. A principal of
// several books lists them, and the command line stops there with status 2.
TEST_F(CardDavSyncTest, DiscoveryNamesAWrongAddressAndListsSeveralBooks)
{
    const QString root = m_server.root();
    const QString book = m_server.book();
    const auto found = [&](const QString& url) {
        const CardDavClient::Discovery discovery = m_client.discover(QUrl(url));
        return std::pair(discovery.problem, discovery.addressBook.toString() + discovery.detail);
    };
    const std::pair<QString, std::pair<DavProblem, QString>> cases[] = {
        {root, {DavProblem::None, book}},
        {root + "anna/", {DavProblem::None, book}},
        {book, {DavProblem::None, book}},
        {root + "anna/boook/", {DavProblem::NotAddressBook, root + "anna/boook/"}},
        {root + "anna/book/x.vcf", {DavProblem::NotAddressBook, root + "anna/book/x.vcf"}},
    };
    for (const auto& [url, expected] : cases)
        EXPECT_EQ(found(url), expected) << url.toStdString();

    ASSERT_TRUE(makeBook(root + "anna/work/"));
    const CardDavClient::Discovery several = m_client.discover(QUrl(root + "anna/"));
    QStringList books;
    for (const CardDavClient::AddressBook& each : several.books)
        books << each.url.toString();
    books.sort();
    EXPECT_EQ(std::pair(several.problem, books),
              std::pair(DavProblem::SeveralBooks, QStringList({book, root + "anna/work/"})));
    EXPECT_EQ(found(root + "anna/work/"), std::pair(DavProblem::None, root + "anna/work/"));

    const QString dir = m_server.folder();
    const PageRecord page{u"АБ"_qs, u"Анна\t1"_qs, PageRecord::AddressPage};
    ASSERT_TRUE(writeAll(dir + "/book.vlk", DataFile::serialize(std::span(&page, 1))) &&
                writeAll(dir + "/dav", "secret\n"));
    for (const auto& [url, status] : {std::pair(root, 2), std::pair(root + "anna/work/", 0)}) {
        QProcess cli;
        cli.start(VELKARO_CLI, {"sync", dir + "/book.vlk", "--url", url, "--user",
                                RadicaleServer::User, "--password-file", dir + "/dav"});
        ASSERT_TRUE(cli.waitForFinished());
        const QString said = cli.readAllStandardError();
        EXPECT_EQ(std::tuple(cli.exitCode(), said.contains(book), said.contains("anna/work/")),
                  std::tuple(status, status == 2, status == 2))
            << said.toStdString();
    }
}

TEST_F(CardDavSyncTest, CliTellsWhatAPublishWouldDo)
{
    const QString dir = m_server.folder();
    const PageRecord page{QStringLiteral("АБ"), QStringLiteral("Анна\t1\r\nБорис\t2"),
                          PageRecord::AddressPage};
    ASSERT_TRUE(writeAll(dir + "/book.vlk", DataFile::serialize(std::span(&page, 1))));
    ASSERT_TRUE(writeAll(dir + "/right", "secret\n") && writeAll(dir + "/wrong", "nope\n"));
    const QUrl anna(m_server.book() + ownFile("Анна", "1"));
    const struct
    {
        const char* password;
        QStringList options;
        int status;
        QByteArray out;
    } runs[] = {{"right", {"--dry-run"}, 0, "create\tАнна\ncreate\tБорис\n"},
                {"wrong", {"--dry-run"}, 1, ""},
                {"right", {}, 0, "create\tАнна\ncreate\tБорис\n"},
                {"right", {"--dry-run"}, 0, ""},
                // Анна's card deleted on the server.
                {"right", {"--dry-run", "--resend-deleted"}, 0, "deleted\tАнна\ncreate\tАнна\n"},
                {"right", {}, 0, "deleted\tАнна\n"},
                {"right", {"--resend-deleted"}, 0, ""}};
    for (const auto& run : runs) {
        if (run.options.contains("--resend-deleted") && run.out.startsWith("deleted")) {
            ASSERT_TRUE(m_client.remove(anna, {}).ok());
        }
        QProcess cli;
        QStringList arguments{
            "sync",   dir + "/book.vlk",    "--url",           m_server.root(),
            "--user", RadicaleServer::User, "--password-file", dir + "/" + run.password};
        arguments << run.options;
        cli.start(VELKARO_CLI, arguments);
        ASSERT_TRUE(cli.waitForFinished());
        EXPECT_EQ(cli.exitCode(), run.status) << cli.readAllStandardError().toStdString();
        EXPECT_EQ(cli.readAllStandardOutput(), run.out);
    }
    EXPECT_EQ(cardsOnServer(), 1);
}

// A book encrypted after its first publish: the plain state is read, then
// written back sealed with the book's key, and read so by the next sync.
TEST_F(CardDavSyncTest, CliSealsTheStateOfAnEncryptedBook)
{
    const QString dir = m_server.folder();
    const auto key = BookKey::create(u"тайна"_qs, BookKey::Limits::fastest());
    ASSERT_TRUE(writeAll(dir + "/dav", "secret\n") &&
                writeAll(dir + "/book", u"тайна\n"_qs.toUtf8()));
    const struct
    {
        const char* entries;
        bool sealed;
        QByteArray out;
    } runs[] = {{"Анна\t1\r\nБорис\t2", false, "create\tАнна\ncreate\tБорис\n"},
                {"Анна\t1\r\nБорис\t2\r\nВера\t3", true, "create\tВера\n"},
                {"Анна\t1\r\nБорис\t2\r\nВера\t3", true, ""}};
    for (const auto& run : runs) {
        const PageRecord page{u"АБ"_qs, QString::fromUtf8(run.entries), PageRecord::AddressPage};
        const QByteArray plain = DataFile::serialize(std::span(&page, 1));
        ASSERT_TRUE(
            writeAll(dir + "/book.vlk", run.sealed ? BookCipher::seal(plain, *key) : plain));
        QProcess cli;
        cli.start(VELKARO_CLI, {"sync", dir + "/book.vlk", "--url", m_server.root(), "--user",
                                RadicaleServer::User, "--password-file", dir + "/dav",
                                "--book-password-file", dir + "/book"});
        ASSERT_TRUE(cli.waitForFinished());
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        EXPECT_EQ(cli.readAllStandardOutput(), run.out);
        EXPECT_EQ(BookCipher::isSealed(readAll(statePath())), run.sealed);
    }
    EXPECT_EQ(cardsOnServer(), 3);
    EXPECT_EQ(SyncState::load(statePath(), key.get()).cards.size(), 3u);
    EXPECT_EQ(QDir(dir).entryList({"book.vlk*"}), (QStringList{"book.vlk", "book.vlk.carddav"}));
}

} // namespace
