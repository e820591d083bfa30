#include "document/text_export.h"

#include "core/code_page.h"
#include "richtext/rtf_plain_text.h"

QByteArray TextExport::build(std::span<const PageRecord> pages)
{
    QString out;
    for (const PageRecord& page : pages) {
        QString plain = RtfPlainText::extract(page.Text);
        plain.replace(u'$', QLatin1String("&dollar;"));
        plain.replace(QLatin1String("''"), QLatin1String("\""));
        out += u'$';
        out += page.Title;
        out += QLatin1String("\r\n");
        out += plain;
        out += QLatin1String("\r\n");
    }
    return CodePage::encodeLossy(out);
}
