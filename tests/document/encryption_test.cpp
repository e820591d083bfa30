#include "core/code_page.h"
#include "document/encryption.h"

#include <gtest/gtest.h>

namespace {

QString cyr(const char16_t* text)
{
    return QString::fromUtf16(text);
}

} // namespace

TEST(EncryptionStoredForm, MatchesTheFormExistingSettingsHold)
{
    // 'a' (0x61) ^ 'Q' (0x51) = 0x30; 'п' is 0xEF in Windows-1251, ^ 'Q' = 0xBE.
    EXPECT_EQ(Encryption::Encrypt(QStringLiteral("a")), QStringLiteral("30"));
    EXPECT_EQ(Encryption::Encrypt(cyr(u"п")), QStringLiteral("BE"));
    EXPECT_EQ(Encryption::Encrypt(QStringLiteral("Quintavelle")), QString(22, u'0'));
    EXPECT_EQ(Encryption::StrToHex(QStringLiteral("abc")), QStringLiteral("616263"));
}

TEST(EncryptionStoredForm, KeyRestartsAtTheTwelfthCharacter)
{
    const std::optional<QString> stored = Encryption::Encrypt(QString(12, u'a'));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->left(2), QStringLiteral("30"));
    EXPECT_EQ(stored->right(2), QStringLiteral("30"));
    EXPECT_EQ(Encryption::Decrypt(*stored), QString(12, u'a'));
}

TEST(EncryptionStoredForm, HoldsTwoUpperCaseDigitsPerCharacter)
{
    const QString password = cyr(u"Пароль 2024 Ёжик!") + QChar(0x98);
    const std::optional<QString> stored = Encryption::Encrypt(password);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), 2 * password.size());
    for (QChar ch : *stored)
        EXPECT_TRUE((ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'F')) << int(ch.unicode());
}

TEST(EncryptionRoundTrip, CyrillicAndAsciiPasswordsComeBack)
{
    for (const QString& password :
         {cyr(u"пароль"), cyr(u"ЁЛКИ-палки ё"), QStringLiteral("  spaces kept  "),
          QStringLiteral("QQQQ"), cyr(u"№€‰«»")}) {
        const std::optional<QString> stored = Encryption::Encrypt(password);
        ASSERT_TRUE(stored) << password.toStdString();
        EXPECT_EQ(Encryption::Decrypt(*stored), password);
    }
}

TEST(EncryptionRoundTrip, EmptyPasswordIsStoredEmpty)
{
    EXPECT_EQ(Encryption::Encrypt(QString()), QString());
    EXPECT_EQ(Encryption::Decrypt(QString()), QString());
}

TEST(EncryptionRefuses, PasswordCharacterWithoutCode)
{
    EXPECT_FALSE(Encryption::Encrypt(cyr(u"пароль✓")));
    EXPECT_FALSE(Encryption::Encrypt(QStringLiteral("日本")));
}

TEST(EncryptionRefuses, DamagedStoredText)
{
    EXPECT_FALSE(Encryption::Decrypt(QStringLiteral("3g")));
    EXPECT_FALSE(Encryption::Decrypt(QStringLiteral("30 ")));
    EXPECT_FALSE(Encryption::Decrypt(QStringLiteral("be")));
    EXPECT_FALSE(Encryption::HexToStr(QStringLiteral("6a")));
    EXPECT_FALSE(Encryption::HexToInt(QChar(0xFF10))); // full-width zero
    EXPECT_FALSE(Encryption::IntToHex(16));
}

TEST(EncryptionHex, OddLengthIgnoresTheLastDigit)
{
    EXPECT_EQ(Encryption::HexToStr(QStringLiteral("6162F")), QStringLiteral("ab"));
    EXPECT_EQ(Encryption::HexToStr(QStringLiteral("7")), QString());
    EXPECT_EQ(Encryption::Decrypt(QStringLiteral("30A")), QStringLiteral("a"));
}

TEST(EncryptionXor, IsItsOwnInverseOverEveryCode)
{
    QString all;
    for (int b = 0; b < 256; ++b)
        all.append(CodePage::decodeByte(static_cast<unsigned char>(b)));
    const std::optional<QString> once = Encryption::XorString(all, Encryption::Key.toString());
    ASSERT_TRUE(once);
    EXPECT_EQ(once->size(), all.size());
    EXPECT_EQ(Encryption::XorString(*once, Encryption::Key.toString()), all);
    EXPECT_EQ(Encryption::Decrypt(*Encryption::Encrypt(all)), all);
}
