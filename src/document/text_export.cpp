#include "document/text_export.h"

#include "core/code_page.h"

#include <algorithm>

namespace {

void appendEscaped(QString& out, const QString& plain)
{
    // Most pages hold neither; copying each just to find that out would cost
    // as much as the rest of the export.
    const auto pair = [](QChar a, QChar b) { return a == u'\'' && b == u'\''; };
    if (!plain.contains(u'$') &&
        std::adjacent_find(plain.cbegin(), plain.cend(), pair) == plain.cend()) {
        out += plain;
        return;
    }
    QString escaped = plain;
    escaped.replace(u'$', QLatin1String("&dollar;"));
    escaped.replace(QLatin1String("''"), QLatin1String("\""));
    out += escaped;
}

} // namespace

QByteArray TextExport::build(std::span<const PageRecord> pages)
{
    qsizetype size = 0;
    for (const PageRecord& page : pages)
        size += page.Title.size() + page.plainText().size() + 5;
    QString out;
    out.reserve(size);
    for (const PageRecord& page : pages) {
        out += u'$';
        out += page.Title;
        out += QLatin1String("\r\n");
        appendEscaped(out, page.plainText());
        out += QLatin1String("\r\n");
    }
    return CodePage::encodeLossy(out);
}
