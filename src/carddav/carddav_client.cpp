#include "carddav/carddav_client.h"

#include "carddav/dav_multistatus.h"

#include <QAuthenticator>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <algorithm>

namespace {

const char kAskedProperty[] = "velkaroCredentialsOffered";
constexpr int kMaxRedirects = 5;
// Milliseconds a request may stay silent before it counts as no network.
constexpr int kTransferTimeoutMs = 30000;

const QByteArray kPropEtag = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                             "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/><d:resourcetype/>"
                             "</d:prop></d:propfind>";
const QByteArray kPropDiscovery =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:prop>"
    "<d:resourcetype/><d:current-user-principal/><c:addressbook-home-set/><d:displayname/>"
    "</d:prop></d:propfind>";

QByteArray syncCollectionBody(const QString& token)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>" +
           token.toHtmlEscaped().toUtf8() +
           "</d:sync-token><d:sync-level>1</d:sync-level>"
           "<d:prop><d:getetag/></d:prop></d:sync-collection>";
}

DavProblem problemOfNetwork(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::SslHandshakeFailedError:
        return DavProblem::Tls;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
        return DavProblem::NoNetwork;
    default:
        return DavProblem::Server;
    }
}

DavProblem problemOfStatus(int status)
{
    if (status >= 200 && status < 300)
        return DavProblem::None;
    switch (status) {
    case 401:
        return DavProblem::WrongPassword;
    case 412:
        return DavProblem::Conflict;
    case 404:
        return DavProblem::NotFound;
    default:
        return DavProblem::Server;
    }
}

bool isAddressBook(const DavResponse& response)
{
    return response.resourceTypes.contains(QStringLiteral("addressbook"));
}

QString pathOf(const QUrl& url)
{
    return url.path(QUrl::FullyDecoded);
}

QString withSlash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

// The authorities OpenSSL's own variables name: a file, and folders
// separated by colons.
QList<QSslCertificate> authoritiesOfEnvironment()
{
    QList<QSslCertificate> found;
    const QString file = qEnvironmentVariable("SSL_CERT_FILE");
    if (!file.isEmpty())
        found += QSslCertificate::fromPath(file, QSsl::Pem);
    for (const QString& folder :
         qEnvironmentVariable("SSL_CERT_DIR").split(QDir::listSeparator(), Qt::SkipEmptyParts))
        found += QSslCertificate::fromPath(folder + QStringLiteral("/*"), QSsl::Pem,
                                           QSslCertificate::PatternSyntax::Wildcard);
    return found;
}

bool sameOrigin(const QUrl& a, const QUrl& b)
{
    return a.scheme() == b.scheme() && a.host() == b.host() &&
           a.port(a.scheme() == u"https" ? 443 : 80) == b.port(b.scheme() == u"https" ? 443 : 80);
}

} // namespace

CardDavClient::CardDavClient(QString user, QString password)
    : m_user(std::move(user)), m_password(std::move(password))
{
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    setTrust({});
    QObject::connect(&m_network, &QNetworkAccessManager::authenticationRequired, &m_network,
                     [this](QNetworkReply* reply, QAuthenticator* authenticator) {
                         if (reply->property(kAskedProperty).toBool() ||
                             !mayOfferCredentials(reply->url()))
                             return;
                         reply->setProperty(kAskedProperty, true);
                         authenticator->setUser(m_user);
                         authenticator->setPassword(m_password);
                     });
}

void CardDavClient::setTrust(const Trust& trust)
{
    m_trust = trust;
    m_ssl = QSslConfiguration::defaultConfiguration();
    m_ssl.setCaCertificates(QSslConfiguration::systemCaCertificates() + authoritiesOfEnvironment() +
                            trust.authorities);
}

bool CardDavClient::isLoopback(const QUrl& url)
{
    const QString host = url.host();
    return host.compare(u"localhost", Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

QByteArray CardDavClient::fingerprint(const QSslCertificate& certificate)
{
    return certificate.digest(QCryptographicHash::Sha256).toHex();
}

bool CardDavClient::mayOfferCredentials(const QUrl& url) const
{
    return sameOrigin(url, m_origin);
}

DavReply CardDavClient::send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                             const std::map<QByteArray, QByteArray>& headers)
{
    if (m_origin.isEmpty())
        m_origin = url;
    QUrl target = url;
    for (int hop = 0;; ++hop) {
        if (target.scheme() == u"http" && !isLoopback(target) && !m_trust.plainHttp)
            return {DavProblem::PlainHttp, 0, {}, {}, target.host()};
        QNetworkRequest request(target);
        request.setSslConfiguration(m_ssl);
        request.setTransferTimeout(kTransferTimeoutMs);
        for (const auto& [name, value] : headers)
            request.setRawHeader(name, value);
        if (!body.isEmpty() && !headers.contains("Content-Type"))
            request.setHeader(QNetworkRequest::ContentTypeHeader,
                              QStringLiteral("application/xml; charset=utf-8"));
        QNetworkReply* reply = m_network.sendCustomRequest(request, method, body);
        Refusal refusal;
        QObject::connect(
            reply, &QNetworkReply::sslErrors, reply, [&](const QList<QSslError>& errors) {
                const QSslCertificate peer = reply->sslConfiguration().peerCertificate();
                if (!m_trust.sha256.isEmpty() && fingerprint(peer) == m_trust.sha256)
                    return reply->ignoreSslErrors(errors);
                refusal.certificate = peer;
                for (const QSslError& error : errors)
                    refusal.errors << error.error();
            });
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);

        DavReply result;
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.body = reply->readAll();
        result.etag = QString::fromUtf8(reply->rawHeader("ETag"));
        const QUrl location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        if (result.status == 0) {
            result.problem =
                refusal.errors.isEmpty() ? problemOfNetwork(reply->error()) : DavProblem::Tls;
            result.detail = reply->errorString();
            if (result.problem == DavProblem::Tls)
                m_refusal = refusal;
        } else {
            result.problem = problemOfStatus(result.status);
            result.detail = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        }
        reply->deleteLater();
        const bool redirected = result.status >= 300 && result.status < 400 && location.isValid();
        if (!redirected || hop >= kMaxRedirects)
            return result;
        target = target.resolved(location);
    }
}

DavReply CardDavClient::propfind(const QUrl& url, int depth, const QByteArray& body)
{
    return send("PROPFIND", url, body, {{"Depth", QByteArray::number(depth)}});
}

CardDavClient::Discovery CardDavClient::discover(const QUrl& url)
{
    Discovery found;
    auto fail = [&found](const DavReply& reply, DavProblem fallback) {
        found.problem = reply.ok() || reply.problem == DavProblem::NotFound ||
                                reply.problem == DavProblem::Server
                            ? fallback
                            : reply.problem;
        found.detail = reply.detail;
        return found;
    };

    DavReply reply = propfind(url, 0, kPropDiscovery);
    DavMultistatus status = DavMultistatusReader::read(reply.body);
    const DavResponse* own = reply.ok() && status.valid && !status.responses.empty()
                                 ? &status.responses.front()
                                 : nullptr;
    if (own && isAddressBook(*own)) {
        found.addressBook = url;
        return found;
    }
    if (reply.problem == DavProblem::NoNetwork || reply.problem == DavProblem::Tls ||
        reply.problem == DavProblem::WrongPassword || reply.problem == DavProblem::PlainHttp)
        return fail(reply, reply.problem);

    // A principal names its address-book home; the server's address, or a
    // folder above the user's principal, leads to the principal.
    QString home = own ? own->addressbookHome : QString();
    if (home.isEmpty()) {
        QString principal = own ? own->principal : QString();
        const QString path = withSlash(pathOf(url));
        const bool above = !principal.isEmpty() &&
                           withSlash(pathOf(url.resolved(QUrl(principal)))).startsWith(path);
        if (!above && path != u"/") {
            found.problem = DavProblem::NotAddressBook;
            found.detail = url.toString(QUrl::RemoveUserInfo);
            return found;
        }
        if (principal.isEmpty()) {
            reply = propfind(url.resolved(QUrl(QStringLiteral("/.well-known/carddav"))), 0,
                             kPropDiscovery);
            status = DavMultistatusReader::read(reply.body);
            if (!reply.ok() || !status.valid || status.responses.empty() ||
                status.responses.front().principal.isEmpty())
                return fail(reply, DavProblem::NotCardDav);
            principal = status.responses.front().principal;
        }
        reply = propfind(url.resolved(QUrl(principal)), 0, kPropDiscovery);
        status = DavMultistatusReader::read(reply.body);
        if (!reply.ok() || !status.valid || status.responses.empty() ||
            status.responses.front().addressbookHome.isEmpty())
            return fail(reply, DavProblem::NotCardDav);
        home = status.responses.front().addressbookHome;
    }

    reply = propfind(url.resolved(QUrl(home)), 1, kPropDiscovery);
    status = DavMultistatusReader::read(reply.body);
    for (const DavResponse& response : status.responses) {
        if (reply.ok() && isAddressBook(response))
            found.books.push_back({url.resolved(QUrl(response.href)), response.displayName});
    }
    if (found.books.empty())
        return fail(reply, DavProblem::NotCardDav);
    if (found.books.size() > 1) {
        std::sort(found.books.begin(), found.books.end(),
                  [](const AddressBook& a, const AddressBook& b) {
                      return a.url.toString() < b.url.toString();
                  });
        found.problem = DavProblem::SeveralBooks;
        found.detail = url.toString(QUrl::RemoveUserInfo);
        return found;
    }
    found.addressBook = found.books.front().url;
    return found;
}

DavListing CardDavClient::list(const QUrl& book, const QString& syncToken)
{
    if (!m_syncCollection)
        return listByEtags(book);
    const DavReply reply = send("REPORT", book, syncCollectionBody(syncToken), {{"Depth", "0"}});
    const DavMultistatus status = DavMultistatusReader::read(reply.body);
    // A token the server no longer knows (403, 409) or no such report (400,
    // 405, 501): the ETags say the same at the cost of a full listing.
    if (!reply.ok() || !status.valid) {
        if (reply.problem == DavProblem::NoNetwork || reply.problem == DavProblem::Tls ||
            reply.problem == DavProblem::WrongPassword || reply.problem == DavProblem::PlainHttp)
            return {reply.problem, reply.detail};
        return listByEtags(book);
    }
    DavListing listing;
    listing.full = syncToken.isEmpty();
    listing.syncToken = status.syncToken;
    const QString bookPath = pathOf(book);
    for (const DavResponse& response : status.responses) {
        if (response.href == bookPath || response.href.endsWith(QLatin1Char('/')))
            continue;
        if (response.status == 404)
            listing.removed.push_back(response.href);
        else
            listing.etags[response.href] = response.etag;
    }
    return listing;
}

DavListing CardDavClient::listByEtags(const QUrl& book)
{
    const DavReply reply = propfind(book, 1, kPropEtag);
    const DavMultistatus status = DavMultistatusReader::read(reply.body);
    if (!reply.ok())
        return {reply.problem == DavProblem::NotFound ? DavProblem::NotCardDav : reply.problem,
                reply.detail};
    if (!status.valid)
        return {DavProblem::NotCardDav, reply.detail};
    DavListing listing;
    for (const DavResponse& response : status.responses) {
        if (response.resourceTypes.contains(QStringLiteral("collection")) ||
            response.href.endsWith(QLatin1Char('/')))
            continue;
        listing.etags[response.href] = response.etag;
    }
    return listing;
}

DavReply CardDavClient::get(const QUrl& card)
{
    return send("GET", card);
}

DavReply CardDavClient::put(const QUrl& card, const QByteArray& vcard, const QString& ifMatch)
{
    std::map<QByteArray, QByteArray> headers{{"Content-Type", "text/vcard; charset=utf-8"}};
    if (ifMatch.isEmpty())
        headers["If-None-Match"] = "*";
    else
        headers["If-Match"] = ifMatch.toUtf8();
    DavReply reply = send("PUT", card, vcard, headers);
    if (reply.ok() && reply.etag.isEmpty())
        reply.etag = etagOf(card);
    return reply;
}

DavReply CardDavClient::remove(const QUrl& card, const QString& ifMatch)
{
    return send("DELETE", card, {}, {{"If-Match", ifMatch.toUtf8()}});
}

QString CardDavClient::etagOf(const QUrl& card)
{
    const DavReply reply = propfind(card, 0, kPropEtag);
    const DavMultistatus status = DavMultistatusReader::read(reply.body);
    return reply.ok() && !status.responses.empty() ? status.responses.front().etag : QString();
}
