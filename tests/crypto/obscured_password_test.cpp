#include "core/code_page.h"
#include "crypto/obscured_password.h"
#include "unit_test.h"

TEST(Encryption, StoredFormMatchesWhatExistingSettingsHoldAndRefusesWhatItCannotHold)
{
    for (const DataCase& c : readCases("crypto/stored_passwords.cases"))
        EXPECT_EQ(
            std::pair(ObscuredPassword::obscure(c.text(0)), ObscuredPassword::reveal(c.text(1))),
            std::pair(std::optional(c.text(1)), std::optional(c.text(0))))
            << c.name;
    // A trailing odd digit is ignored.
    EXPECT_EQ(ObscuredPassword::hexToStr(u"6162F"_qs), u"ab"_qs);
    EXPECT_EQ(ObscuredPassword::hexToStr(u"7"_qs), QString());
    // Every code comes back.
    QString all;
    for (int b = 0; b < 256; ++b)
        all.append(CodePage::decodeByte(static_cast<unsigned char>(b)));
    EXPECT_EQ(ObscuredPassword::reveal(ObscuredPassword::obscure(all).value()), all);
    // Characters without a code and damaged stored text are refused.
    EXPECT_FALSE(ObscuredPassword::obscure(u"пароль✓"_qs));
    for (const QString& stored : {u"3g"_qs, u"30 "_qs, u"be"_qs, u"A"_qs, u"30A"_qs})
        EXPECT_FALSE(ObscuredPassword::reveal(stored)) << stored.toStdString();
    EXPECT_FALSE(ObscuredPassword::hexToStr(u"6a"_qs));
    EXPECT_FALSE(ObscuredPassword::hexToInt(QChar(0xFF10))); // full-width zero
    EXPECT_FALSE(ObscuredPassword::intToHex(16));
}
