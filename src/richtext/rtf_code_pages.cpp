#include "richtext/rtf_code_pages.h"

#include "core/code_page.h"

#include <QStringDecoder>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

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

#ifndef Q_OS_WIN
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
#endif

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

bool RtfCodePages::isLeadByte(int codePage, unsigned char lead)
{
    switch (codePage) {
    case 932:
        return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    case 1361:
        return (lead >= 0x84 && lead <= 0xD3) || (lead >= 0xD8 && lead <= 0xF9);
    default:
        return lead >= 0x81 && lead <= 0xFE;
    }
}

const RtfCodePages::Table& RtfCodePages::table(int codePage)
{
    auto it = m_tables.find(codePage);
    if (it == m_tables.end())
        it = m_tables.insert(codePage, std::make_shared<Table>(buildTable(codePage)));
    return **it;
}

namespace {

// The bytes in `codePage`; nothing where the system knows no such code page.
// Qt on Windows decodes Unicode and Latin-1 alone: the system decodes the rest.
std::optional<QString> decodeIn(int codePage, QByteArrayView bytes)
{
#ifdef Q_OS_WIN
    const UINT page = static_cast<UINT>(codePage);
    if (!::IsValidCodePage(page))
        return std::nullopt;
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(page, 0, bytes.data(), size, nullptr, 0);
    QString text(length, Qt::Uninitialized);
    ::MultiByteToWideChar(page, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(text.data()),
                          length);
    return text;
#else
    QStringDecoder decoder(decoderName(codePage).constData());
    if (!decoder.isValid())
        return std::nullopt;
    return decoder.decode(bytes);
#endif
}

} // namespace

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
        for (int b = 0x80; b < 0x100; ++b) {
            const char single = static_cast<char>(b);
            const QString decoded =
                decodeIn(codePage, QByteArrayView(&single, 1)).value_or(QString());
            table[b] = decoded.size() == 1 ? decoded[0].unicode() : static_cast<char16_t>(b);
        }
    }
    table[0] = table['\r'] = table['\n'] = 0;
    return table;
}

QString RtfCodePages::decodeDoubleByte(int codePage, QByteArrayView bytes)
{
    // A lead byte at the end has nothing to pair with: it is dropped, never
    // shown as the system's stand-in character.
    qsizetype end = 0;
    while (end < bytes.size())
        end += isLeadByte(codePage, static_cast<unsigned char>(bytes[end])) ? 2 : 1;
    if (end > bytes.size())
        bytes.chop(1);
    return decodeIn(codePage, bytes).value_or(QString::fromLatin1(bytes));
}
