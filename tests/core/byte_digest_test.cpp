#include "core/byte_digest.h"
#include "unit_test.h"

// Lengths on both sides of the 8-byte words and the 32-byte stripes: every
// byte and the length itself must reach the digest.
TEST(ByteDigest, EveryByteAndTheLengthChangeTheDigestWhichNeverChangesItself)
{
    QSet<quint64> seen;
    for (const int length : {0, 1, 7, 8, 9, 31, 32, 33, 40, 63, 64, 65, 100}) {
        const QByteArray same(length, 'a');
        EXPECT_FALSE(seen.contains(ByteDigest::of(same))) << length;
        seen.insert(ByteDigest::of(same));
        for (int i = 0; i < length; ++i) {
            QByteArray changed = same;
            changed[i] = 'b';
            EXPECT_FALSE(seen.contains(ByteDigest::of(changed))) << length << " " << i;
            seen.insert(ByteDigest::of(changed));
        }
    }
    // Stored in the settings folder: a new release must read the old notes.
    EXPECT_EQ(ByteDigest::of("3\r\n\"A\",\"alpha\"\r\n\"B\",\"beta\"\r\n\"C\",\"\"\r\n"),
              15415680439167462902u);
}

// A book written a part at a time has the digest of its whole bytes, however
// the parts fall against the stripes.
TEST(ByteDigest, PartsGiveTheDigestOfTheirWhole)
{
    QByteArray bytes;
    for (int i = 0; i < 200; ++i)
        bytes += char(i * 7 + 3);
    for (const int part : {1, 5, 31, 32, 33, 64, 199}) {
        ByteDigest::Running digest;
        for (qsizetype at = 0; at < bytes.size(); at += part)
            digest.add(
                QByteArrayView(bytes).sliced(at, std::min<qsizetype>(part, bytes.size() - at)));
        EXPECT_EQ(digest.value(), ByteDigest::of(bytes)) << part;
    }
}
