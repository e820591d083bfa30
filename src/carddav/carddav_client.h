#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QString>
#include <QUrl>
#include <map>
#include <vector>

// What went wrong talking to an address book server, in the terms the user
// can act on.
enum class DavProblem
{
    None,
    NoNetwork,      // no connection, the host unknown, the server gone or silent
    WrongPassword,  // 401 after the credentials were offered
    Tls,            // the certificate or the TLS handshake was refused
    PlainHttp,      // plain HTTP to another machine, which the account does not allow
    Conflict,       // 412: the card changed on the server since it was last seen
    NotCardDav,     // the address answers but is no CardDAV address book
    NotAddressBook, // the address is neither an address book nor a principal
    SeveralBooks,   // the principal has several address books: one must be chosen
    NotFound,       // 404
    Server,         // any other failure the server reports
};

struct DavReply
{
    DavProblem problem = DavProblem::None;
    int status = 0;
    QByteArray body = {};
    QString etag = {};
    QString detail = {}; // the server's or the network's own words

    bool ok() const { return problem == DavProblem::None; }
};

// The cards of an address book as a listing gives them: path -> ETag.
struct DavListing
{
    DavProblem problem = DavProblem::None;
    QString detail = {};
    bool full = true;                      // every card; otherwise changes since the token
    std::map<QString, QString> etags = {}; // cards present (changed, when not full)
    std::vector<QString> removed = {};     // paths gone since the token
    QString syncToken = {};                // empty when the server keeps none
};

// A CardDAV client (RFC 6352, 6578): each call waits for its answer in a
// local event loop, so a window stays painted while it waits. Credentials
// are offered when the server asks and only once per request, so a wrong
// password ends as WrongPassword rather than in a loop, and only to the
// scheme, host and port of the first request: a redirect to another host
// or from HTTPS to HTTP never gets them. Plain HTTP is refused unless it
// goes to this machine or the account allows it. Certificates are checked
// against the system's authorities, those SSL_CERT_FILE and SSL_CERT_DIR
// name and the account's own; a certificate the account trusts by its
// SHA-256 fingerprint is taken whatever else is wrong with it.
class CardDavClient
{
public:
    CardDavClient(QString user, QString password);

    struct Trust
    {
        bool plainHttp = false;                  // HTTP to another machine allowed
        QByteArray sha256 = {};                  // the fingerprint of a trusted certificate, hex
        QList<QSslCertificate> authorities = {}; // further certificate authorities
    };
    void setTrust(const Trust& trust);
    static bool isLoopback(const QUrl& url);
    // The SHA-256 fingerprint of a certificate, lower-case hex.
    static QByteArray fingerprint(const QSslCertificate& certificate);

    // The last certificate refused, and why.
    struct Refusal
    {
        QSslCertificate certificate;
        QList<QSslError::SslError> errors;
    };
    const Refusal& refusal() const { return m_refusal; }

    // The address book behind `url`: the URL itself when it is one, else the
    // address book of a principal's addressbook-home-set, the principal
    // being the URL itself, or the current user's where the URL is the
    // server's (its root, or a folder above the principal; the root's
    // ".well-known/carddav" where the root does not name one). Any other
    // address is NotAddressBook, naming it; a principal with several address
    // books gives SeveralBooks and lists them, for the user to choose.
    struct AddressBook
    {
        QUrl url;
        QString name; // the server's display name, if any
    };
    struct Discovery
    {
        DavProblem problem = DavProblem::None;
        QString detail;
        QUrl addressBook;
        std::vector<AddressBook> books = {};
    };
    Discovery discover(const QUrl& url);

    // Changes since `syncToken` through sync-collection; the whole listing by
    // ETags where the token is empty, refused or the server lacks the report.
    DavListing list(const QUrl& book, const QString& syncToken);

    DavReply get(const QUrl& card);
    // Creates with If-None-Match: * where `ifMatch` is empty, else replaces
    // only the version with that ETag.
    DavReply put(const QUrl& card, const QByteArray& vcard, const QString& ifMatch);
    DavReply remove(const QUrl& card, const QString& ifMatch);
    // The ETag of one card, for servers that send none with a PUT.
    QString etagOf(const QUrl& card);

    // Off: lists by ETags only, as with a server without sync-collection.
    void setSyncCollection(bool on) { m_syncCollection = on; }

    DavReply send(const QByteArray& method, const QUrl& url, const QByteArray& body = {},
                  const std::map<QByteArray, QByteArray>& headers = {});

private:
    DavReply propfind(const QUrl& url, int depth, const QByteArray& body);
    DavListing listByEtags(const QUrl& book);

    bool mayOfferCredentials(const QUrl& url) const;

    QNetworkAccessManager m_network;
    QString m_user;
    QString m_password;
    QUrl m_origin; // where the credentials go
    Trust m_trust;
    QSslConfiguration m_ssl;
    Refusal m_refusal;
    bool m_syncCollection = true;
};
