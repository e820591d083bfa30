#pragma once

#include "test_files.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>

// A Radicale server of its own for a test: 127.0.0.1 on a free port, its
// storage in a temporary folder, one user "anna" with the password "secret".
// Given a subject alternative name ("IP:127.0.0.1"), it speaks HTTPS with a
// self-signed certificate for that name, made by the openssl command in
// "cert.pem" of its folder. Stopped with the object.
class RadicaleServer
{
public:
    static constexpr const char* User = "anna";
    static constexpr const char* Password = "secret";

    static bool installed() { return !QStandardPaths::findExecutable("radicale").isEmpty(); }

    explicit RadicaleServer(const QString& certificateName = {}) : m_tls(!certificateName.isEmpty())
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        m_port = probe.serverPort();
        probe.close();
        const QString folder = m_dir.path();
        QString tls;
        if (m_tls) {
            QProcess::execute(QStringLiteral("openssl"),
                              {"req", "-x509", "-newkey", "ec", "-pkeyopt",
                               "ec_paramgen_curve:prime256v1", "-nodes", "-days", "2", "-subj",
                               "/CN=Radicale", "-addext", "subjectAltName=" + certificateName,
                               "-keyout", folder + "/key.pem", "-out", folder + "/cert.pem"});
            tls = QStringLiteral("ssl = True\ncertificate = %1/cert.pem\nkey = %1/key.pem\n")
                      .arg(folder);
        }
        writeAll(folder + "/users", QByteArray(User) + ':' + Password + '\n');
        writeAll(folder + "/config",
                 QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n%3"
                                "[auth]\ntype = htpasswd\nhtpasswd_filename = %2/users\n"
                                "htpasswd_encryption = plain\ndelay = 0\n"
                                "[storage]\nfilesystem_folder = %2/storage\n"
                                "[rights]\ntype = owner_only\n[web]\ntype = none\n"
                                "[logging]\nlevel = info\n")
                     .arg(QString::number(m_port), folder, tls)
                     .toUtf8());
    }
    ~RadicaleServer() { stop(); }

    // True once the server listens.
    bool start()
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral("radicale"),
                        {QStringLiteral("--config"), m_dir.path() + "/config"});
        QByteArray log;
        while (m_process.waitForReadyRead(10000)) {
            log += m_process.readAll();
            if (log.contains("Listening"))
                return true;
        }
        return false;
    }
    void stop()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    QString root() const
    {
        return QStringLiteral("%1://127.0.0.1:%2/").arg(m_tls ? "https" : "http").arg(m_port);
    }
    QString book() const { return root() + User + "/book/"; }
    QString folder() const { return m_dir.path(); }

private:
    bool m_tls = false;
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
