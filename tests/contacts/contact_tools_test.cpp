// Our exports as the programs people use read them: python3-vobject and
// Python's csv module, khard (which keeps a card a file, as CardDAV sync
// tools do) and abook. Each must read every contact with its name, numbers
// and their kinds, addresses, note, categories and UID, as far as it knows
// those fields. A missing tool is skipped and named.

#include "contacts/contact_date.h"
#include "contacts/contact_export.h"
#include "contacts/person_name.h"
#include "python_reader.h"
#include "unit_test.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace {

const std::vector<PageRecord> kBook{
    {u"АБ"_qs,
     u"Иванов Иван Иванович\tмоб. +7 916 123-45-67, раб. 8 (495) 765-43-21\r\n"
     "\t\tivan@mail.ru, i.ivanov@work.ru\r\n\t\tдр 17.05.1990\r\n"
     "\t\tМосква; подъезд 2, код 1234\r\n"
     "John Smith\t+1 212 555 0100, факс 8 (495) 111-22-33\r\n"
     "ООО «Ромашка»\tдом. 222-33-44\r\n\t\tзаказ от 1990-05-17\r\n"
     "Иванов Иван Иванович\t333-44-55"_qs,
     PageRecord::AddressPage},
    {u"Врачи, платные"_qs, u"Петрова Анна\t8 916 000-11-22"_qs, PageRecord::AddressPage},
    {u"Заметки"_qs, u"купить 1234567"_qs, PageRecord::TextPage}};

QString kindName(ContactPhone::Kind kind)
{
    static const QStringList names{{}, u"cell"_qs, u"work"_qs, u"home"_qs, u"fax"_qs};
    return names[int(kind)];
}

// What a tool that knows `keys` should have read of `contact`.
QJsonObject expected(const Contact& contact, const QStringList& keys, const QString& tool)
{
    const PersonName name = PersonName::of(contact.name);
    std::vector<std::pair<QString, QString>> sorted;
    for (const ContactPhone& phone : contact.phones) {
        // abook files home numbers and those of no kind alike.
        const bool plain = tool == u"abook" && phone.kind == ContactPhone::Kind::Home;
        sorted.emplace_back(plain ? QString() : kindName(phone.kind), phone.number);
    }
    std::sort(sorted.begin(), sorted.end());
    QJsonArray phones;
    for (const auto& [kind, number] : sorted)
        phones.append(QJsonArray{kind, number});
    QStringList emails = contact.emails;
    emails.sort();
    const QJsonObject all{{u"uid"_qs, contact.uid},
                          {u"name"_qs, contact.name},
                          {u"family"_qs, name.family},
                          {u"given"_qs, name.given},
                          {u"additional"_qs, name.additional},
                          {u"phones"_qs, phones},
                          {u"emails"_qs, QJsonArray::fromStringList(emails)},
                          {u"note"_qs, contact.note},
                          {u"categories"_qs, contact.category},
                          {u"birthday"_qs, tool == u"csv"
                                               ? contact.birthday
                                               : ContactDate::toVCard(contact.birthday)}};
    QJsonObject known;
    for (const QString& key : keys)
        known.insert(key, all.value(key));
    return known;
}

} // namespace

TEST(ContactExport, OtherProgramsReadEveryContactAsItWasExported)
{
    const QString python = pythonWith(u"vobject, yaml"_qs);
    if (python.isEmpty())
        GTEST_SKIP() << "python3 with vobject and yaml (python3-vobject) is not installed";
    const std::vector<Contact> contacts = ContactExport::ofBook(kBook);
    ASSERT_EQ(contacts.size(), 5u);
    QTemporaryDir dir;
    const QString vcf = dir.filePath(u"book.vcf"_qs);
    const QString csv = dir.filePath(u"book.csv"_qs);
    ASSERT_TRUE(writeAll(vcf, ContactExport::write(contacts, ContactExport::Format::VCard)));
    ASSERT_TRUE(writeAll(csv, ContactExport::write(contacts, ContactExport::Format::Csv)));

    QStringList missing;
    for (const QString& tool : {u"vobject"_qs, u"csv"_qs, u"khard"_qs, u"abook"_qs}) {
        if ((tool == u"khard" || tool == u"abook") &&
            QStandardPaths::findExecutable(tool).isEmpty()) {
            missing << tool;
            continue;
        }
        const QString work = dir.filePath(tool);
        QDir().mkpath(work);
        QString error;
        const std::optional<QByteArray> out =
            runPython(python,
                      QString::fromUtf8(
                          readAll(QStringLiteral(VELKARO_TEST_DATA "/contacts/read_export.py"))),
                      {tool, tool == u"csv" ? csv : vcf, work}, &error);
        ASSERT_TRUE(out) << tool.toStdString() << ": " << error.toStdString();
        const QJsonArray read = QJsonDocument::fromJson(*out).array();
        ASSERT_EQ(read.size(), qsizetype(contacts.size())) << tool.toStdString();
        for (qsizetype i = 0; i < read.size(); ++i) {
            const QJsonObject got = read[i].toObject();
            EXPECT_EQ(got, expected(contacts[size_t(i)], got.keys(), tool))
                << tool.toStdString() << " " << QJsonDocument(got).toJson().toStdString();
        }
    }
    if (!missing.isEmpty())
        GTEST_SKIP() << "not installed, so not checked: " << missing.join(u", "_qs).toStdString();
}
