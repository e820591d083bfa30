#include "core/code_page.h"
#include "unit_test.h"

#include <QStringDecoder>

// 0x98, which ICU leaves undefined, stands for U+0098. Qt on Windows has no
// ICU: there the bytes are compared with the system's own decoding only by
// the round trip.
TEST(CodePage, EveryByteDecodesLikeIcuAndSurvivesARoundTripAndOthersAreReportedOnce)
{
    QStringDecoder icu("windows-1251");
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        all.append(byte);
        if (!icu.isValid())
            continue;
        const QString theirs =
            b == 0x98 ? QString(QChar(0x98)) : icu.decode(QByteArrayView(&byte, 1));
        EXPECT_EQ(CodePage::decode(QByteArrayView(&byte, 1)), theirs) << "byte " << b;
    }
    const CodePage::Encoded back = CodePage::encode(CodePage::decode(all));
    EXPECT_TRUE(back.ok() && back.bytes == all);
    // Encoding reports each character without a code once.
    const CodePage::Encoded e = CodePage::encode(QStringLiteral("Ёж € 日本日 ü"));
    EXPECT_EQ(std::tuple(e.ok(), e.unmappable, e.bytes),
              std::tuple(false, u"日本ü"_qs, QByteArray("\xA8\xE6 \x88 ??? ?")));
    EXPECT_FALSE(CodePage::canEncode(QStringLiteral("日")));
    EXPECT_TRUE(CodePage::canEncode(QStringLiteral("Адресная книга №5")));
}
