#include "core/shell_folders.h"

#include <QSettings>

namespace {

#ifdef Q_OS_WIN
QString registryValue(QStringView key, const QString& valueName)
{
    QString path = QStringLiteral(
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\");
    path += key;
    const QSettings folders(path, QSettings::NativeFormat);
    return folders.value(valueName).toString();
}
#endif

QString expanded(const QString& text, const ShellFolders::Environment& environment)
{
    QString out;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = text.indexOf(u'%', at);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'%', open + 1);
        if (close < 0) {
            out += text.mid(at);
            break;
        }
        out += text.mid(at, open - at);
        const QString name = text.mid(open + 1, close - open - 1);
        const QString value = name.isEmpty() ? QString() : environment(name);
        if (value.isEmpty()) {
            // Not a variable: the first percent sign stays, the second may
            // open the next one.
            out += u'%';
            at = open + 1;
            continue;
        }
        out += value;
        at = close + 1;
    }
    return out;
}

} // namespace

QString ShellFolders::documents()
{
    return read(QStringLiteral("Personal"));
}

QString ShellFolders::appData()
{
    return read(QStringLiteral("AppData"));
}

QString ShellFolders::pick(const QString& userShellFolder, const QString& shellFolder,
                           const Environment& environment)
{
    if (!userShellFolder.isEmpty())
        return expanded(userShellFolder, environment);
    return shellFolder;
}

QString ShellFolders::read(const QString& valueName)
{
#ifdef Q_OS_WIN
    return pick(registryValue(u"User Shell Folders", valueName),
                registryValue(u"Shell Folders", valueName),
                [](const QString& name) { return qEnvironmentVariable(name.toLatin1().constData()); });
#else
    Q_UNUSED(valueName);
    return {};
#endif
}
