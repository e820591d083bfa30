#include "richtext/rtf_code_pages.h"

#include "core/code_page.h"

#include <QStringDecoder>

namespace {

struct CharsetCodePage
{
    int charset;
    int codePage;
};

constexpr CharsetCodePage kCharsets[] = {
    {0, 1252},   {2, 1252},   {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},
    {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257},
    {204, 1251}, {222, 874},  {238, 1250}, {254, 437},  {255, 850},
};

QByteArray decoderName(int codePage)
{
    switch (codePage) {
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1361:
        return "johab";
    case 10000:
        return "macintosh";
    case 437:
    case 850:
    case 866:
        return "IBM" + QByteArray::number(codePage);
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

} // namespace

int RtfCodePages::fromCharset(int charset, int ansiCodePage)
{
    for (const CharsetCodePage& entry : kCharsets) {
        if (entry.charset == charset)
            return entry.codePage;
    }
    return ansiCodePage;
}

bool RtfCodePages::isDoubleByte(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 1361;
}

bool RtfCodePages::isLeadByte(int codePage, unsigned char byte)
{
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 1361:
        return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xF9);
    default:
        return byte >= 0x81 && byte <= 0xFE;
    }
}

const RtfCodePages::Table& RtfCodePages::table(int codePage)
{
    auto it = m_tables.find(codePage);
    if (it == m_tables.end())
        it = m_tables.insert(codePage, std::make_shared<Table>(buildTable(codePage)));
    return **it;
}

// Bytes that cannot be document text (NUL, CR, LF) map to 0 and are dropped.
RtfCodePages::Table RtfCodePages::buildTable(int codePage)
{
    Table table{};
    for (int b = 0; b < 0x80; ++b)
        table[b] = static_cast<char16_t>(b);
    if (codePage == 1251) {
        for (int b = 0x80; b < 0x100; ++b)
            table[b] = CodePage::decodeByte(static_cast<unsigned char>(b)).unicode();
    } else {
        QStringDecoder decoder(decoderName(codePage).constData());
        for (int b = 0x80; b < 0x100; ++b) {
            const char byte = static_cast<char>(b);
            const QString decoded =
                decoder.isValid() ? decoder.decode(QByteArrayView(&byte, 1)) : QString();
            table[b] = decoded.size() == 1 ? decoded[0].unicode() : static_cast<char16_t>(b);
            decoder.resetState();
        }
    }
    table[0] = table['\r'] = table['\n'] = 0;
    return table;
}

QString RtfCodePages::decodeDoubleByte(int codePage, QByteArrayView bytes)
{
    QStringDecoder decoder(decoderName(codePage).constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}
