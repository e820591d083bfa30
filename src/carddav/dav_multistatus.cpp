#include "carddav/dav_multistatus.h"

#include <QUrl>
#include <QXmlStreamReader>

namespace {

const QString kDav = QStringLiteral("DAV:");

int statusOf(const QString& line)
{
    // "HTTP/1.1 404 Not Found"
    const QStringList parts = line.simplified().split(QLatin1Char(' '));
    return parts.size() >= 2 ? parts.at(1).toInt() : 0;
}

QString hrefText(const QString& raw)
{
    return QUrl::fromPercentEncoding(raw.trimmed().toUtf8());
}

// Reads the <href> children of the current element up to its end.
QString firstHrefIn(QXmlStreamReader& xml)
{
    QString href;
    const QString end = xml.name().toString();
    while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isStartElement() && xml.name() == u"href" && href.isEmpty())
            href = hrefText(xml.readElementText());
        else if (xml.isEndElement() && xml.name() == end)
            break;
    }
    return href;
}

class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : m_xml(bytes.toByteArray()) {}

    DavMultistatus read()
    {
        DavMultistatus result;
        if (!m_xml.readNextStartElement() || m_xml.name() != u"multistatus" ||
            m_xml.namespaceUri() != kDav)
            return result;
        readMultistatus(result);
        result.valid = !m_xml.hasError();
        return result;
    }

private:
    void readMultistatus(DavMultistatus& result)
    {
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"response")
                result.responses.push_back(readResponse());
            else if (m_xml.name() == u"sync-token")
                result.syncToken = m_xml.readElementText().trimmed();
            else
                m_xml.skipCurrentElement();
        }
    }

    DavResponse readResponse()
    {
        DavResponse response;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"href")
                response.href = hrefText(m_xml.readElementText());
            else if (m_xml.name() == u"status")
                response.status = statusOf(m_xml.readElementText());
            else if (m_xml.name() == u"propstat")
                readPropstat(response);
            else
                m_xml.skipCurrentElement();
        }
        return response;
    }

    void readPropstat(DavResponse& response)
    {
        DavResponse found;
        int status = 0;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"status")
                status = statusOf(m_xml.readElementText());
            else if (m_xml.name() == u"prop")
                readProp(found);
            else
                m_xml.skipCurrentElement();
        }
        if (status < 200 || status >= 300)
            return;
        if (response.status == 0)
            response.status = status;
        if (!found.etag.isEmpty())
            response.etag = found.etag;
        response.resourceTypes += found.resourceTypes;
        if (!found.principal.isEmpty())
            response.principal = found.principal;
        if (!found.addressbookHome.isEmpty())
            response.addressbookHome = found.addressbookHome;
        if (!found.displayName.isEmpty())
            response.displayName = found.displayName;
    }

    void readProp(DavResponse& found)
    {
        while (m_xml.readNextStartElement()) {
            const auto name = m_xml.name();
            if (name == u"getetag") {
                found.etag = m_xml.readElementText().trimmed();
            } else if (name == u"displayname") {
                found.displayName = m_xml.readElementText().trimmed();
            } else if (name == u"current-user-principal") {
                found.principal = firstHrefIn(m_xml);
            } else if (name == u"addressbook-home-set") {
                found.addressbookHome = firstHrefIn(m_xml);
            } else if (name == u"resourcetype") {
                while (m_xml.readNextStartElement()) {
                    found.resourceTypes << m_xml.name().toString();
                    m_xml.skipCurrentElement();
                }
            } else {
                m_xml.skipCurrentElement();
            }
        }
    }

    QXmlStreamReader m_xml;
};

} // namespace

DavMultistatus DavMultistatusReader::read(QByteArrayView xml)
{
    return Reader(xml).read();
}
