#pragma once

#include "contacts/contact.h"
#include "contacts/contact_entry.h"
#include "document/page_record.h"

#include <QByteArrayView>
#include <QString>
#include <optional>
#include <span>
#include <vector>

class QTextDocument;

// The import of a vCard or CSV file into a page: one entry per card or row,
// appended after the page's text.
class ContactImport
{
public:
    // Reading costs memory and time in proportion to the file, and the window
    // waits for it: 16 MiB keeps the worst file (one huge value, a row of
    // hundreds of thousands of columns) to a second or two and well under a
    // gigabyte, while the largest address lists people keep (100,000 cards,
    // under 10 MB) still fit with room to spare. Photographs, which the
    // import skips, are what make a larger file.
    static constexpr qint64 MaxFileBytes = qint64(16) << 20;

    using Encoding = ContactsRead::Encoding;

    // UTF-8 (with or without a byte-order mark), else the code page
    // codePageOf chooses (ContactsRead::encoding says which). A vCard 3.0 or
    // 4.0 with valid multi-byte UTF-8 and invalid bytes is refused at its
    // first invalid byte's line. A file whose first line opens a card is
    // vCard; any other is CSV.
    static ContactsRead read(QByteArrayView bytes, const StopRequest& stop = {},
                             Encoding tie = Encoding::Windows1251);
    // A file that is not UTF-8 read in the code page the user chose.
    static ContactsRead readAs(QByteArrayView bytes, Encoding encoding,
                               const StopRequest& stop = {});
    // The code page of bytes that are not UTF-8: Windows-1251 (Cyrillic) or
    // Windows-1252 (Western), the one whose reading gives more letters in
    // words of a single alphabet. Only words with a byte above 127 count: a
    // word of Cyrillic letters alone for Windows-1251, a word of Latin
    // letters with at least one plain ASCII letter among them for
    // Windows-1252 (Western words are not made of accented letters alone,
    // while Russian words read in Windows-1252 are). A tie, a file of no
    // such words among them, goes to `tie`: the interface language's.
    static Encoding codePageOf(QByteArrayView bytes, Encoding tie);
    // The code page of the interface's language by its code ("ru", "en").
    static Encoding codePageOfLanguage(const QString& language);

    // The entries of the contacts for the page titled `pageTitle`, CR LF
    // between them: a group of the page's title goes without saying. Cut
    // short when `stop` says so.
    static QString entries(std::span<const Contact> contacts, const ContactEntry::Labels& labels,
                           const QString& pageTitle = {}, const StopRequest& stop = {});

    // Which of `contacts` the page holds already: an entry of the same UID
    // (a file this program exported from the page), or one of the same name
    // and numbers as the contact's entry would give on this page. Names are
    // compared without regard to case, numbers by their digits.
    static std::vector<bool> alreadyOnPage(std::span<const Contact> contacts,
                                           const PageRecord& page,
                                           const ContactEntry::Labels& labels,
                                           const StopRequest& stop = {});

    struct Unencodable
    {
        int line = 0; // where the contact starts in its file
        QString name;
        QString characters; // each once, in order of appearance
    };
    // The first contact whose entry holds characters that Windows-1251, in
    // which plain-text mode keeps the book, has no code for: the rule the
    // data file is written by (CodePage::encode).
    static std::optional<Unencodable> firstUnencodable(std::span<const Contact> contacts,
                                                       const ContactEntry::Labels& labels,
                                                       const StopRequest& stop = {});

    // How the book keeps its pages: rich text holds any character, plain
    // text only what Windows-1251 has a code for.
    enum class Form
    {
        RichText,
        PlainText,
    };

    // `pageText` with the entries after it. A page with text gets them after
    // a line break, as PageImportFile::appendImportedField appends (a
    // rich-text page keeps its formatting); an empty page gets them as its
    // text, in its own font. Where the book keeps rich text a page stored as
    // plain text becomes rich text, so whatever the entries hold is saved.
    static QString appendEntries(const QString& pageText, const QString& entries, Form form);
    // The same on the document of a page open in the editor.
    static void appendEntries(QTextDocument& page, const QString& entries);
};
