#include "core/storage_folder.h"

#include "core/folders.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

bool endsWithSeparator(const QString& path)
{
    return path.endsWith(u'/') || path.endsWith(u'\\');
}

// "C:\" or "/": removing the separator would name another place.
bool isRoot(const QString& path)
{
    return path.size() == 1 || (path.size() == 3 && path[1] == u':');
}

QString clean(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

#ifndef Q_OS_WIN
QString swappedCase(const QString& text)
{
    QString swapped = text;
    for (QChar& ch : swapped)
        ch = ch.isUpper() ? ch.toLower() : ch.toUpper();
    return swapped;
}
#endif

} // namespace

QString StorageFolder::setBrowseStartFolder(const QString& path, Qt::CaseSensitivity fileNames)
{
    QString start = path;
    if (endsWithSeparator(start) && !isRoot(start))
        start.chop(1);
    return fileNames == Qt::CaseInsensitive ? start.toUpper() : start;
}

Qt::CaseSensitivity StorageFolder::fileNameCase(const QString& path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return Qt::CaseInsensitive;
#else
    QFileInfo folder(clean(path));
    while (!folder.isDir() && !folder.isRoot())
        folder = QFileInfo(folder.absolutePath());
    const QString name = folder.fileName();
    // A name without letters tells nothing; such folders are rare and the
    // systems this runs on mostly tell case apart.
    if (swappedCase(name) == name)
        return Qt::CaseSensitive;
    const QString other = folder.absolutePath() + u'/' + swappedCase(name);
    return sameEntry(folder.absoluteFilePath(), other) ? Qt::CaseInsensitive : Qt::CaseSensitive;
#endif
}

std::optional<QString> StorageFolder::absoluteFolder(const QString& text, const QString& home)
{
    QString path = text.trimmed();
    if (path == u'~' || path.startsWith(QLatin1String("~/")) ||
        path.startsWith(QLatin1String("~\\")))
        path = home + path.mid(1);
    if (path.isEmpty() || QDir::isRelativePath(QDir::fromNativeSeparators(path)))
        return std::nullopt;
    return Folders::withSeparator(path);
}

QString StorageFolder::defaultFolder(const QString& documents, const QString& home)
{
    return Folders::withSeparator(documents.isEmpty() ? home : documents);
}

bool StorageFolder::sameEntry(const QString& a, const QString& b)
{
#ifdef Q_OS_UNIX
    struct stat first
    {
    };
    struct stat second
    {
    };
    if (::stat(QFile::encodeName(a).constData(), &first) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
#else
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() &&
           first.compare(QFileInfo(b).canonicalFilePath(), Qt::CaseInsensitive) == 0;
#endif
}

bool StorageFolder::sameFolder(const QString& a, const QString& b)
{
    const QString first = clean(a);
    const QString second = clean(b);
    if (first == second)
        return true;
    if (QFileInfo(first).isDir() && QFileInfo(second).isDir())
        return sameEntry(first, second);
    return fileNameCase(first) == Qt::CaseInsensitive &&
           first.compare(second, Qt::CaseInsensitive) == 0;
}
