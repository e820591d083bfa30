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
    QByteArray out;
    for (const PageRecord& page : pages)
        out += ofPage(page);
    return out;
}

QByteArray TextExport::ofPage(const PageRecord& page)
{
    const QString& plain = page.plainText();
    QString out;
    out.reserve(page.title.size() + plain.size() + 5);
    out += u'$';
    out += page.title;
    out += QLatin1String("\r\n");
    appendEscaped(out, plain);
    out += QLatin1String("\r\n");
    return CodePage::encodeLossy(out);
}
