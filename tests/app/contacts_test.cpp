// The contact commands driven through the real window: the main popup, the
// save and open dialogs, the preview, and the messages.

#include "app_fixture.h"
#include "case_file.h"
#include "document/contact_export.h"
#include "ui/status_bar.h"

namespace {

// The long texts, from tests/data/app/contacts.cases: a rich page, two cards,
// the entries they make and the message for a character the book cannot keep.
QString text(int i)
{
    static const QList<DataCase> texts = readCases("app/contacts.cases");
    return i == 3 ? texts.value(i).text(0) : texts.value(i).lines(0);
}
const QString kRichPage = text(0), kCards = text(1), kEntries = text(2), kUnsaveable = text(3);

constexpr int kPeople = 15, kEmpty = 16, kPlain = 18;

class ContactsTest : public WindowTest
{
protected:
    // The letter pages, then "Люди" (rich text), "Пусто", a text page and
    // "Простой", stored as plain text.
    void start(int page, bool rtf = true)
    {
        if (!rtf)
            f.write(u"Адресная книга"_qs, u"UseRtf"_qs, u"False"_qs);
        writeBook({{u"Люди"_qs, kRichPage, PageRecord::AddressPage},
                   {u"Пусто"_qs, QString(), PageRecord::AddressPage},
                   {u"Заметки"_qs, u"купить 1234567"_qs, PageRecord::TextPage},
                   {u"Простой"_qs, u"Анна\t111-11-11"_qs, PageRecord::AddressPage}},
                  u"Анна\t111-11-11\r\nБорис\t222-22-22"_qs);
        WindowTest::start(page);
    }
    // Imports `cards` through the open dialog; `add` answers the preview,
    // whose summary and entries are kept.
    void import(const QString& cards, std::optional<bool> add = true)
    {
        const QString path = f.dir.filePath(u"contacts.vcf"_qs);
        writeAll(path, cards.toUtf8());
        chooseFile(path, u"cdgImportContacts"_qs);
        if (add)
            whenModal(u"frmImportContacts"_qs, [this, add](QDialog* preview) {
                summary = preview->findChild<QLabel*>(u"lblSummary"_qs)->text();
                shown = preview->findChild<QPlainTextEdit*>(u"txtEntries"_qs)->toPlainText();
                clickChild(preview, *add ? "cmdOK" : "cmdCancel");
            });
        item("mnuMainImportContacts")->trigger();
    }
    void exportTo(const QString& path, const char* command)
    {
        chooseFile(path, u"cdgExport"_qs);
        item(command)->trigger();
    }

    QString summary;
    QString shown;
};

} // namespace

TEST_F(ContactsTest, ExportWritesTheBookOrTheOpenPageAsTheUserLeftIt)
{
    start(kPeople);
    type(u"Вера\t333-33-33\r\nГена\tg@mail.ru"_qs);
    const QString vcf = f.dir.filePath(u"book.vcf"_qs);
    exportTo(vcf, "mnuMainExportVCard");
    const std::vector<Contact> contacts = ContactExport::ofBook(book().pages());
    ASSERT_EQ(contacts.size(), 5u) << "the typed page counts, the text page does not";
    EXPECT_EQ(contacts[2].name, u"Вера"_qs);
    EXPECT_EQ(readAll(vcf), ContactExport::write(contacts, ContactExport::Format::VCard));
    EXPECT_EQ(window()->findChild<StatusTipBar*>(u"picStatus"_qs)->statusText(),
              u"Контакты (5) записаны в файл "_qs + QDir::toNativeSeparators(vcf));

    // The page alone, as a table; the dialog adds the suffix.
    exportTo(f.dir.filePath(u"page"_qs), "mnuMainExportPageCsv");
    EXPECT_EQ(
        readAll(f.dir.filePath(u"page.csv"_qs)),
        ContactExport::write(ContactExport::ofPage(page(kPeople)), ContactExport::Format::Csv));

    // Cancel writes nothing; an empty page is refused before any dialog.
    exportTo({}, "mnuMainExportPageVCard");
    EXPECT_EQ(told(), QString());
    open(kEmpty);
    item("mnuMainExportPageVCard")->trigger();
    EXPECT_EQ(told(), u"На странице «Пусто» нет записей, файл не записан."_qs);
    EXPECT_EQ(QDir(f.dir.path()).entryList({u"*.vcf"_qs, u"*.csv"_qs}),
              (QStringList{u"book.vcf"_qs, u"page.csv"_qs}));

    // A file that cannot be written is reported with its name.
    f.messages.clear();
    exportTo(f.dir.filePath(u"missing/folder/book.csv"_qs), "mnuMainExportCsv");
    ASSERT_EQ(f.messages.texts().size(), 1);
    EXPECT_TRUE(told().contains(u"book.csv"_qs)) << told();
}

TEST_F(ContactsTest, ImportShowsTheEntriesFirstAndIsUndoneInOneStep)
{
    start(kPeople);
    import(kCards, false);
    EXPECT_EQ(page(kPeople).Text, kRichPage) << "Cancel in the preview changes nothing";
    EXPECT_FALSE(book().isChanged());

    import(kCards);
    EXPECT_EQ(summary, u"На страницу «Люди» будут добавлены записи (2):"_qs);
    EXPECT_EQ(shown, QString(kEntries).replace(u"\r\n"_qs, u"\n"_qs));
    const QString added = u"Иванов\t555-12-12\r\n"_qs + kEntries;
    EXPECT_EQ(fields(book().isChanged(), page(kPeople).plainText(), window()->pageText()),
              fields(true, added, added));

    // Undone in one step, as a paste is.
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window()->pageText(), u"Иванов\t555-12-12"_qs);
}

// A bad line and, in plain-text mode, characters Windows-1251 cannot keep
// import nothing; the message names the line.
TEST_F(ContactsTest, ABadLineOrCharactersThePlainBookCannotKeepImportNothing)
{
    start(kEmpty, false);
    import(QString(kCards).replace(u"TEL:222-33-44"_qs, u"Телефон 222-33-44"_qs), std::nullopt);
    EXPECT_EQ(told(), u"Файл\n"_qs + QDir::toNativeSeparators(f.dir.filePath("contacts.vcf")) +
                          u"\nне импортирован: строка 11: в строке нет двоеточия между "
                          "названием и значением.\n\nСтраница не изменена."_qs);
    f.messages.clear();
    import(QString(kCards).replace(u"FN:Борис"_qs, u"FN:Борис ☎"_qs), std::nullopt);
    EXPECT_TRUE(f.messages.texts().size() == 1 &&
                told().startsWith(u"Контакт «Борис ☎» из строки 8 файла"_qs) &&
                told().contains(u": ☎\n"_qs))
        << told();
    EXPECT_EQ(page(kEmpty).Text, QString());

    // Without the telephone sign the same file goes in, as the empty page's text.
    import(kCards);
    EXPECT_EQ(page(kEmpty).plainText(), kEntries);

    // Typing and pasting what it cannot save are refused as well.
    f.messages.clear();
    open(kPlain);
    editor()->setFocus();
    for (const QString& key : {u"Ж"_qs, u"☎"_qs}) {
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, key);
        QApplication::sendEvent(editor(), &typed);
    }
    auto* pasted = new QMimeData; // the clipboard takes it
    pasted->setHtml(u"<p>Zoë</p>"_qs);
    QApplication::clipboard()->setMimeData(pasted);
    editor()->paste();
    EXPECT_EQ(f.messages.texts(), (QStringList{kUnsaveable.arg(u"☎"), kUnsaveable.arg(u"ë")}));
    EXPECT_EQ(window()->pageText(), u"ЖАнна\t111-11-11"_qs);
}
