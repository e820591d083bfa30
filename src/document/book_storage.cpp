#include "document/book_storage.h"

#include "core/bounded_file.h"
#include "core/message_service.h"
#include "core/safe_file.h"
#include "document/data_file.h"
#include "document/text_export.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kModule = QStringLiteral("Subs");

bool pathExists(const QString& path)
{
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}

AppError unencodable(const Book& book, const DataFile::Encoded& encoded)
{
    return {AppError::InvalidProcedureCall,
            QStringLiteral("Страница «%1» содержит символы, которые нельзя сохранить в "
                           "кодировке Windows-1251: %2")
                .arg(book.Pages[encoded.badPage].Title, encoded.badChars)};
}

} // namespace

BookStorage::BookStorage(Book& book, MessageService& messages, QObject* parent)
    : QObject(parent), m_book(book), m_messages(messages)
{}

std::optional<AppError> BookStorage::LoadBook()
{
    m_keptAside.clear();
    const ReadOutcome first = readBook(FullDataPath());
    if (first == ReadOutcome::Loaded)
        return std::nullopt;
    if (auto error = recoverFrom(first))
        return error;
    if (readBook(FullDataPath()) == ReadOutcome::Loaded)
        return std::nullopt;
    return AppError{AppError::PathFileAccessError, QStringLiteral("Path/File access error")};
}

std::optional<AppError> BookStorage::recoverFrom(ReadOutcome outcome)
{
    if (outcome == ReadOutcome::Missing)
        return WriteDefaultBook();
    // The unreadable file may be the user's only copy: it must not be written
    // over. When it cannot be moved aside, the fallback book goes elsewhere.
    if (!SafeFile::keepAside(FullDataPath(), QStringLiteral("unreadable"), m_keptAside))
        return UseTempBook();
    return WriteDefaultBook();
}

BookStorage::ReadOutcome BookStorage::readBook(const QString& path)
{
    if (!pathExists(path))
        return ReadOutcome::Missing;
    const BoundedFile::Result file = BoundedFile::read(path, DataFile::MaxFileBytes);
    if (!file.bytes)
        return ReadOutcome::Unreadable;
    DataFile::ParseResult parsed = DataFile::parse(*file.bytes);
    if (!parsed.ok())
        return ReadOutcome::Unreadable;
    if (m_cleanup) {
        for (PageRecord& page : parsed.pages) {
            if (page.Kind == PageRecord::AddressPage)
                page.Text = m_cleanup(page.Text);
        }
    }
    m_book.setPages(std::move(parsed.pages));
    m_book.markSaved();
    return ReadOutcome::Loaded;
}

bool BookStorage::SaveBook()
{
    if (!SaveDataEx(FullDataPath())) {
        m_book.MarkBookChanged();
        return false;
    }
    m_book.markSaved();
    return SaveAsText(exportPath());
}

bool BookStorage::SaveDataEx(const QString& path)
{
    if (!m_useRtf)
        m_book.convertToPlainText();
    const DataFile::Encoded encoded = DataFile::encode(m_book.pages());
    std::optional<AppError> error;
    if (!encoded.ok())
        error = unencodable(m_book, encoded);
    else
        error = SafeFile::writeWhole(path, encoded.bytes);
    if (!error)
        return true;
    m_messages.showError(*error, kModule, QStringLiteral("SaveDataEx"));
    return false;
}

bool BookStorage::SaveAsText(const QString& path)
{
    const std::optional<AppError> error =
        SafeFile::writeWhole(path, TextExport::build(m_book.pages()));
    if (!error)
        return true;
    m_messages.showError(*error, kModule, QStringLiteral("SaveAsText"));
    return false;
}

std::optional<AppError> BookStorage::WriteDefaultBook()
{
    const QString path = FullDataPath();
    QString keptAs;
    const bool clear =
        !pathExists(path) || SafeFile::keepAside(path, QStringLiteral("replaced"), keptAs);
    const QByteArray bytes = DataFile::serialize(DataFile::defaultPages());
    if (clear && !SafeFile::writeWhole(path, bytes))
        return std::nullopt;
    // A data folder that is merely missing (a fresh profile without a
    // documents folder) is made and used; one whose parent is missing too (a
    // drive that is not there) gets the fallback book, which explains that.
    if (clear && QDir().mkdir(QDir::cleanPath(m_filePath)) && !SafeFile::writeWhole(path, bytes))
        return std::nullopt;
    return UseTempBook();
}

std::optional<AppError> BookStorage::UseTempBook()
{
    m_filePath = fallbackFolder();
    QDir().mkpath(m_filePath);
    const QString path = FullDataPath();
    QString keptAs;
    if (pathExists(path) && !SafeFile::keepAside(path, QStringLiteral("replaced"), keptAs))
        return AppError{AppError::PermissionDenied, QStringLiteral("Permission denied")};
    if (auto error = SafeFile::writeWhole(path, fallbackBookBytes()))
        return error;
    m_book.RecentPage = 1;
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

bool BookStorage::writeRescueCopy()
{
    QDir().mkpath(m_settingsFolder);
    return !SafeFile::writeWhole(rescuePath(), DataFile::encode(m_book.pages()).bytes);
}

QString BookStorage::rescuePath() const
{
    return m_settingsFolder + m_exeBaseName + QLatin1String(".rescue.dat");
}

bool BookStorage::hasRescue() const
{
    return QFileInfo::exists(rescuePath());
}
