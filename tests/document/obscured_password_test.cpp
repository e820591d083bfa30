#include "core/code_page.h"
#include "document/obscured_password.h"

#include <gtest/gtest.h>

TEST(ObscuredPassword, StoredFormMatchesWhatExistingSettingsHold)
{
    // Each Windows-1251 code XORed with the key, as two upper-case hex digits;
    // the key starts again at the twelfth character.
    const struct
    {
        QString plain;
        QString stored;
    } cases[] = {
        {u"a"_qs, u"30"_qs}, // 0x61 ^ 'Q'
        {u"п"_qs, u"BE"_qs}, // 0xEF ^ 'Q'
        {u"Quintavelle"_qs, QString(22, u'0')},
        {QString(12, u'a'), u"3014080F150017040D0D0430"_qs},
        {QString(), QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ObscuredPassword::obscure(c.plain), c.stored) << c.plain.toStdString();
        EXPECT_EQ(ObscuredPassword::reveal(c.stored), c.plain) << c.plain.toStdString();
    }
    // A trailing odd digit is ignored.
    EXPECT_EQ(ObscuredPassword::HexToStr(u"6162F"_qs), u"ab"_qs);
    EXPECT_EQ(ObscuredPassword::HexToStr(u"7"_qs), QString());
    // Every code comes back.
    QString all;
    for (int b = 0; b < 256; ++b)
        all.append(CodePage::decodeByte(static_cast<unsigned char>(b)));
    EXPECT_EQ(ObscuredPassword::reveal(ObscuredPassword::obscure(all).value()), all);
}

TEST(ObscuredPassword, RefusesCharactersWithoutCodeAndDamagedStoredText)
{
    EXPECT_FALSE(ObscuredPassword::obscure(u"пароль✓"_qs));
    for (const QString& stored : {u"3g"_qs, u"30 "_qs, u"be"_qs, u"A"_qs, u"30A"_qs})
        EXPECT_FALSE(ObscuredPassword::reveal(stored)) << stored.toStdString();
    EXPECT_FALSE(ObscuredPassword::HexToStr(u"6a"_qs));
    EXPECT_FALSE(ObscuredPassword::HexToInt(QChar(0xFF10))); // full-width zero
    EXPECT_FALSE(ObscuredPassword::IntToHex(16));
}
