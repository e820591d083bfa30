#include "core/code_page.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

TEST(CodePage, EveryByteDecodesLikeIcuWhereIcuDefinesIt)
{
    QStringDecoder icu("windows-1251");
    ASSERT_TRUE(icu.isValid());
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const QString ours = CodePage::decode(QByteArrayView(&byte, 1));
        ASSERT_EQ(ours.size(), 1) << b;
        if (b == 0x98) {
            EXPECT_EQ(ours.at(0).unicode(), 0x98);
            continue;
        }
        const QString theirs = icu.decode(QByteArrayView(&byte, 1));
        EXPECT_EQ(ours, theirs) << "byte " << b;
    }
}

TEST(CodePage, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const CodePage::Encoded back = CodePage::encode(CodePage::decode(all));
    EXPECT_TRUE(back.ok());
    EXPECT_EQ(back.bytes, all);
}

TEST(CodePage, EncodeReportsCharactersWithoutACodeOnce)
{
    const CodePage::Encoded e = CodePage::encode(QStringLiteral("Ёж € 日本日 ü"));
    EXPECT_FALSE(e.ok());
    EXPECT_EQ(e.unmappable, QStringLiteral("日本ü"));
    EXPECT_EQ(e.bytes, QByteArray("\xA8\xE6 \x88 ??? ?"));
    EXPECT_FALSE(CodePage::canEncode(QStringLiteral("日")));
    EXPECT_TRUE(CodePage::canEncode(QStringLiteral("Адресная книга №5")));
}
