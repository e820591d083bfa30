#include "core/code_page.h"
#include "unit_test.h"

#include <QStringDecoder>

// 0x98, which ICU leaves undefined, stands for U+0098.
TEST(CodePage, EveryByteDecodesLikeIcuAndSurvivesARoundTrip)
{
    QStringDecoder icu("windows-1251");
    ASSERT_TRUE(icu.isValid());
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        all.append(byte);
        const QString theirs =
            b == 0x98 ? QString(QChar(0x98)) : icu.decode(QByteArrayView(&byte, 1));
        EXPECT_EQ(CodePage::decode(QByteArrayView(&byte, 1)), theirs) << "byte " << b;
    }
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
