#include "document/text_export.h"

#include "core/code_page.h"
#include "document/tab_runs.h"
#include "richtext/rtf_simple_text.h"

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

// Escapes the plain text from `from` to the end of `out` in place.
void escapeFrom(QByteArray& out, qsizetype from)
{
    const QByteArrayView plain = QByteArrayView(out).sliced(from);
    // Qt's search for a two-byte needle hashes every byte.
    const auto special = [](char a, char b) { return a == '$' || (a == '\'' && b == '\''); };
    if (std::adjacent_find(plain.begin(), plain.end(), special) == plain.end() &&
        !plain.endsWith('$'))
        return;
    QByteArray escaped = plain.toByteArray();
    escaped.replace('$', "&dollar;");
    escaped.replace("''", "\"");
    out.truncate(from);
    out += escaped;
}

} // namespace

QByteArray TextExport::build(std::span<const PageRecord> pages)
{
    QByteArray out;
    for (const PageRecord& page : pages)
        appendPage(out, page);
    return out;
}

bool TextExport::appendStoredText(QByteArray& out, const PageRecord& page)
{
    return page.text.isStored() &&
           appendStoredText(out, CodePage::encodeLossy(page.title), page.text, page.kind);
}

bool TextExport::appendStoredText(QByteArray& out, QByteArrayView title, const PageText& text,
                                  qint32 kind)
{
    const std::optional<QByteArrayView> stored = text.storedWindows1251();
    if (!stored)
        return false;
    const qsizetype size = out.size();
    out += '$';
    out += title;
    out += "\r\n";
    const qsizetype plainAt = out.size();
    if (!RtfSimpleText::appendBytes(*stored, out) ||
        (kind == PageRecord::AddressPage &&
         TabRuns::hasSurplus(QByteArrayView(out).sliced(plainAt)))) {
        out.truncate(size);
        return false;
    }
    escapeFrom(out, plainAt);
    out += "\r\n";
    return true;
}

void TextExport::appendPage(QByteArray& out, const PageRecord& page)
{
    if (appendStoredText(out, page))
        return;
    const QString& plain = page.plainText();
    QString part;
    part.reserve(page.title.size() + plain.size() + 5);
    part += u'$';
    part += page.title;
    part += QLatin1String("\r\n");
    appendEscaped(part, plain);
    part += QLatin1String("\r\n");
    out += CodePage::encodeLossy(part);
}
