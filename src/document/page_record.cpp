#include "document/page_record.h"

#include "richtext/rtf_plain_text.h"

const QString& PlainTextMemo::of(const QString& text) const
{
    if (m_known && m_source.constData() == text.constData() && m_source.size() == text.size())
        return m_plain;
    m_plain = RtfPlainText::extract(text);
    m_source = text;
    m_known = true;
    return m_plain;
}
