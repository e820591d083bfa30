#include "document/page_record.h"

#include "document/data_file.h"
#include "richtext/rtf_plain_text.h"

PageText PageText::stored(const QByteArray& file, QByteArrayView field, bool utf8)
{
    PageText text;
    text.m_file = file;
    text.m_field = field;
    text.m_utf8 = utf8;
    text.m_decoded = false;
    return text;
}

PageText PageText::ofPlainText(const QString& plain)
{
    PageText text(plain);
    text.m_plain = plain;
    text.m_plainKnown = true;
    return text;
}

const QString& PageText::text() const
{
    if (!m_decoded) {
        m_text = DataFile::decodeField(m_field, m_utf8 ? DataFile::Charset::Utf8WithBom
                                                       : DataFile::Charset::Windows1251);
        m_decoded = true;
    }
    return m_text;
}

const QString& PageText::plainText() const
{
    if (m_plainKnown)
        return m_plain;
    // Stored Windows-1251 bytes are what the RTF reader takes: the text need
    // not be decoded to be searched or exported.
    const bool bytesAsRead = isStored() && !m_decoded && !m_utf8 && !m_field.contains('"') &&
                             !m_field.contains(QByteArrayView("''"));
    m_plain = bytesAsRead ? RtfPlainText::extract(m_field) : RtfPlainText::extract(text());
    m_plainKnown = true;
    return m_plain;
}

bool PageText::sameAs(const PageText& other) const
{
    if (isStored() || other.isStored())
        return m_field.data() == other.m_field.data() && m_field.size() == other.m_field.size() &&
               m_file.constData() == other.m_file.constData();
    return m_text.constData() == other.m_text.constData() && m_text.size() == other.m_text.size();
}
