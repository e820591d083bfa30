#pragma once

#include "cli/cli_password.h"
#include "crypto/book_cipher.h"
#include "crypto/book_key.h"
#include "document/data_file.h"
#include "document/page_record.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// A book file read the way the program reads it at start-up, but never
// recovered or rewritten: a file that does not load is only described. The
// file is indexed whole, and a page is decoded only when it is asked for.
class CliBook
{
public:
    // Whole: the file is read and indexed at once, for a command that looks
    // at pages in any order or at the whole file. Walked: a plain book file
    // is read a part at a time through one buffer, for a command that looks
    // at each page once, from the first; memory touched stays that buffer's,
    // however large the book.
    enum class Reading
    {
        Whole,
        Walked
    };

    // Reads and indexes `path`; given `upToPage`, reads it up to that page
    // and keeps only that one. problem() tells why that failed. An encrypted
    // book takes its password from `password` (see CliPassword).
    explicit CliBook(const QString& path, const CliPassword::Source& password = {},
                     int upToPage = 0, Reading reading = Reading::Whole);
    ~CliBook();
    CliBook(const CliBook&) = delete;
    CliBook& operator=(const CliBook&) = delete;

    bool ok() const { return m_problem.isEmpty(); }
    const QString& problem() const { return m_problem; }
    // The key an encrypted book was opened with; null for a plain book.
    std::shared_ptr<const BookKey> key() const { return m_key; }
    // The pages the book has; only upToPage, when given, can be asked for.
    size_t pageCount() const { return size_t(m_index.count); }
    // Line where text follows the last counted page; the program keeps the
    // counted pages and a copy of the whole file.
    int trailingLine() const { return m_index.trailingLine; }

    // Page `number` (from 1), decoded when read, from this book (which must
    // outlive it). With cleanUp an address
    // page passes the same tab clean-up as at load, so its plain text reads
    // exactly as the program shows and exports it; such a page is known by
    // its plain text alone.
    PageRecord page(size_t number, bool cleanUp) const;
    QString title(size_t number) const { return m_index.decodeTitle(number - 1); }
    PageText pageText(size_t number) const { return m_index.storedText(number - 1, m_file); }
    std::optional<QByteArrayView> windows1251Title(size_t number) const
    {
        return m_index.windows1251Title(number - 1);
    }
    // Page `number`'s text as a Windows-1251 file stores it; nullopt in a
    // book of another coding.
    std::optional<QByteArrayView> storedText(size_t number) const;
    qint32 kind(size_t number) const { return m_index.kindOf(number - 1); }
    // Every page; their texts are read from this book, which must outlive them.
    std::vector<PageRecord> pages(bool cleanUp) const;
    // Calls `visit` with each page number in turn; while it runs, the
    // accessors above answer for that page (of a walked book, for that page
    // alone, and a page taken must not be kept past the call). False when a
    // walked book showed a fault part way: it is then read whole, problem()
    // tells what is wrong or a second call visits every page from the first.
    bool forEachPage(const std::function<void(size_t)>& visit);

private:
    struct Walk;
    void open(int upToPage);
    bool startWalk(int upToPage);
    bool advance(int pages);
    void stopWalk();
    bool map(const QString& path, bool whole);
    bool unseal(const QString& path, const CliPassword::Source& password);
    void index(const QString& path, int upToPage);
    static QString problemText(BookCipher::Problem problem);

    QString m_path;
    CliPassword::Source m_password;
    int m_upToPage = 0;
    std::unique_ptr<Walk> m_walk; // while a walked book is read
    void* m_mapped = nullptr;     // the file, when it could be mapped whole
    size_t m_mappedSize = 0;
    QByteArray m_bytes;
    StoredFile m_file; // the bytes the pages read from
    DataFile::Index m_index;
    QString m_problem;
    std::shared_ptr<const BookKey> m_key;
};
