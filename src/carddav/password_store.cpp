#include "carddav/password_store.h"

#ifdef VELKARO_HAVE_KEYCHAIN
#include <QEventLoop>
#include <qt6keychain/keychain.h>
#endif

namespace {

#ifdef VELKARO_HAVE_KEYCHAIN
const QString kService = QStringLiteral("Velkaro Pro CardDAV");

// Runs a job to its end in a local event loop; false when it failed.
bool finish(QKeychain::Job& job)
{
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return job.error() == QKeychain::NoError;
}
#endif

} // namespace

QString PasswordStore::keyFor(const QUrl& book, const QString& user)
{
    return user + QLatin1Char('@') + book.toString(QUrl::RemoveUserInfo);
}

bool PasswordStore::available()
{
#ifdef VELKARO_HAVE_KEYCHAIN
    return true;
#else
    return false;
#endif
}

std::optional<QString> PasswordStore::read(const QUrl& book, const QString& user)
{
#ifdef VELKARO_HAVE_KEYCHAIN
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(keyFor(book, user));
    if (finish(job))
        return job.textData();
#else
    Q_UNUSED(book);
    Q_UNUSED(user);
#endif
    return std::nullopt;
}

bool PasswordStore::write(const QUrl& book, const QString& user, const QString& password)
{
#ifdef VELKARO_HAVE_KEYCHAIN
    QKeychain::WritePasswordJob job(kService);
    job.setKey(keyFor(book, user));
    job.setTextData(password);
    return finish(job);
#else
    Q_UNUSED(book);
    Q_UNUSED(user);
    Q_UNUSED(password);
    return false;
#endif
}
