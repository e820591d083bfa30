#pragma once

#include "core/app_error.h"
#include "document/page_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// The book's file format, shared with every earlier release: a count line,
// then one record per page, "title","text", Windows-1251, CR LF. A double
// quote inside a field is stored as two apostrophes; a text page's title
// starts with "~".
//
// Reading follows the old sequential-file reader: a quoted field runs to the
// next double quote and whatever follows it up to the next comma or line end
// is skipped with that delimiter. An unquoted field (only hand-edited files
// have one) runs to the next comma or line end, trimmed of spaces. Any byte,
// NUL included, is field content: the rich-edit control ended its RTF with a
// NUL and books have always stored it. Text after the last counted record is
// not part of the book, and the reader says where it starts.
//
// A rescue copy may instead be UTF-8 behind a byte-order mark, so that a
// character Windows-1251 has no code for survives in it. A file with the mark
// whose bytes are not well-formed UTF-8 is Windows-1251 after all and is read
// so, without the mark.
class DataFile
{
public:
    static constexpr int MaxPages = 32767;
    // No book comes near this; a larger file is not read into memory at all.
    // The program and velkaro-cli read books with this one ceiling.
    static constexpr qint64 MaxFileBytes = qint64(1) << 30;

    struct Error
    {
        AppError error;
        int line = 0; // 1-based line of the file where reading failed
        QString text() const;
    };

    enum class Charset
    {
        Windows1251,
        Utf8WithBom
    };

    struct ParseResult
    {
        std::vector<PageRecord> pages; // page 1 first
        std::optional<Error> error;
        // 1-based line where something other than blank lines follows the
        // last counted record (a count line too small, a shifted quote), or 0.
        int trailingLine = 0;
        Charset charset = Charset::Windows1251; // how the pages were read
        bool ok() const { return !error.has_value(); }
    };

    struct Encoded
    {
        QByteArray bytes;
        int badPage = 0;  // 1-based page holding a character the file cannot store, 0 if none
        QString badChars; // those characters, once each
        bool ok() const { return badPage == 0; }
    };

    // Where each record's fields lie in the file bytes, found without decoding
    // any of them: a check of the file, or a command that wants one page,
    // decodes nothing or that one page. The views point into the bytes given.
    struct Record
    {
        QByteArrayView title; // as stored: "~" first for a text page
        QByteArrayView text;
        bool quoteFree = true; // the text holds no double quote
    };
    struct Index
    {
        Charset charset = Charset::Windows1251;
        std::vector<Record> records; // page first + 1 first
        size_t first = 0;            // the pages read but not kept, before records
        int count = 0;               // the pages the count line gives
        std::optional<Error> error;
        int trailingLine = 0; // as in ParseResult
        bool ok() const { return !error.has_value(); }
        PageRecord page(size_t i) const; // 0-based
        // The page with its text left as stored in `file`, the bytes indexed.
        PageRecord storedPage(size_t i, const StoredFile& file) const;
        PageRecord storedPage(const Record& record, const StoredFile& file) const;
        PageText storedText(size_t i, const StoredFile& file) const;
        PageText storedText(const Record& record, const StoredFile& file) const;
        QString decodeTitle(size_t i) const;
        // The title as stored, without the text page's "~".
        QByteArrayView storedTitle(size_t i) const;
        // The title's Windows-1251 bytes where the file stores them as they
        // read (no double quote in either form); nullopt otherwise.
        std::optional<QByteArrayView> windows1251Title(size_t i) const;
        qint32 kindOf(size_t i) const
        {
            return record(i).title.startsWith('~') ? PageRecord::TextPage : PageRecord::AddressPage;
        }
        const Record& record(size_t i) const { return records.at(i - first); } // 0-based
    };

    static Index index(QByteArrayView bytes);
    // Reads the file up to page `page` (from 1) and keeps that page's record
    // alone: a command that wants one page holds no record of the others.
    static Index indexPage(QByteArrayView bytes, int page);
    static ParseResult parse(QByteArrayView bytes);
    // As parse, but each page's text stays in `bytes` (shared, not copied)
    // until it is first read.
    static ParseResult parseInPlace(const QByteArray& bytes);
    // The page count of a file's count line, read from its first bytes
    // (`head` holds the whole first line); nullopt when parse() would refuse
    // that line.
    static std::optional<int> pageCountOf(QByteArrayView head);
    // For a reader that takes a file in parts: the count line at the start of
    // `head`, with what it takes (its line end too) in `length`; nullopt as
    // pageCountOf gives it, and also for a UTF-8 file, whose coding only the
    // whole file tells.
    static std::optional<int> countLine(QByteArrayView head, qsizetype& length);
    // Whole records at the start of a part of a file, as index() reads them.
    struct Run
    {
        qsizetype length = 0; // the bytes they take; -1 when the first is no record
        int pages = 0;
        Record last;
    };
    // At most `most` records from the start of `bytes`. None when `bytes`
    // ends before the first surely does (unless `atEnd`, there may be more of
    // it); a record after the first that is none, or may go on, ends the run
    // before it.
    static Run readRun(QByteArrayView bytes, bool atEnd, int most);

    // The file bytes of `pages` (page 1 first). Pages with an empty title are
    // left out and the count line counts what is written. In Windows-1251 a
    // character without a code is reported in badPage/badChars; the bytes
    // then hold '?' in its place and must not be written.
    static Encoded encode(std::span<const PageRecord> pages,
                          Charset charset = Charset::Windows1251);
    // Takes each part of the bytes; false stops the encoding.
    using PartWriter = std::function<bool(QByteArrayView part)>;
    // The same bytes handed to `write` a part at a time (256 KiB, or one
    // larger page), so that a large book is never whole in memory; the
    // result's bytes stay empty.
    static Encoded encodeInParts(std::span<const PageRecord> pages, const PartWriter& write,
                                 Charset charset = Charset::Windows1251);
    static QByteArray serialize(std::span<const PageRecord> pages) { return encode(pages).bytes; }

    // The titles of the book every new user starts with: "АБ" ... "ЮЯ".
    static QStringList defaultTitles();
    // The default book: empty address pages titled `titles`, in order.
    static std::vector<PageRecord> defaultPages(const QStringList& titles = defaultTitles());

    // Why a page title would not read back as it was written, if it would not.
    enum class TitleProblem
    {
        LeadingTilde,   // read back as a text page's marker
        Apostrophes,    // an apostrophe beside another or beside a double quote
        NoCodePageChar, // Windows-1251 has no code for a character
    };
    static std::optional<TitleProblem> titleProblem(const QString& title);

    // A field's characters: "''" stands for a double quote.
    static QString decodeField(QByteArrayView bytes, Charset charset);
};
