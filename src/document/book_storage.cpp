#include "document/book_storage.h"

#include "core/app_info.h"
#include "core/bounded_file.h"
#include "core/byte_digest.h"
#include "core/huge_pages.h"
#include "core/safe_file.h"
#include "crypto/book_cipher.h"
#include "document/book_preload.h"
#include "document/text_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <utility>

namespace {

const QString kModule = QStringLiteral("Subs");

bool pathExists(const QString& path)
{
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}

LocatedError located(AppError error, const char* procedure, const QString& file)
{
    return {std::move(error), kModule, QString::fromLatin1(procedure), file};
}

AppError unencodable(const Book& book, const DataFile::Encoded& encoded)
{
    return {AppError::InvalidProcedureCall,
            QStringLiteral("Characters without a code"),
            TextId::UnencodableCharacters,
            {book.page(encoded.badPage).title, encoded.badChars}};
}

// Whether the file at `path` holds exactly the `size` bytes `produce` hands
// to the comparison, compared a part at a time as they come: a large file
// costs no copy of itself in fresh memory, and a difference ends the reading.
bool fileHoldsInParts(const QString& path, qsizetype size,
                      const std::function<bool(const DataFile::PartWriter&)>& produce)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || info.size() != size ||
        !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || file.isSequential())
        return false;
    QByteArray read(std::clamp<qsizetype>(size, 1, qsizetype(256) << 10), Qt::Uninitialized);
    const auto compare = [&](QByteArrayView part) {
        while (!part.isEmpty()) {
            const qsizetype length = std::min(part.size(), read.size());
            if (file.read(read.data(), length) != length ||
                QByteArrayView(read.data(), length) != part.first(length))
                return false;
            part = part.sliced(length);
        }
        return true;
    };
    char more = 0;
    return produce(compare) && file.read(&more, 1) == 0;
}

bool fileHolds(const QString& path, const QByteArray& bytes)
{
    return fileHoldsInParts(path, bytes.size(), [&bytes](const DataFile::PartWriter& compare) {
        return compare(bytes);
    });
}

AppError foreignLink(const QString& path)
{
    return {AppError::PermissionDenied,
            QStringLiteral("Permission denied"),
            TextId::ForeignLinkNotFollowed,
            {QDir::toNativeSeparators(path)}};
}

} // namespace

BookStorage::BookStorage(Book& book, QObject* parent) : QObject(parent), m_book(book) {}

BookStorage::~BookStorage() = default;

std::optional<AppError> BookStorage::loadBook()
{
    m_report = {};
    m_stamp = {};
    m_fileCharset = DataFile::Charset::Windows1251;
    m_savedSize.reset();
    m_savedBytes.clear();
    m_savedPages.reset();
    m_cleanedAtLoad.clear();
    m_savedAtRevision.reset();
    m_diskKey.reset();
    m_exportState = ExportState::Stale;
    m_exportParts.clear();
    // A link in the book's place that another account made is neither read,
    // nor moved, nor written through: this run uses the fallback book.
    const bool foreignLink = noteForeignLink();
    const ReadOutcome first = foreignLink ? ReadOutcome::Unreadable : readBook(fullDataPath());
    if (first == ReadOutcome::Loaded) {
        // A book read with a part left out is not yet the user's: until he
        // edits or saves it, the good backup and export stay as they are.
        m_userBook = m_report.trailingLine == 0;
        return std::nullopt;
    }
    m_userBook = false;
    if (auto error = foreignLink ? useTempBook() : recoverFrom(first))
        return error;
    if (readBook(fullDataPath()) == ReadOutcome::Loaded) {
        m_report.firstBook =
            first == ReadOutcome::Missing && !m_report.fallbackUsed && !pathExists(exportPath());
        return std::nullopt;
    }
    return AppError{AppError::PathFileAccessError, QStringLiteral("Path/File access error")};
}

// The book's folder may have been swapped for a link by another account
// that can write where it lies, or the book itself.
bool BookStorage::noteForeignLink()
{
    const QString folder = QDir::cleanPath(m_filePath);
    if (SafeFile::isForeignLink(folder)) {
        m_report.foreignLink = folder;
        m_report.foreignFolder = true;
    } else if (SafeFile::isForeignLink(fullDataPath())) {
        m_report.foreignLink = fullDataPath();
    }
    return !m_report.foreignLink.isEmpty();
}

std::optional<AppError> BookStorage::recoverFrom(ReadOutcome outcome)
{
    if (outcome == ReadOutcome::Missing)
        return writeDefaultBook();
    // The unreadable file may be the user's only copy: it must not be written
    // over. When it cannot be moved aside, the fallback book goes elsewhere.
    if (!SafeFile::keepAside(fullDataPath(), QStringLiteral("unreadable"), m_report.keptAside))
        return useTempBook();
    return writeDefaultBook();
}

BookStorage::ReadOutcome BookStorage::readBook(const QString& path)
{
    if (!pathExists(path))
        return ReadOutcome::Missing;
    bool sealed = false;
    std::optional<BookReading> reading = takePreloaded(path);
    if (!reading) {
        const HugePages::NextBlocks blocks(BookReading::heapFor(path));
        Plain file = readPlain(path, m_key.get());
        if (!file.bytes) {
            m_report.fileError = file.why.fileError;
            m_report.parseError = file.why.parseError;
            return ReadOutcome::Unreadable;
        }
        sealed = file.sealed;
        reading = BookReading::parse(std::move(*file.bytes), m_cleanupCheck);
        reading->stamp = BookReading::Stamp::of(path);
    }
    DataFile::ParseResult& parsed = reading->parsed;
    if (!parsed.ok()) {
        m_report.parseError = parsed.error;
        return ReadOutcome::Unreadable;
    }
    if (parsed.trailingLine > 0 && !keepTrailingCopy(path, parsed.trailingLine))
        return ReadOutcome::Unreadable;
    // The file holds these pages as they were read; a page the clean-up
    // changes is a new text and no longer one of them.
    if (reading->digest) {
        m_savedBytes = reading->bytes;
        m_savedSize = reading->bytes.size();
        m_savedDigest = *reading->digest;
    }
    m_savedAtRevision.reset();
    std::vector<std::pair<size_t, PageRecord>> asRead;
    if (m_cleanup) {
        for (size_t i = 1; i < parsed.pages.size(); ++i) {
            if (!reading->cleanupCandidates[i])
                continue;
            PageRecord& page = parsed.pages[i];
            PageRecord read = page;
            cleanUp(page);
            if (page.isSameAs(read))
                continue;
            asRead.emplace_back(i, std::move(read));
            m_cleanedAtLoad.emplace_back(i - 1, page);
        }
    }
    m_fileCharset = parsed.charset;
    m_diskKey = sealed ? keyParams() : std::nullopt;
    m_book.setPagesWithUnusedSlot(std::move(parsed.pages));
    m_book.markSaved();
    m_savedPages = m_book.snapshot();
    if (!asRead.empty()) {
        auto saved = std::make_shared<std::vector<PageRecord>>(*m_savedPages);
        for (auto& [i, page] : asRead)
            (*saved)[i] = std::move(page);
        m_savedPages = std::move(saved);
    }
    // Pages no clean-up could touch are the ones read: known without
    // comparing them again at the first save or close.
    const std::vector<bool>& candidates = reading->cleanupCandidates;
    if (!m_cleanup || std::find(candidates.begin(), candidates.end(), true) == candidates.end())
        m_savedAtRevision = m_book.revision();
    m_stamp = reading->stamp;
    m_exportState = ExportState::Unknown;
    return ReadOutcome::Loaded;
}

std::optional<BookReading> BookStorage::takePreloaded(const QString& path)
{
    if (!m_preload)
        return std::nullopt;
    std::optional<BookReading> reading = m_preload->take(path);
    m_preload.reset();
    return reading;
}

void BookStorage::setPreload(std::unique_ptr<BookPreload> preload)
{
    m_preload = std::move(preload);
}

void BookStorage::cleanUp(PageRecord& page) const
{
    const PageText& text = page.text;
    QString cleaned = m_cleanup(text);
    // A page the clean-up leaves as it is stays the page read.
    if (cleaned.constData() != text.text().constData() || cleaned.size() != text.text().size())
        page.text = std::move(cleaned);
}

QStringList BookStorage::clearSaveLitter()
{
    QStringList kept;
    if (SafeFile::isForeignLink(QDir::cleanPath(m_filePath)))
        return kept;
    for (const QFileInfo& entry : SafeFile::staleTemporaries(fullDataPath())) {
        if (isWholeBookNewerThanTheBook(entry)) {
            const QString keptAs = SafeFile::freeDatedName(fullDataPath(), QStringLiteral("kept"));
            if (!keptAs.isEmpty() && QFile::rename(entry.filePath(), keptAs))
                kept << keptAs;
            continue;
        }
        QFile::remove(entry.filePath());
    }
    // The export's name has no extension: a file of the user's could look
    // like one of its temporaries, but not begin as an export does.
    SafeFile::removeStaleTemporaries(exportPath(), [](const QByteArray& head) {
        return head.isEmpty() || head.startsWith('$');
    });
    if (!m_settingsFolder.isEmpty())
        SafeFile::removeStaleTemporaries(
            m_settingsFolder,
            {QFileInfo(exportRecordPath()).fileName(), QFileInfo(rescuePath()).fileName()});
    return kept;
}

bool BookStorage::isWholeBookNewerThanTheBook(const QFileInfo& temporary) const
{
    const QFileInfo book(fullDataPath());
    if (book.exists() && temporary.lastModified() <= book.lastModified())
        return false;
    const Plain file = readPlain(temporary.filePath(), m_key.get());
    if (!file.bytes)
        return false;
    const DataFile::ParseResult parsed = DataFile::parse(*file.bytes);
    return parsed.ok() && parsed.trailingLine == 0;
}

std::optional<BookStorage::Unreadable> BookStorage::whyUnreadable(const QString& path,
                                                                  const BookKey* key)
{
    const Plain file = readPlain(path, key);
    if (!file.bytes)
        return file.why;
    const DataFile::ParseResult parsed = DataFile::parse(*file.bytes);
    if (!parsed.ok())
        return Unreadable{{}, parsed.error};
    return std::nullopt;
}

BookStorage::Plain BookStorage::readPlain(const QString& path, const BookKey* key)
{
    BoundedFile::Result file = BoundedFile::read(
        path, DataFile::MaxFileBytes + BookCipher::HeaderBytes + BookCipher::TagBytes);
    if (!file.bytes)
        return {std::nullopt, {file.error, std::nullopt}};
    if (!BookCipher::isSealed(*file.bytes))
        return {std::move(file.bytes), {}, false};
    BookCipher::Opened opened;
    if (key) {
        opened = BookCipher::open(*file.bytes, *key);
    } else {
        const BookCipher::Problem problem = BookCipher::readHeader(*file.bytes).problem;
        opened.problem =
            problem == BookCipher::Problem::None ? BookCipher::Problem::OtherKey : problem;
    }
    if (!opened.ok())
        return {std::nullopt, {{}, DataFile::Error{BookCipher::error(opened.problem), 0}}};
    return {std::move(opened.plain), {}, true};
}

std::optional<BookKey::Params> BookStorage::keyParams() const
{
    return m_key ? std::optional(m_key->params()) : std::nullopt;
}

QByteArray BookStorage::fileBytes(const QByteArray& plain) const
{
    return m_key ? BookCipher::seal(plain, *m_key) : plain;
}

// Whether the file at `path` holds what the last save wrote, in the form
// written now: a plain copy of an encrypted book is written again, sealed.
bool BookStorage::holdsTheSaved(const QString& path, bool sealed) const
{
    if (!sealed)
        return fileHoldsInParts(path, *m_savedSize, [this](const DataFile::PartWriter& compare) {
            return writeSaved(compare);
        });
    const BoundedFile::Result file =
        BoundedFile::read(path, *m_savedSize + BookCipher::HeaderBytes + BookCipher::TagBytes);
    if (!file.bytes || !BookCipher::isSealed(*file.bytes))
        return false;
    const BookCipher::Opened opened = BookCipher::open(*file.bytes, *m_key);
    return opened.ok() && *opened.plain == savedBytes();
}

// Hands the saved bytes to `write` a part at a time; false when it stopped.
bool BookStorage::writeSaved(const DataFile::PartWriter& write) const
{
    if (!m_savedBytes.isEmpty())
        return write(m_savedBytes);
    bool going = true;
    DataFile::encodeInParts(
        savedPages(), [&](QByteArrayView part) { return going = write(part); }, m_savedCharset);
    return going;
}

QByteArray BookStorage::savedBytes() const
{
    if (!m_savedBytes.isEmpty())
        return m_savedBytes;
    QByteArray bytes;
    bytes.reserve(*m_savedSize);
    writeSaved([&bytes](QByteArrayView part) {
        bytes += part;
        return true;
    });
    return bytes;
}

// A copy of the saved bytes, sealed for an encrypted book.
std::optional<AppError> BookStorage::writeSavedTo(const QString& path)
{
    if (m_key)
        return SafeFile::writeWhole(path, fileBytes(savedBytes()), bookPermissions());
    return SafeFile::writeInParts(
        path,
        [this](const SafeFile::Writer& write) -> std::optional<AppError> {
            writeSaved(write);
            return std::nullopt;
        },
        bookPermissions());
}

// The next save writes only the counted pages, so the whole file is kept
// first; if it cannot be, the file is treated as unreadable and moved aside.
bool BookStorage::keepTrailingCopy(const QString& path, int line)
{
    if (!SafeFile::keepCopy(path, QStringLiteral("original"), m_report.trailingKeptAs)) {
        m_report.parseError = DataFile::Error{
            {AppError::InputPastEndOfFile, QStringLiteral("Text after the last page")}, line};
        return false;
    }
    m_report.trailingLine = line;
    return true;
}

BookStorage::SaveResult BookStorage::saveBook(OnDiskChange onDiskChange)
{
    SaveResult result;
    if (onDiskChange == OnDiskChange::Refuse && changedOnDisk()) {
        result.changedOnDisk = true;
        return result;
    }
    if (m_book.isChanged())
        m_userBook = true;
    if (!diskHoldsTheSaved()) {
        adoptExportOnDisk();
        m_exportState = ExportState::Stale;
        result.dataError = writeBook(fullDataPath());
        if (result.dataError) {
            m_book.markUnsaved();
            return result;
        }
        m_stamp = BookReading::Stamp::of(fullDataPath());
    }
    m_book.markSaved();
    if (holdsUserBook() && !encrypted())
        result.exportError = refreshExport();
    return result;
}

std::optional<LocatedError> BookStorage::writeBook(const QString& path)
{
    if (!m_useRtf)
        m_book.convertToPlainText();
    // The book may be a link the user made (a book kept in a synchronised
    // folder); every copy of it is a file of its own.
    const bool book = path == fullDataPath();
    if (book && SafeFile::isForeignLink(path))
        return located(foreignLink(path), "SaveDataEx", path);
    const std::optional<QFileDevice::Permissions> permissions =
        book ? std::nullopt : bookPermissions();
    const SafeFile::Links links = book ? SafeFile::Links::Follow : SafeFile::Links::Replace;
    DataFile::Charset charset = DataFile::Charset::Windows1251;
    Written written = writeEncoded(path, charset, permissions, links);
    // A book read from UTF-8 may hold characters Windows-1251 has none for;
    // it stays UTF-8 until it fits, so that a book that loads always saves.
    if (!written.encoded.ok() && m_fileCharset == DataFile::Charset::Utf8WithBom) {
        charset = m_fileCharset;
        written = writeEncoded(path, charset, permissions, links);
    }
    if (written.error)
        return located(*written.error, "SaveDataEx", path);
    if (book) {
        m_diskKey = keyParams();
        rememberSaved(written, charset);
    }
    return std::nullopt;
}

// The pages go to the file as they are encoded; only an encrypted book is
// encoded whole, to be sealed.
BookStorage::Written BookStorage::writeEncoded(const QString& path, DataFile::Charset charset,
                                               std::optional<QFileDevice::Permissions> permissions,
                                               SafeFile::Links links)
{
    Written written;
    const auto produce = [&](const SafeFile::Writer& write) -> std::optional<AppError> {
        ByteDigest::Running digest;
        QByteArray plain;
        const auto part = [&](QByteArrayView bytes) {
            digest.add(bytes);
            written.size += bytes.size();
            if (!m_key)
                return write(bytes);
            plain += bytes;
            return true;
        };
        written.encoded = DataFile::encodeInParts(m_book.pages(), part, charset);
        if (!written.encoded.ok())
            return unencodable(m_book, written.encoded);
        written.digest = digest.value();
        if (m_key)
            write(BookCipher::seal(plain, *m_key));
        return std::nullopt;
    };
    written.error = SafeFile::writeInParts(path, produce, permissions, links);
    return written;
}

std::optional<LocatedError> BookStorage::saveBackup(const QString& path)
{
    // An encrypted backup is never replaced by a plain copy: it may be the
    // only copy of an encrypted book whose file went missing.
    if (!m_key) {
        const BoundedFile::Result head = BoundedFile::readHead(path, BookCipher::HeaderBytes);
        if (head.bytes && BookCipher::isSealed(*head.bytes))
            return std::nullopt;
    }
    if (!m_useRtf)
        m_book.convertToPlainText();
    if (!pagesAreTheSaved())
        return writeBook(path);
    const QByteArray known = backupRecord(path);
    if (!known.isEmpty() && BoundedFile::read(backupRecordPath(), 64 * 1024).bytes == known)
        return std::nullopt;
    if (!holdsTheSaved(path, m_key != nullptr)) {
        if (auto error = writeSavedTo(path))
            return located(*error, "SaveDataEx", path);
    }
    // Without a record the next close compares the backup instead.
    if (const QByteArray record = backupRecord(path); !record.isEmpty())
        (void)SafeFile::writeWhole(backupRecordPath(), record);
    return std::nullopt;
}

// What the backup at `path` holds, as found or written: the saved bytes (by
// size and digest) and the backup's own size and time, so that a close that
// changed nothing finds it current without reading it. None for an
// encrypted book or a backup that is no plain file.
QByteArray BookStorage::backupRecord(const QString& path)
{
    const QFileInfo backup(path);
    if (m_key || m_settingsFolder.isEmpty() || backup.isSymLink() || !backup.isFile() ||
        !m_savedSize)
        return {};
    const auto number = [](qint64 value) { return QByteArray::number(value); };
    return backup.absoluteFilePath().toUtf8() + '\n' + number(*m_savedSize) + ' ' +
           QByteArray::number(m_savedDigest, 16) + '\n' + number(backup.size()) + ' ' +
           number(backup.lastModified().toMSecsSinceEpoch()) + '\n';
}

QString BookStorage::backupRecordPath() const
{
    return m_settingsFolder + m_exeBaseName + QLatin1String(".backup.sum");
}

// Nothing to write when the data file is still the one read or written here
// and holds exactly the pages in memory: a book looked through and closed
// costs no save, and its file keeps its bytes.
bool BookStorage::diskHoldsTheSaved()
{
    if (!m_useRtf || !m_stamp.known || m_diskKey != keyParams() ||
        !isTheSaved(BookReading::Stamp::of(fullDataPath())))
        return false;
    return pagesAreTheSaved();
}

void BookStorage::rememberSaved(const Written& written, DataFile::Charset charset)
{
    m_savedBytes.clear();
    m_savedSize = written.size;
    m_savedDigest = written.digest;
    m_savedCharset = charset;
    m_savedAtRevision.reset();
    m_cleanedAtLoad.clear();
    // After a save most pages are the ones saved before: so are their parts
    // of the export.
    const Book::Snapshot saved = std::exchange(m_savedPages, m_book.snapshot());
    const std::span<const PageRecord> before = Book::pagesOf(saved);
    const std::span<const PageRecord> pages = savedPages();
    m_exportParts.resize(pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i >= before.size() || !before[i].isSameAs(pages[i]))
            m_exportParts.markChanged(i);
    }
}

int BookStorage::unsavedPageCount() const
{
    const std::span<const PageRecord> pages = m_book.pages();
    const std::span<const PageRecord> saved = savedPages();
    const size_t places = std::max(pages.size(), saved.size());
    int count = 0;
    for (size_t i = 0; i < places; ++i) {
        count += i >= pages.size() || i >= saved.size() ||
                 !(saved[i] == pages[i] || cleanedAtLoad(i, pages[i]));
    }
    return count;
}

bool BookStorage::cleanedAtLoad(size_t i, const PageRecord& page) const
{
    return std::any_of(m_cleanedAtLoad.begin(), m_cleanedAtLoad.end(), [&](const auto& cleaned) {
        return cleaned.first == i && cleaned.second == page;
    });
}

bool BookStorage::pagesAreTheSaved() const
{
    const std::span<const PageRecord> pages = m_book.pages();
    if (!m_savedSize || pages.size() != savedPages().size())
        return false;
    if (m_savedAtRevision == m_book.revision())
        return true;
    if (m_savedPages != m_book.snapshot() &&
        !std::equal(pages.begin(), pages.end(), savedPages().begin(),
                    [](const PageRecord& a, const PageRecord& b) { return a.isSameAs(b); }))
        return false;
    m_savedAtRevision = m_book.revision();
    return true;
}

QByteArray BookStorage::exportBytes() const
{
    return TextExport::build(m_book.pages());
}

// The export of the book just saved. A run that cannot tell whether the export
// on disk is current (the first with an export an earlier release wrote)
// builds it and writes it only when its bytes differ.
std::optional<LocatedError> BookStorage::refreshExport()
{
    if (exportKnownCurrent())
        return std::nullopt;
    if (auto error = writeExport())
        return located(*error, "SaveAsText", exportPath());
    m_exportState = ExportState::Current;
    writeExportRecord();
    return std::nullopt;
}

// A stale export is written anew a part at a time; one that may be current
// is built whole and written only when its bytes differ.
std::optional<AppError> BookStorage::writeExport()
{
    if (m_exportState == ExportState::Stale)
        return m_exportParts.write(exportPath(), m_book.pages(), bookPermissions());
    const QByteArray bytes = m_exportParts.build(m_book.pages());
    if (!fileHolds(exportPath(), bytes)) {
        if (auto error = SafeFile::writeWhole(exportPath(), bytes, bookPermissions()))
            return error;
    }
    m_exportParts.kept(exportPath());
    return std::nullopt;
}

// After a load the record says whether the export on disk was made from the
// very bytes read, so a book opened and closed builds no page's plain text.
bool BookStorage::exportKnownCurrent()
{
    if (m_exportState == ExportState::Unknown && pagesAreTheSaved() && recordMatches())
        m_exportState = ExportState::Current;
    return m_exportState == ExportState::Current;
}

// Before the data file changes: the export on disk made from the book as
// read gives the parts of unchanged pages, so the save after one edit makes
// one page's part.
void BookStorage::adoptExportOnDisk()
{
    if (!m_exportParts.isEmpty() || m_exportState == ExportState::Stale || !m_savedSize)
        return;
    if (m_exportState == ExportState::Unknown && !recordMatches())
        return;
    m_exportParts.adopt(exportPath(), savedPages().size());
}

// What the export on disk was made from: the data file's bytes (by size and
// digest) in this release's plain text, and the export's own size and time,
// so an export changed by another program is never taken for ours.
QByteArray BookStorage::exportRecord()
{
    const QFileInfo exported(exportPath());
    if (!exported.isFile() || !m_savedSize)
        return {};
    const auto number = [](qint64 value) { return QByteArray::number(value); };
    return AppInfo::versionText().toUtf8() + '\n' + exported.absoluteFilePath().toUtf8() + '\n' +
           number(*m_savedSize) + ' ' + QByteArray::number(m_savedDigest, 16) + '\n' +
           number(exported.size()) + ' ' + number(exported.lastModified().toMSecsSinceEpoch()) +
           '\n';
}

bool BookStorage::recordMatches()
{
    if (m_settingsFolder.isEmpty())
        return false;
    const BoundedFile::Result record = BoundedFile::read(exportRecordPath(), 64 * 1024);
    const QByteArray expected = exportRecord();
    return record.bytes && !expected.isEmpty() && *record.bytes == expected;
}

void BookStorage::writeExportRecord()
{
    if (m_settingsFolder.isEmpty())
        return;
    QDir().mkpath(m_settingsFolder);
    // Without a record the next run compares the export instead.
    (void)SafeFile::writeWhole(exportRecordPath(), exportRecord());
}

QString BookStorage::exportRecordPath() const
{
    return m_settingsFolder + m_exeBaseName + QLatin1String(".export.sum");
}

std::optional<AppError> BookStorage::writeDefaultBook()
{
    const QString path = fullDataPath();
    QString keptAs;
    const bool clear =
        !pathExists(path) || SafeFile::keepAside(path, QStringLiteral("replaced"), keptAs);
    const QByteArray bytes =
        fileBytes(DataFile::serialize(DataFile::defaultPages(m_defaultTitles)));
    if (clear && !SafeFile::writeWhole(path, bytes))
        return std::nullopt;
    // A data folder that is merely missing (a fresh profile without a
    // documents folder) is made and used; one whose parent is missing too (a
    // drive that is not there) gets the fallback book, which explains that.
    if (clear && QDir().mkdir(QDir::cleanPath(m_filePath)) && !SafeFile::writeWhole(path, bytes))
        return std::nullopt;
    return useTempBook();
}

std::optional<AppError> BookStorage::useTempBook()
{
    m_filePath = fallbackFolder();
    QDir().mkpath(m_filePath);
    const QString path = fullDataPath();
    QString keptAs;
    if (pathExists(path) && !SafeFile::keepAside(path, QStringLiteral("replaced"), keptAs))
        return AppError{AppError::PermissionDenied, QStringLiteral("Permission denied")};
    if (auto error = SafeFile::writeWhole(path, fileBytes(fallbackBookBytes())))
        return error;
    m_report.fallbackUsed = true;
    m_book.setRecentPage(1);
    Q_EMIT fallbackBookUsed();
    return std::nullopt;
}

QString BookStorage::fallbackFolder() const
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(QDir::tempPath() + u'/');
#else
    // The temporary folder is emptied at boot here; whatever the user types
    // into the fallback book must survive, so it lives with the settings.
    if (m_settingsFolder.isEmpty())
        return QDir::tempPath() + u'/';
    return m_settingsFolder;
#endif
}

bool BookStorage::changedOnDisk()
{
    if (!m_stamp.known)
        return false;
    const BookReading::Stamp now = BookReading::Stamp::of(fullDataPath());
    // A data file that is gone is simply written again.
    return now.known && !isTheSaved(now);
}

// Whether the data file, stamped `now`, is the one last read or written here.
// A stamp taken too soon after a change to tell is checked by the bytes, and
// replaced by the later one once they agree.
bool BookStorage::isTheSaved(const BookReading::Stamp& now)
{
    if (now != m_stamp)
        return false;
    if (!m_stamp.racy || !m_savedSize || m_diskKey != keyParams())
        return true;
    if (!holdsTheSaved(fullDataPath(), m_diskKey.has_value()))
        return false;
    m_stamp = now;
    return true;
}

std::optional<AppError> BookStorage::saveCopyBeside(QString& keptAs, const QString& reason)
{
    const QString target = SafeFile::freeDatedName(fullDataPath(), reason);
    if (target.isEmpty())
        return AppError{AppError::PathFileAccessError, QStringLiteral("Path/File access error")};
    if (auto error = SafeFile::writeWhole(target, fileBytes(bytesKeepingEveryCharacter()),
                                          bookPermissions()))
        return error;
    keptAs = target;
    return std::nullopt;
}

QByteArray BookStorage::bytesKeepingEveryCharacter() const
{
    DataFile::Encoded encoded = DataFile::encode(m_book.pages());
    if (encoded.ok())
        return std::move(encoded.bytes);
    return DataFile::encode(m_book.pages(), DataFile::Charset::Utf8WithBom).bytes;
}

std::optional<QFileDevice::Permissions> BookStorage::bookPermissions() const
{
    const QFileInfo book(fullDataPath());
    if (!book.isFile())
        return std::nullopt;
    return book.permissions();
}

// The resource lives in a static library: register it before first use.
static void registerResources()
{
    Q_INIT_RESOURCE(document);
}

QByteArray BookStorage::fallbackBookBytes()
{
    static const bool registered = (registerResources(), true);
    Q_UNUSED(registered);
    QFile resource(QStringLiteral(":/document/fallback_book.rtf"));
    resource.open(QIODevice::ReadOnly);
    const QString rtf = QString::fromLatin1(resource.readAll()).trimmed();
    const PageRecord page{QStringLiteral("Ошибка"), rtf, PageRecord::AddressPage};
    return DataFile::serialize(std::span(&page, 1));
}

std::optional<AppError> BookStorage::writeRescueCopy()
{
    QDir().mkpath(m_settingsFolder);
    return SafeFile::writeWhole(rescuePath(), fileBytes(bytesKeepingEveryCharacter()),
                                bookPermissions());
}

QString BookStorage::rescuePath() const
{
    return rescuePathIn(m_settingsFolder, m_exeBaseName);
}

bool BookStorage::hasRescue() const
{
    // A link in its place is none of the program's making: it goes unread.
    const QFileInfo rescue(rescuePath());
    if (rescue.isSymLink())
        SafeFile::removeLink(rescuePath());
    return rescue.exists() && !rescue.isSymLink();
}
