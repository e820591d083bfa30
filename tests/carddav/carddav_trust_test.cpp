// Whom the password is sent to: HTTPS with the certificates the user trusts,
// plain HTTP to this machine or where allowed, and never across a redirect
// to another host.

#include "carddav/carddav_client.h"
#include "document/data_file.h"
#include "radicale_server.h"

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {

QByteArray fingerprintOf(const QString& pem)
{
    return CardDavClient::fingerprint(QSslCertificate::fromPath(pem).value(0));
}

TEST(CardDavTrust, ARefusedCertificateSaysWhyAndOnlyTheTrustedOnePasses)
{
    if (!RadicaleServer::installed())
        GTEST_SKIP() << "radicale is not installed; CardDAV tests need it (scripts/setup.sh)";
    RadicaleServer right(QStringLiteral("IP:127.0.0.1"));
    RadicaleServer wrongName(QStringLiteral("DNS:dav.example.org"));
    ASSERT_TRUE(right.start() && wrongName.start());
    const QString cert = right.folder() + "/cert.pem";
    using E = QSslError::SslError;
    const struct
    {
        RadicaleServer& server;
        CardDavClient::Trust trust;
        DavProblem problem;
        QList<E> why;
    } cases[] = {
        {right, {}, DavProblem::Tls, {E::SelfSignedCertificate}},
        {right, {false, fingerprintOf(cert)}, DavProblem::None, {}},
        {right,
         {false, fingerprintOf(wrongName.folder() + "/cert.pem")},
         DavProblem::Tls,
         {E::SelfSignedCertificate}},
        {right, {false, {}, QSslCertificate::fromPath(cert)}, DavProblem::None, {}},
        {wrongName,
         {false, {}, QSslCertificate::fromPath(wrongName.folder() + "/cert.pem")},
         DavProblem::Tls,
         {E::HostNameMismatch}},
    };
    for (const auto& c : cases) {
        CardDavClient client(RadicaleServer::User, RadicaleServer::Password);
        client.setTrust(c.trust);
        const DavReply reply =
            client.send("PROPFIND", QUrl(c.server.root() + "anna/"), {}, {{"Depth", "0"}});
        EXPECT_EQ(std::pair(reply.problem, client.refusal().errors), std::pair(c.problem, c.why))
            << reply.detail.toStdString();
    }
}

// The command line: SSL_CERT_FILE and --ca-file trust an authority, and a
// refusal names its reason; plain HTTP to another machine needs --allow-http.
TEST(CardDavTrust, CommandLineTrustsWhatItIsToldAndNoMore)
{
    if (!RadicaleServer::installed())
        GTEST_SKIP() << "radicale is not installed; CardDAV tests need it (scripts/setup.sh)";
    RadicaleServer server(QStringLiteral("IP:127.0.0.1"));
    ASSERT_TRUE(server.start());
    const QString dir = server.folder();
    const PageRecord page{QStringLiteral("АБ"), QStringLiteral("Анна\t1"), PageRecord::AddressPage};
    ASSERT_TRUE(writeAll(dir + "/book.vlk", DataFile::serialize(std::span(&page, 1))));
    ASSERT_TRUE(writeAll(dir + "/password", "secret\n"));
    const QString https = server.root();
    CardDavClient maker(RadicaleServer::User, RadicaleServer::Password);
    maker.setTrust({false, {}, QSslCertificate::fromPath(dir + "/cert.pem")});
    maker.send("PROPFIND", QUrl(https + "anna/"), {}, {{"Depth", "0"}});
    ASSERT_TRUE(maker
                    .send("MKCOL", QUrl(server.book()),
                          "<mkcol xmlns='DAV:' xmlns:c='urn:ietf:params:xml:ns:carddav'><set>"
                          "<prop><resourcetype><collection/><c:addressbook/></resourcetype>"
                          "</prop></set></mkcol>")
                    .ok());
    const struct
    {
        QString url;
        const char* option;
        const char* certFile;
        int status;
        QByteArray said;
    } runs[] = {
        {https, "", "", 1, "certificate was refused: it is self-signed"},
        {https, "--ca-file", "", 0, ""},
        {https, "", "cert.pem", 0, ""},
        {"http://dav.example.invalid/", "", "", 1, "use https:// or --allow-http"},
        {"http://dav.example.invalid/", "--allow-http", "", 1, "cannot be reached"},
    };
    for (const auto& run : runs) {
        QProcess cli;
        QStringList arguments{
            "sync",     dir + "/book.vlk",    "--url",           run.url,
            "--user",   RadicaleServer::User, "--password-file", dir + "/password",
            "--dry-run"};
        if (QByteArray(run.option) == "--ca-file")
            arguments << run.option << dir + "/cert.pem";
        else if (*run.option)
            arguments << run.option;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (*run.certFile)
            environment.insert("SSL_CERT_FILE", dir + "/" + run.certFile);
        cli.setProcessEnvironment(environment);
        cli.start(VELKARO_CLI, arguments);
        ASSERT_TRUE(cli.waitForFinished());
        const QByteArray err = cli.readAllStandardError();
        EXPECT_EQ(std::pair(cli.exitCode(), err.contains(run.said)), std::pair(run.status, true))
            << run.url.toStdString() << run.option << err.toStdString();
    }
}

// A server that sends every request for 127.0.0.1 to "localhost" and asks
// there for a password, noting whether one came.
TEST(CardDavTrust, ARedirectToAnotherHostNeverCarriesThePassword)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::Any));
    bool passwordSeen = false;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, [&, socket] {
            const QByteArray request = socket->readAll();
            passwordSeen = passwordSeen || request.contains("Authorization:");
            socket->write(request.contains("Host: 127.0.0.1")
                              ? "HTTP/1.1 301 Moved\r\nLocation: http://localhost:" +
                                    QByteArray::number(server.serverPort()) +
                                    "/anna/\r\nContent-Length: 0\r\n\r\n"
                              : "HTTP/1.1 401 No\r\nWWW-Authenticate: Basic realm=\"dav\"\r\n"
                                "Content-Length: 0\r\n\r\n");
        });
    });
    CardDavClient client(RadicaleServer::User, RadicaleServer::Password);
    const DavReply reply = client.send(
        "PROPFIND", QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort())));
    EXPECT_EQ(std::pair(reply.problem, passwordSeen), std::pair(DavProblem::WrongPassword, false));
}

} // namespace
