#pragma once

#include "core/app_error.h"
#include "document/book.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class MessageService;

// Loads and saves the book in its data file, writes the text export beside it
// and recovers from a missing or unreadable file. Every file is written to a
// temporary name and renamed over the old one, so at any moment the old or
// the new book is whole on disk.
class BookStorage : public QObject
{
    Q_OBJECT

public:
    // What every address page passes through at load (the tab clean-up).
    using PageCleanup = std::function<QString(const QString&)>;

    BookStorage(Book& book, MessageService& messages, QObject* parent = nullptr);

    // The data folder, normally ending in a separator; a value without one is
    // used as it stands and the file name is appended directly.
    void setFilePath(const QString& filePath) { m_filePath = filePath; }
    QString FilePath() const { return m_filePath; }
    void setExeBaseName(const QString& name) { m_exeBaseName = name; }
    QString ExeBaseName() const { return m_exeBaseName; }
    QString DataFileName() const { return m_exeBaseName + QLatin1String(".dat"); }
    QString FullDataPath() const { return m_filePath + DataFileName(); }
    QString exportPath() const { return m_filePath + m_exeBaseName; }
    // The per-user settings folder, ending in a separator.
    void setSettingsFolder(const QString& folder) { m_settingsFolder = folder; }
    QString settingsFolder() const { return m_settingsFolder; }
    void setUseRtf(bool useRtf) { m_useRtf = useRtf; }
    bool useRtf() const { return m_useRtf; }
    void setPageCleanup(PageCleanup cleanup) { m_cleanup = std::move(cleanup); }

    // Fills the book from FullDataPath(), writing the default book when the
    // file is missing and keeping an unreadable file aside before the default
    // book takes its place. The error comes back only when not even the
    // fallback book could be written; the book is then left as it was.
    std::optional<AppError> LoadBook();
    // Where the last LoadBook kept an unreadable file, empty if it did not.
    QString keptAsidePath() const { return m_keptAside; }

    // The data file, then the text export; one message for the first failure.
    bool SaveBook();
    bool SaveDataEx(const QString& path);
    bool SaveAsText(const QString& path);

    std::optional<AppError> WriteDefaultBook();
    std::optional<AppError> UseTempBook();

    // For a save that fails while the system shuts down: the book goes to a
    // copy in the settings folder, without any message, and the next start
    // finds it there.
    bool writeRescueCopy();
    QString rescuePath() const;
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
    std::optional<AppError> recoverFrom(ReadOutcome outcome);
    QString fallbackFolder() const;

    Book& m_book;
    MessageService& m_messages;
    QString m_filePath;
    QString m_exeBaseName = QStringLiteral("velkaro");
    QString m_settingsFolder;
    QString m_keptAside;
    bool m_useRtf = true;
    PageCleanup m_cleanup;
};
