// The contact commands driven through the real window: the main popup, the
// save and open dialogs, the preview, and the messages, on books written the
// way the program writes them.

#include "app_fixture.h"
#include "core/code_page.h"
#include "document/contact_entry.h"
#include "document/contact_export.h"
#include "mainwindow/main_menus.h"
#include "richtext/rtf_parser.h"
#include "richtext/rtf_reader.h"
#include "test_files.h"
#include "ui/rich_text_edit.h"
#include "ui/status_bar.h"
#include "window_driver.h"

#include <QClipboard>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

constexpr int kLetters = 14;

// "Иванов" in bold, a tab and a number, as the rich-edit control writes it.
const QString kRichPage =
    u"{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Tahoma;}}\r\n"
    "\\viewkind4\\uc1\\pard\\tx300\\tx4200\\f0\\fs20 {\\b \\'c8\\'e2\\'e0\\'ed\\'ee\\'e2}"
    "\\tab 555-12-12\\par\r\n}\r\n"_qs;

const QString kCards = u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Петрова Анна\r\n"
                       "TEL;TYPE=CELL:8 916 000-11-22\r\nEMAIL:anna@mail.ru\r\n"
                       "NOTE:соседка\\nключи от дачи\r\nEND:VCARD\r\n"
                       "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Борис\r\nTEL:222-33-44\r\n"
                       "END:VCARD\r\n"_qs;

const QString kEntries = u"Петрова Анна\tмоб. 8 916 000-11-22\r\n\t\tanna@mail.ru\r\n"
                         "\t\tсоседка\r\n\t\tключи от дачи\r\nБорис\t222-33-44"_qs;

class ContactsTest : public ::testing::Test
{
protected:
    // The letter pages, then "Люди" (rich text), "Пусто", a text page and
    // "Простой", stored as plain text.
    void start(int page)
    {
        std::vector<PageRecord> pages = DataFile::defaultPages();
        pages[0].Text = u"Анна\t111-11-11\r\nБорис\t222-22-22"_qs;
        pages.push_back({u"Люди"_qs, kRichPage, PageRecord::AddressPage});
        pages.push_back({u"Пусто"_qs, QString(), PageRecord::AddressPage});
        pages.push_back({u"Заметки"_qs, u"купить 1234567"_qs, PageRecord::TextPage});
        pages.push_back({u"Простой"_qs, u"Анна\t111-11-11"_qs, PageRecord::AddressPage});
        writeAll(f.dataFile(), DataFile::serialize(pages));
        f.write("Options", "RecentPage", QString::number(page));
        app = f.makeApp();
        ASSERT_TRUE(startAndShow(*app));
    }
    MainWindow* window() const { return app->mainWindow(); }
    Book& book() const { return app->book(); }
    QAction* item(const char* name) const { return window()->menus()->item(name); }
    const PageRecord& page(int index) const
    {
        return book().Pages[static_cast<std::size_t>(index)];
    }

    // Runs `answer` on the modal window named `name` once it is up, from the
    // event loop of whichever dialog runs by then; the timer goes with the test.
    void whenModal(const QString& name, const std::function<void(QWidget*)>& answer)
    {
        auto* timer = new QTimer(&m_timers);
        timer->setInterval(1);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, name, answer] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal->objectName() != name)
                return;
            timer->stop();
            answer(modal);
        });
        timer->start();
    }
    // Picks `path` in the file dialog named `name`; cancels when it is empty.
    void chooseFile(const QString& name, const QString& path)
    {
        whenModal(name, [path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
        });
    }
    // Answers the preview with OK or Cancel, keeping what it showed.
    void answerPreview(bool add, QString* summary = nullptr, QString* shown = nullptr)
    {
        whenModal(u"frmImportContacts"_qs, [add, summary, shown](QWidget* preview) {
            if (summary)
                *summary = preview->findChild<QLabel*>(u"lblSummary"_qs)->text();
            if (shown)
                *shown = preview->findChild<QPlainTextEdit*>(u"txtEntries"_qs)->toPlainText();
            preview->findChild<QPushButton*>(add ? u"cmdOK"_qs : u"cmdCancel"_qs)->click();
        });
    }
    QString writeCards(const QString& text, const QString& name = u"contacts.vcf"_qs)
    {
        const QString path = f.dir.filePath(name);
        writeAll(path, text.toUtf8());
        return path;
    }

    AppFixture f;
    std::unique_ptr<Application> app;
    QObject m_timers;
};

} // namespace

TEST_F(ContactsTest, ExportWritesTheBookOrTheOpenPageAsTheUserLeftIt)
{
    start(kLetters + 1);
    typeOver(*app, u"Вера\t333-33-33\r\nГена\tg@mail.ru"_qs);
    const QString vcf = f.dir.filePath(u"book.vcf"_qs);
    chooseFile(u"cdgExport"_qs, vcf);
    item("mnuMainExportVCard")->trigger();
    const std::vector<Contact> contacts = ContactExport::ofBook(book().pages());
    ASSERT_EQ(contacts.size(), 5u) << "the typed page counts, the text page does not";
    EXPECT_EQ(contacts[2].name, u"Вера"_qs);
    EXPECT_EQ(readAll(vcf), ContactExport::write(contacts, ContactExport::Format::VCard));
    EXPECT_EQ(window()->findChild<StatusTipBar*>(u"picStatus"_qs)->statusText(),
              u"Контакты (5) записаны в файл "_qs + QDir::toNativeSeparators(vcf));

    // The page alone, as a table; the dialog adds the suffix.
    chooseFile(u"cdgExport"_qs, f.dir.filePath(u"page"_qs));
    item("mnuMainExportPageCsv")->trigger();
    EXPECT_EQ(readAll(f.dir.filePath(u"page.csv"_qs)),
              ContactExport::write(ContactExport::ofPage(page(kLetters + 1)),
                                   ContactExport::Format::Csv));

    // Cancel writes nothing; an empty page is refused before any dialog.
    chooseFile(u"cdgExport"_qs, {});
    item("mnuMainExportPageVCard")->trigger();
    EXPECT_TRUE(f.messages.texts().isEmpty());
    app->SelectPage(kLetters + 2);
    item("mnuMainExportPageVCard")->trigger();
    ASSERT_EQ(f.messages.texts().size(), 1);
    EXPECT_EQ(f.messages.texts()[0], u"На странице «Пусто» нет записей, файл не записан."_qs);
    EXPECT_EQ(QDir(f.dir.path()).entryList({u"*.vcf"_qs, u"*.csv"_qs}),
              (QStringList{u"book.vcf"_qs, u"page.csv"_qs}));
}

TEST_F(ContactsTest, AFileThatCannotBeWrittenIsReportedWithItsName)
{
    start(1);
    chooseFile(u"cdgExport"_qs, f.dir.filePath(u"missing/folder/book.csv"_qs));
    item("mnuMainExportCsv")->trigger();
    ASSERT_EQ(f.messages.texts().size(), 1);
    EXPECT_TRUE(f.messages.texts()[0].contains(u"book.csv"_qs))
        << f.messages.texts()[0].toStdString();
}

TEST_F(ContactsTest, ImportShowsTheEntriesFirstAndKeepsTheRichPagesFormatting)
{
    start(kLetters + 1);
    const QString path = writeCards(kCards);

    chooseFile(u"cdgImportContacts"_qs, path);
    answerPreview(false);
    item("mnuMainImportContacts")->trigger();
    EXPECT_EQ(page(kLetters + 1).Text, kRichPage) << "Cancel in the preview changes nothing";
    EXPECT_FALSE(book().isChanged());

    QString summary;
    QString shown;
    chooseFile(u"cdgImportContacts"_qs, path);
    answerPreview(true, &summary, &shown);
    item("mnuMainImportContacts")->trigger();
    EXPECT_EQ(summary, u"На страницу «Люди» будут добавлены записи (2):"_qs);
    EXPECT_EQ(shown, QString(kEntries).replace(u"\r\n"_qs, u"\n"_qs));
    EXPECT_TRUE(book().isChanged());
    EXPECT_EQ(page(kLetters + 1).plainText(), u"Иванов\t555-12-12\r\n"_qs + kEntries);
    EXPECT_EQ(window()->pageText(), u"Иванов\t555-12-12\r\n"_qs + kEntries);
    QTextDocument doc;
    RtfReader::read(page(kLetters + 1).Text, doc);
    EXPECT_EQ(doc.begin().begin().fragment().charFormat().fontWeight(), QFont::Bold);

    // The entries read back as the contacts they came from.
    const std::vector<Contact> back = ContactEntry::ofPage(page(kLetters + 1));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[1].phones,
              (std::vector<ContactPhone>{{u"8 916 000-11-22"_qs, ContactPhone::Kind::Cell}}));
    EXPECT_EQ(back[1].note, u"соседка\nключи от дачи"_qs);

    // Undone in one step, as a paste is.
    QTest::keyClick(window()->editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window()->pageText(), u"Иванов\t555-12-12"_qs);
}

TEST_F(ContactsTest, ABadLineImportsNothingAndTheMessageNamesIt)
{
    start(kLetters + 2);
    const QString path =
        writeCards(QString(kCards).replace(u"TEL:222-33-44"_qs, u"Телефон 222-33-44"_qs));
    chooseFile(u"cdgImportContacts"_qs, path);
    item("mnuMainImportContacts")->trigger();
    ASSERT_EQ(f.messages.texts().size(), 1);
    EXPECT_EQ(f.messages.texts()[0],
              u"Файл\n"_qs + QDir::toNativeSeparators(path) +
                  u"\nне импортирован: строка 11: в строке нет двоеточия между названием и "
                  "значением.\n\nСтраница не изменена."_qs);
    EXPECT_EQ(page(kLetters + 2).Text, QString());
    EXPECT_FALSE(book().isChanged());
}

TEST_F(ContactsTest, PlainTextModeRefusesCharactersWindows1251CannotKeep)
{
    f.write(u"Адресная книга"_qs, u"UseRtf"_qs, u"False"_qs);
    start(kLetters + 2);
    const QString path = writeCards(QString(kCards).replace(u"FN:Борис"_qs, u"FN:Борис ☎"_qs));
    chooseFile(u"cdgImportContacts"_qs, path);
    item("mnuMainImportContacts")->trigger();
    ASSERT_EQ(f.messages.texts().size(), 1);
    EXPECT_TRUE(f.messages.texts()[0].startsWith(u"Контакт «Борис ☎» из строки 8 файла"_qs))
        << f.messages.texts()[0].toStdString();
    EXPECT_TRUE(f.messages.texts()[0].contains(u": ☎\n"_qs));
    EXPECT_EQ(page(kLetters + 2).Text, QString());

    // Without the telephone sign the same file goes in, as the empty page's text.
    chooseFile(u"cdgImportContacts"_qs, writeCards(kCards));
    answerPreview(true);
    item("mnuMainImportContacts")->trigger();
    EXPECT_EQ(page(kLetters + 2).plainText(), kEntries);
}

TEST_F(ContactsTest, AnImportNeverLeavesTheBookUnsaveable)
{
    // Rich-text mode: a page stored as plain text takes the entries as rich
    // text, and the book saves.
    start(kLetters + 4);
    chooseFile(
        u"cdgImportContacts"_qs,
        writeCards(u"BEGIN:VCARD\r\nFN:Jürgen Müller ☎\r\nTEL:+49 30 1234567\r\nEND:VCARD"_qs));
    answerPreview(true);
    item("mnuMainImportContacts")->trigger();
    EXPECT_TRUE(RtfParser::isRtf(QStringView(page(kLetters + 4).Text.text())));
    EXPECT_EQ(window()->pageText(), u"Анна\t111-11-11\r\nJürgen Müller ☎\t+49 30 1234567"_qs);
    app->saveCommand();
    EXPECT_TRUE(f.messages.texts().isEmpty()) << f.messages.texts().join(u"\n"_qs).toStdString();
    EXPECT_FALSE(book().isChanged());
}

TEST_F(ContactsTest, PlainTextModeRefusesTypingAndPastingWhatItCannotSave)
{
    f.write(u"Адресная книга"_qs, u"UseRtf"_qs, u"False"_qs);
    start(kLetters + 4);
    RichTextEdit* editor = window()->editor();
    editor->setFocus();
    for (const QString& key : {u"Ж"_qs, u"☎"_qs}) {
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, key);
        QApplication::sendEvent(editor, &typed);
    }
    auto* pasted = new QMimeData; // the clipboard takes it
    pasted->setHtml(u"<p>Zoë</p>"_qs);
    QApplication::clipboard()->setMimeData(pasted);
    editor->paste();
    EXPECT_EQ(f.messages.texts(),
              (QStringList{u"Символ «☎» нельзя сохранить в кодировке Windows-1251: книга хранится "
                           "без формата RTF. Включите формат RTF в параметрах, чтобы вводить такие "
                           "символы.\n\nСтраница не изменена."_qs,
                           u"Символ «ë» нельзя сохранить в кодировке Windows-1251: книга хранится "
                           "без формата RTF. Включите формат RTF в параметрах, чтобы вводить такие "
                           "символы.\n\nСтраница не изменена."_qs}));
    EXPECT_EQ(window()->pageText(), u"ЖАнна\t111-11-11"_qs);
}
