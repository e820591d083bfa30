#pragma once

#include "core/app_error.h"
#include "core/safe_file.h"
#include "crypto/book_key.h"
#include "document/book.h"
#include "document/book_reading.h"
#include "document/data_file.h"
#include "document/export_parts.h"

#include <QDateTime>
#include <QFileDevice>
#include <QFileInfo>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// Loads and saves the book in its data file, writes the text export beside it
// and recovers from a missing or unreadable file. Every file is written to a
// temporary name and renamed over the old one, so at any moment the old or
// the new book is whole on disk. Nothing here talks to the user: every
// operation reports what happened and the application decides what to show.
class BookPreload;

class BookStorage : public QObject
{
    Q_OBJECT

public:
    // What every address page passes through at load (the tab clean-up).
    using PageCleanup = std::function<QString(const QString&)>;
    // Whether the clean-up could change a page, asked of its text as the
    // file stores it (Windows-1251) so that a page it leaves alone is not
    // decoded at load.
    using CleanupCheck = BookReading::CleanupCheck;

    // What the last loadBook found besides the pages, for the user to be told.
    struct LoadReport
    {
        QString keptAside;                         // an unreadable book was kept here
        std::optional<DataFile::Error> parseError; // why it could not be read
        QString fileError;                         // or why it could not be opened
        int trailingLine = 0;                      // text after the last counted page
        QString trailingKeptAs;                    // the whole file was copied here first
        bool fallbackUsed = false;
        // There was no data file, nor an export beside it: the default book
        // was written in its place.
        bool firstBook = false;
        // The book's name, or its folder, is a link another account owns.
        QString foreignLink;
        bool foreignFolder = false;
    };

    // Why a data file cannot be loaded: the file could not be read, or what
    // it holds is no book.
    struct Unreadable
    {
        QString fileError;
        std::optional<DataFile::Error> parseError;
    };

    enum class OnDiskChange
    {
        Refuse,   // report it and write nothing
        Overwrite // the user chose to replace the other copy
    };

    struct SaveResult
    {
        // The data file changed on disk since it was read or saved here, and
        // nothing was written.
        bool changedOnDisk = false;
        std::optional<LocatedError> dataError;
        std::optional<LocatedError> exportError;
        bool dataSaved() const { return !changedOnDisk && !dataError; }
    };

    explicit BookStorage(Book& book, QObject* parent = nullptr);
    ~BookStorage() override;

    // The data folder, normally ending in a separator; a value without one is
    // used as it stands and the file name is appended directly.
    void setFilePath(const QString& filePath) { m_filePath = filePath; }
    // The titles a new book's letter pages get; the Russian ones unless set.
    void setDefaultTitles(const QStringList& titles) { m_defaultTitles = titles; }
    QString filePath() const { return m_filePath; }
    void setExeBaseName(const QString& name) { m_exeBaseName = name; }
    QString exeBaseName() const { return m_exeBaseName; }
    QString dataFileName() const { return m_exeBaseName + QLatin1String(".dat"); }
    QString fullDataPath() const { return m_filePath + dataFileName(); }
    QString exportPath() const { return m_filePath + m_exeBaseName; }
    // The per-user settings folder, ending in a separator.
    void setSettingsFolder(const QString& folder) { m_settingsFolder = folder; }
    QString settingsFolder() const { return m_settingsFolder; }
    void setUseRtf(bool useRtf) { m_useRtf = useRtf; }
    bool useRtf() const { return m_useRtf; }
    void setPageCleanup(PageCleanup cleanup, CleanupCheck check = {})
    {
        m_cleanup = std::move(cleanup);
        m_cleanupCheck = std::move(check);
    }
    // With a key every file written from here on is sealed with it (the book,
    // backups, the rescue copy, copies kept beside the book) and sealed files
    // are opened with it; the text export is not written at all. Without one
    // the ordinary format is written.
    // A reading of the book begun before the storage knew its path; taken
    // by the first load when it read the very file, unchanged.
    void setPreload(std::unique_ptr<BookPreload> preload);
    void setKey(std::shared_ptr<const BookKey> key) { m_key = std::move(key); }
    const std::shared_ptr<const BookKey>& key() const { return m_key; }
    bool encrypted() const { return m_key != nullptr; }
    // A file of the book's as plain bytes: an ordinary file as it is, a sealed
    // one opened with `key`. What refuses it comes back as the reason.
    struct Plain
    {
        std::optional<QByteArray> bytes;
        Unreadable why;
        bool sealed = false;
    };
    static Plain readPlain(const QString& path, const BookKey* key);
    std::optional<BookKey::Params> keyParams() const;
    // The bytes to write for `plain`: sealed with the key, when there is one.
    QByteArray fileBytes(const QByteArray& plain) const;

    // Removes what a save cut short left beside the book: its temporaries
    // ("<data file>.XXXXXX"), unless a running program still has one open.
    // One that holds a whole book newer than the book is kept aside instead
    // under a dated name ("<data file>.kept-<date>_<time>"), returned here.
    QStringList clearSaveLitter();

    // Fills the book from fullDataPath(), writing the default book when the
    // file is missing and keeping an unreadable file aside before the default
    // book takes its place. The error comes back only when not even the
    // fallback book could be written; the book is then left as it was.
    std::optional<AppError> loadBook();
    const LoadReport& loadReport() const { return m_report; }
    // Whether loadBook could read the data file at `path`, asked before a
    // book is given up for it; nothing is loaded, moved or written.
    static std::optional<Unreadable> whyUnreadable(const QString& path,
                                                   const BookKey* key = nullptr);

    // The data file, then the text export. A failed export does not undo a
    // written book.
    SaveResult saveBook(OnDiskChange onDiskChange = OnDiskChange::Refuse);
    std::optional<LocatedError> writeBook(const QString& path);
    // A copy of the book at `path` (the history backup): the bytes the last
    // save wrote to the data file while the pages are still the very ones
    // saved, otherwise written as writeBook writes them. A copy that already
    // holds those bytes is left as it is.
    std::optional<LocatedError> saveBackup(const QString& path);
    // The text export of the book as it is now.
    QByteArray exportBytes() const;
    // Where the program notes what the export on disk was made from.
    QString exportRecordPath() const;

    std::optional<AppError> writeDefaultBook();
    std::optional<AppError> useTempBook();

    // How many places of the page list hold something other than the book
    // last read or written here: an edited, added, removed or moved page. A
    // page only the load's clean-up changed is none of them.
    int unsavedPageCount() const;

    // True while the book in memory is the user's: read from the data file,
    // set by the caller, or edited since. A default or fallback book that
    // nobody typed into never replaces a backup or an export.
    // Neither is a book read with a part left out (text after its last page).
    bool holdsUserBook() const { return m_userBook && !m_report.fallbackUsed; }
    // The default book of a first start, where no earlier copy of a book
    // exists that it could replace, is the user's book from the start.
    void adoptFirstBook() { m_userBook = m_userBook || m_report.firstBook; }
    // The user saved on purpose: the book in memory is his from now on.
    void claimBook() { m_userBook = true; }
    // The data file differs from what was last read or written here.
    bool changedOnDisk();
    // Writes the book in memory beside the data file under a dated name
    // ("<data file>.<reason>-<date>_<time>"), leaving the data file as it is:
    // as another program left it, or before a restore replaces the book.
    std::optional<AppError> saveCopyBeside(QString& keptAs,
                                           const QString& reason = QStringLiteral("ours"));

    // For a save that fails while the system shuts down: the book goes to a
    // copy in the settings folder, and the next start finds it there. Every
    // character is kept: when Windows-1251 cannot hold one, the copy is UTF-8.
    std::optional<AppError> writeRescueCopy();
    QString rescuePath() const;
    // Where the rescue copy of the program `exeBaseName` lies.
    static QString rescuePathIn(const QString& settingsFolder, const QString& exeBaseName)
    {
        return settingsFolder + exeBaseName + QLatin1String(".rescue.dat");
    }
    // Whether a rescue copy waits; a link in its place is removed unread.
    bool hasRescue() const;

    // The complete data file of the book shown when no other can be written.
    static QByteArray fallbackBookBytes();

Q_SIGNALS:
    // The fallback book was written: the current page becomes 1 and the
    // tab-stop marker is hidden (its page explains the failure).
    void fallbackBookUsed();

private:
    enum class ReadOutcome
    {
        Loaded,
        Missing,
        Unreadable
    };

    ReadOutcome readBook(const QString& path);
    bool noteForeignLink();
    std::optional<BookReading> takePreloaded(const QString& path);
    void cleanUp(PageRecord& page) const;
    bool isWholeBookNewerThanTheBook(const QFileInfo& temporary) const;
    bool keepTrailingCopy(const QString& path, int line);
    std::optional<AppError> recoverFrom(ReadOutcome outcome);
    QString fallbackFolder() const;
    QByteArray bytesKeepingEveryCharacter() const;
    std::optional<QFileDevice::Permissions> bookPermissions() const;
    bool pagesAreTheSaved() const;
    bool holdsTheSaved(const QString& path, bool sealed) const;
    bool cleanedAtLoad(size_t i, const PageRecord& page) const;
    bool diskHoldsTheSaved();
    bool isTheSaved(const BookReading::Stamp& now);
    // What writing the book's pages to a file gave: the encoding's result,
    // the plain bytes' size and digest, and the error that kept the file as
    // it was.
    struct Written
    {
        DataFile::Encoded encoded;
        qsizetype size = 0;
        quint64 digest = 0;
        std::optional<AppError> error;
    };
    Written writeEncoded(const QString& path, DataFile::Charset charset,
                         std::optional<QFileDevice::Permissions> permissions,
                         SafeFile::Links links);
    void rememberSaved(const Written& written, DataFile::Charset charset);
    std::span<const PageRecord> savedPages() const { return Book::pagesOf(m_savedPages); }
    bool writeSaved(const DataFile::PartWriter& write) const;
    QByteArray savedBytes() const;
    std::optional<AppError> writeSavedTo(const QString& path);

    // Whether the export on disk is that of the book last read or written
    // here: Current once known, Unknown after a load until the record kept
    // beside the settings says so (or not), Stale once the data file changed.
    enum class ExportState
    {
        Unknown,
        Current,
        Stale
    };
    std::optional<LocatedError> refreshExport();
    bool exportKnownCurrent();
    std::optional<AppError> writeExport();
    void adoptExportOnDisk();
    QByteArray exportRecord();
    bool recordMatches();
    QByteArray backupRecord(const QString& path);
    QString backupRecordPath() const;
    void writeExportRecord();

    Book& m_book;
    QString m_filePath;
    QStringList m_defaultTitles = DataFile::defaultTitles();
    QString m_exeBaseName = QStringLiteral("velkaro");
    QString m_settingsFolder;
    LoadReport m_report;
    BookReading::Stamp m_stamp;
    bool m_userBook = true;
    bool m_useRtf = true;
    DataFile::Charset m_fileCharset = DataFile::Charset::Windows1251;
    PageCleanup m_cleanup;
    CleanupCheck m_cleanupCheck;
    std::shared_ptr<const BookKey> m_key;
    std::unique_ptr<BookPreload> m_preload;
    // The key the data file on disk is sealed with; nullopt for a plain file.
    std::optional<BookKey::Params> m_diskKey;
    // What the data file holds as last read or written here, when known: its
    // size and digest, and the pages it came from, a snapshot of the book's
    // (the book copies its list only when it next changes a page). After a
    // load its bytes are kept too (the pages point into them anyway); after a
    // save the saved pages, encoded again in the charset written, give them,
    // so that a large book's file is never whole in memory beside its pages.
    std::optional<qsizetype> m_savedSize;
    quint64 m_savedDigest = 0;
    QByteArray m_savedBytes;
    DataFile::Charset m_savedCharset = DataFile::Charset::Windows1251;
    Book::Snapshot m_savedPages;
    // The pages the load's clean-up changed (0-based), as it left them.
    std::vector<std::pair<size_t, PageRecord>> m_cleanedAtLoad;
    // The book's revision at which its pages were last found to be the
    // saved ones: until either changes, they still are.
    mutable std::optional<quint64> m_savedAtRevision;
    ExportState m_exportState = ExportState::Stale;
    ExportParts m_exportParts;
};
