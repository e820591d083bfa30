#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <vector>

// One <response> of a WebDAV multistatus (RFC 4918), with the properties a
// CardDAV client asks for. Hrefs are as the server wrote them, percent
// escapes decoded.
struct DavResponse
{
    QString href;
    int status = 0; // of the response, or of its first propstat with a 2xx status
    QString etag;
    QStringList resourceTypes; // local names: "collection", "addressbook"
    QString principal;         // current-user-principal
    QString addressbookHome;   // addressbook-home-set
    QString displayName;
};

struct DavMultistatus
{
    std::vector<DavResponse> responses;
    QString syncToken;
    bool valid = false; // a multistatus document at all
};

class DavMultistatusReader
{
public:
    static DavMultistatus read(QByteArrayView xml);
};
