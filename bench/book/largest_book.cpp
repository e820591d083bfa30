#include "largest_book.h"

QString LargestBook::addressPage(int n, QLatin1StringView separator)
{
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss"
                          "\\fcharset204{\\*\\fname Tahoma;}Tahoma CYR;}}\r\n"
                          "{\\colortbl ;\\red0\\green0\\blue0;}\r\n"
                          "\\viewkind4\\uc1\\pard\\tx300\\tx4200\\cf1\\f0\\fs20 \\'c8\\'e2\\'e0"
                          "\\'ed\\'ee\\'e2 \\'c8\\'e2\\'e0\\'ed %1%2+7 (495) 555-%3\\par\r\n"
                          "\\pard\\tx300\\tx4200\\par\r\n}\r\n")
        .arg(n)
        .arg(separator)
        .arg(n % 10000, 4, 10, QLatin1Char('0'));
}

std::vector<PageRecord> LargestBook::make(const std::function<QString(int)>& page)
{
    std::vector<PageRecord> book;
    book.reserve(pages);
    for (int i = 1; i <= pages; ++i)
        book.push_back({QStringLiteral("Стр%1").arg(i), page(i), PageRecord::AddressPage});
    return book;
}
