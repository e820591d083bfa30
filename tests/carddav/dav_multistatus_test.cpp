#include "carddav/dav_multistatus.h"

#include <gtest/gtest.h>

namespace {

// As sabre/dav (Nextcloud, Baïkal) answers: prefixed names, percent-encoded
// paths, a property it lacks in a propstat of its own with 404, and a card
// removed since the token as a response with a 404 status.
TEST(DavMultistatus, ReadsWhatServersWrite)
{
    const QByteArray xml =
        "<?xml version=\"1.0\"?>\n<d:multistatus xmlns:d=\"DAV:\" xmlns:card="
        "\"urn:ietf:params:xml:ns:carddav\"><d:response><d:href>/dav/anna/My%20Book/</d:href>"
        "<d:propstat><d:prop><d:resourcetype><d:collection/><card:addressbook/></d:resourcetype>"
        "<d:current-user-principal><d:href>/dav/principals/anna/</d:href>"
        "</d:current-user-principal></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat>"
        "<d:propstat><d:prop><d:getetag/></d:prop><d:status>HTTP/1.1 404 Not Found</d:status>"
        "</d:propstat></d:response><d:response><d:href>/dav/anna/My%20Book/a.vcf</d:href>"
        "<d:propstat><d:prop><d:getetag>&quot;e1&quot;</d:getetag></d:prop>"
        "<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response><d:response>"
        "<d:href>/dav/anna/My%20Book/gone.vcf</d:href><d:status>HTTP/1.1 404 Not Found"
        "</d:status></d:response><d:sync-token>http://sabre.io/ns/sync/7</d:sync-token>"
        "</d:multistatus>";
    const DavMultistatus read = DavMultistatusReader::read(xml);
    ASSERT_TRUE(read.valid);
    EXPECT_EQ(read.syncToken, "http://sabre.io/ns/sync/7");
    ASSERT_EQ(read.responses.size(), 3u);
    const DavResponse& book = read.responses[0];
    EXPECT_EQ(book.href, "/dav/anna/My Book/");
    EXPECT_EQ(book.resourceTypes, QStringList({"collection", "addressbook"}));
    EXPECT_EQ(book.principal, "/dav/principals/anna/");
    EXPECT_EQ(book.etag, "");
    EXPECT_EQ(read.responses[1].etag, "\"e1\"");
    EXPECT_EQ(read.responses[1].status, 200);
    EXPECT_EQ(read.responses[2].status, 404);

    for (const char* notMultistatus : {"", "<html><body>It works</body></html>",
                                       "<d:multistatus xmlns:d=\"DAV:\"><d:response>"}) {
        EXPECT_FALSE(DavMultistatusReader::read(notMultistatus).valid) << notMultistatus;
    }
}

} // namespace
