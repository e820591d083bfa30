#include "crypto/obscured_password.h"

#include "core/code_page.h"

std::optional<QString> ObscuredPassword::obscure(const QString& plain)
{
    const std::optional<QString> mixed = xorString(plain, Key.toString());
    if (!mixed)
        return std::nullopt;
    return strToHex(*mixed);
}

std::optional<QString> ObscuredPassword::reveal(const QString& stored)
{
    // Only pairs of upper-case hex digits were ever stored. Anything else is
    // damaged: hexToStr would skip a lone last digit unseen, turning "A" into
    // no password at all and a password with a digit lost into a wrong one.
    if (stored.size() % 2 != 0)
        return std::nullopt;
    for (QChar ch : stored) {
        if (!hexToInt(ch))
            return std::nullopt;
    }
    const std::optional<QString> mixed = hexToStr(stored);
    if (!mixed)
        return std::nullopt;
    return xorString(*mixed, Key.toString());
}

std::optional<QString> ObscuredPassword::xorString(const QString& text, const QString& key)
{
    if (key.isEmpty())
        return text.isEmpty() ? std::optional<QString>(QString()) : std::nullopt;
    QString result;
    result.reserve(text.size());
    qsizetype keyPos = 0;
    for (QChar ch : text) {
        const int code = CodePage::encodeChar(ch);
        const int keyCode = CodePage::encodeChar(key.at(keyPos));
        if (code < 0 || keyCode < 0)
            return std::nullopt;
        result.append(CodePage::decodeByte(static_cast<unsigned char>(code ^ keyCode)));
        if (++keyPos == key.size())
            keyPos = 0;
    }
    return result;
}

std::optional<QString> ObscuredPassword::strToHex(const QString& text)
{
    QString result;
    result.reserve(text.size() * 2);
    for (QChar ch : text) {
        const int code = CodePage::encodeChar(ch);
        if (code < 0)
            return std::nullopt;
        result.append(*intToHex(static_cast<qint16>(code / 16)));
        result.append(*intToHex(static_cast<qint16>(code % 16)));
    }
    return result;
}

std::optional<QString> ObscuredPassword::hexToStr(const QString& hex)
{
    const qsizetype pairs = hex.size() / 2;
    QString result;
    result.reserve(pairs);
    for (qsizetype i = 0; i < pairs; ++i) {
        const std::optional<qint16> high = hexToInt(hex.at(2 * i));
        const std::optional<qint16> low = hexToInt(hex.at(2 * i + 1));
        if (!high || !low)
            return std::nullopt;
        result.append(CodePage::decodeByte(static_cast<unsigned char>(*high * 16 + *low)));
    }
    return result;
}

std::optional<QChar> ObscuredPassword::intToHex(qint16 value)
{
    if (value >= 0 && value <= 9)
        return QChar(u'0' + value);
    if (value >= 10 && value <= 15)
        return QChar(u'A' + value - 10);
    return std::nullopt;
}

std::optional<qint16> ObscuredPassword::hexToInt(QChar digit)
{
    const char16_t c = digit.unicode();
    if (c >= u'0' && c <= u'9')
        return static_cast<qint16>(c - u'0');
    if (c >= u'A' && c <= u'F')
        return static_cast<qint16>(c - u'A' + 10);
    return std::nullopt;
}
