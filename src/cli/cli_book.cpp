#include "cli/cli_book.h"

#include "cli/cli_password.h"
#include "core/bounded_file.h"
#include "crypto/book_cipher.h"
#include "document/tab_runs.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr qint64 kChunkBytes = qint64(1) << 20;
// What a walked book is read in: large enough for most records, small
// enough to stay in the processor's caches.
constexpr qsizetype kWalkBytes = qsizetype(256) << 10;

// Whether `head`, the first bytes of a file, begins as a book does: a sealed
// book's header or a count line; nullopt while that cannot be told yet.
std::optional<bool> beginsAsABook(QByteArrayView head)
{
    if (BookCipher::isSealed(head))
        return true;
    if (head.contains('\n'))
        return DataFile::pageCountOf(head).has_value();
    if (head.size() >= kChunkBytes)
        return false;
    return std::nullopt;
}

// A pipe has no size to look at first: the ceiling holds while it is read.
BoundedFile::Result readStandardInput()
{
    BoundedFile::Result result;
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        result.problem = BoundedFile::Problem::CannotRead;
        result.error = in.errorString();
        return result;
    }
    QByteArray bytes;
    bool looksLikeABook = false;
    while (bytes.size() <= DataFile::MaxFileBytes) {
        const QByteArray chunk = in.read(kChunkBytes);
        if (in.error() != QFileDevice::NoError) {
            result.problem = BoundedFile::Problem::CannotRead;
            result.error = in.errorString();
            return result;
        }
        bytes += chunk;
        bool done = chunk.isEmpty();
        // What is no book shows in its first line: the rest is never read,
        // and what was is refused as a whole file would be.
        if (!done && !looksLikeABook) {
            const std::optional<bool> begun = beginsAsABook(bytes);
            done = begun == false;
            looksLikeABook = begun.value_or(false);
        }
        if (done) {
            result.bytes = std::move(bytes);
            return result;
        }
    }
    result.problem = BoundedFile::Problem::TooLarge;
    result.error = QStringLiteral("File too large (over %1 bytes)").arg(DataFile::MaxFileBytes);
    return result;
}

} // namespace

// The part of a walked book read so far and not yet taken.
struct CliBook::Walk
{
    QFile file;
    QByteArray buffer;
    qsizetype taken = 0;
    qsizetype filled = 0;
    bool atEnd = false;
    size_t pagesRead = 0;

    QByteArrayView rest() const { return {buffer.constData() + taken, filled - taken}; }

    // Reads on after what was not taken, moved to the front; the buffer
    // grows only for a record longer than it.
    bool readMore()
    {
        if (atEnd)
            return false;
        if (taken == 0 && filled == buffer.size())
            buffer.resize(buffer.size() * 2);
        std::memmove(buffer.data(), buffer.constData() + taken, size_t(filled - taken));
        filled -= taken;
        taken = 0;
        const qint64 got = file.read(buffer.data() + filled, buffer.size() - filled);
        if (got < 0)
            return false;
        atEnd = got == 0;
        filled += got;
        return true;
    }
};

CliBook::CliBook(const QString& path, const CliPassword::Source& password, int upToPage,
                 Reading reading)
    : m_path(path), m_password(password), m_upToPage(upToPage)
{
    if (reading == Reading::Walked && startWalk(upToPage))
        return;
    open(upToPage);
}

void CliBook::open(int upToPage)
{
    const QString& path = m_path;
    const bool standardInput = path == QLatin1String("-");
    if (!standardInput && map(path, upToPage == 0)) {
        if (BookCipher::isSealed(m_bytes) && !unseal(path, m_password))
            return;
        index(path, upToPage);
        return;
    }
    BoundedFile::Result file =
        standardInput ? readStandardInput() : BoundedFile::read(path, DataFile::MaxFileBytes);
    if (!file.bytes) {
        const QString what = file.problem == BoundedFile::Problem::CannotRead
                                 ? QStringLiteral("cannot read")
                                 : QStringLiteral("not a book file");
        m_problem = QStringLiteral("%1: %2: %3").arg(path, what, file.error);
        return;
    }
    m_bytes = std::move(*file.bytes);
    if (BookCipher::isSealed(m_bytes) && !unseal(path, m_password))
        return;
    index(path, upToPage);
}

// Only a plain Windows-1251 book file is walked; anything else, or anything
// wrong, is left to the whole reading, which says what it is.
bool CliBook::startWalk(int upToPage)
{
    if (m_path == QLatin1String("-"))
        return false;
    auto walk = std::make_unique<Walk>();
    walk->file.setFileName(m_path);
    if (!walk->file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ||
        walk->file.isSequential() || walk->file.size() > DataFile::MaxFileBytes)
        return false;
    walk->buffer.resize(kWalkBytes);
    if (!walk->readMore() || BookCipher::isSealed(walk->rest()))
        return false;
    qsizetype length = 0;
    const std::optional<int> count = DataFile::countLine(walk->rest(), length);
    if (!count)
        return false;
    walk->taken = length;
    m_index.count = *count;
    m_walk = std::move(walk);
    if (!advance(std::min(upToPage, *count))) {
        stopWalk();
        return false;
    }
    return true;
}

// Forgets the walk and the record read last, which pointed into its buffer.
void CliBook::stopWalk()
{
    m_walk.reset();
    m_index = {};
    m_file.reset();
}

// Reads the walked book's next `pages` records: the last alone is indexed,
// read from the buffer.
bool CliBook::advance(int pages)
{
    Walk& walk = *m_walk;
    while (pages > 0) {
        const DataFile::Run run = DataFile::readRun(walk.rest(), walk.atEnd, pages);
        if (run.length < 0)
            return false;
        if (run.pages == 0) {
            if (!walk.readMore())
                return false;
            continue;
        }
        walk.taken += run.length;
        walk.pagesRead += size_t(run.pages);
        pages -= run.pages;
        m_index.records.assign(1, run.last);
        m_index.first = walk.pagesRead - 1;
        if (!m_file || m_file->bytes.constData() != walk.buffer.constData())
            m_file = StoredFile(new StoredBytes(
                QByteArray::fromRawData(walk.buffer.constData(), walk.buffer.size())));
    }
    return true;
}

bool CliBook::forEachPage(const std::function<void(size_t)>& visit)
{
    for (size_t number = 1; number <= pageCount(); ++number) {
        if (m_walk && !advance(1)) {
            stopWalk();
            open(m_upToPage);
            return false;
        }
        visit(number);
    }
    return true;
}

void CliBook::index(const QString& path, int upToPage)
{
    m_file = StoredFile(new StoredBytes(m_bytes));
    m_index = upToPage > 0 ? DataFile::indexPage(m_bytes, upToPage) : DataFile::index(m_bytes);
    if (!m_index.ok())
        m_problem = QStringLiteral("%1: %2").arg(path, m_index.error->text());
}

// An encrypted book is opened whole, or not at all; a damaged one asks no
// password.
bool CliBook::unseal(const QString& path, const CliPassword::Source& password)
{
    const BookCipher::HeaderResult read = BookCipher::readHeader(m_bytes);
    if (!read.header) {
        m_problem = QStringLiteral("%1: %2").arg(path, problemText(read.problem));
        return false;
    }
    const CliPassword::Result typed = CliPassword::obtain(path, password);
    if (!typed.password) {
        m_problem = typed.problem;
        return false;
    }
    bool outOfMemory = false;
    m_key = BookKey::derive(*typed.password, read.header->params, read.header->check, &outOfMemory);
    if (!m_key) {
        const QString why = outOfMemory ? QStringLiteral("not enough memory to derive the key")
                            : password.file.isEmpty()
                                ? QStringLiteral("wrong password")
                                : QStringLiteral("wrong password (from %1)").arg(password.option);
        m_problem = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    BookCipher::Opened opened = BookCipher::open(m_bytes, *m_key);
    if (!opened.ok()) {
        m_key.reset();
        m_problem = QStringLiteral("%1: %2").arg(path, problemText(opened.problem));
        return false;
    }
    m_bytes = std::move(*opened.plain);
    return true;
}

QString CliBook::problemText(BookCipher::Problem problem)
{
    switch (problem) {
    case BookCipher::Problem::WrongPassword:
    case BookCipher::Problem::OtherKey:
        return QStringLiteral("wrong password");
    case BookCipher::Problem::LaterVersion:
        return QStringLiteral("encrypted by a later version of the program");
    case BookCipher::Problem::DamagedOrLater:
        return QStringLiteral("the encrypted file is damaged or was written by a later version "
                              "of the program; nothing of it was read");
    case BookCipher::Problem::None:
    case BookCipher::Problem::NotSealed:
    case BookCipher::Problem::Damaged:
        break;
    }
    return QStringLiteral("the encrypted file is damaged or has been changed; nothing of it "
                          "was read");
}

CliBook::~CliBook()
{
#ifdef Q_OS_LINUX
    if (m_mapped)
        munmap(m_mapped, m_mappedSize);
#endif
}

// A book is read once, front to back: mapped with its pages in place, it
// costs neither a copy nor, read whole, a page fault for every page of
// memory; read up to one page, only the part before it is touched. Anything
// unusual (not a regular file, empty, too large) is left to the ordinary
// read, which says what is wrong.
bool CliBook::map(const QString& path, bool whole)
{
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st = {};
    const bool usable = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
                        st.st_size <= DataFile::MaxFileBytes;
    void* mapped = usable ? mmap(nullptr, size_t(st.st_size), PROT_READ,
                                 MAP_PRIVATE | (whole ? MAP_POPULATE : 0), fd, 0)
                          : MAP_FAILED;
    ::close(fd);
    if (mapped == MAP_FAILED)
        return false;
    m_mapped = mapped;
    m_mappedSize = size_t(st.st_size);
    m_bytes = QByteArray::fromRawData(static_cast<const char*>(mapped), qsizetype(st.st_size));
    return true;
#else
    Q_UNUSED(path);
    Q_UNUSED(whole);
    return false;
#endif
}

// The clean-up at load deletes surplus tabs from a page's document; the
// plain text of the cleaned page is the page's plain text without them, which
// is all this tool shows of a page.
PageRecord CliBook::page(size_t number, bool cleanUp) const
{
    PageRecord page = m_index.storedPage(number - 1, m_file);
    if (!cleanUp || page.kind != PageRecord::AddressPage || !TabRuns::hasSurplus(page.plainText()))
        return page;
    page.text = PageText::ofPlainText(TabRuns::collapsed(page.plainText()));
    return page;
}

std::vector<PageRecord> CliBook::pages(bool cleanUp) const
{
    std::vector<PageRecord> pages;
    pages.reserve(pageCount());
    for (size_t number = 1; number <= pageCount(); ++number)
        pages.push_back(page(number, cleanUp));
    return pages;
}

std::optional<QByteArrayView> CliBook::storedText(size_t number) const
{
    if (m_index.charset != DataFile::Charset::Windows1251)
        return std::nullopt;
    return m_index.record(number - 1).text;
}
