#include "document/page_record.h"

#include "document/data_file.h"
#include "richtext/rtf_plain_text.h"

#include <cstring>

namespace {

// A double quote stored as two apostrophes: such a field reads otherwise
// than its bytes.
bool holdsApostrophePair(QByteArrayView field)
{
    const char* end = field.data() + field.size();
    for (const char* at = field.data(); at < end; ++at) {
        at = static_cast<const char*>(std::memchr(at, '\'', size_t(end - at)));
        if (!at || at + 1 == end)
            return false;
        if (at[1] == '\'')
            return true;
    }
    return false;
}

} // namespace

PageText PageText::stored(const StoredFile& file, QByteArrayView field, bool utf8, bool quoteFree)
{
    PageText text;
    text.m_quoteFree = quoteFree;
    text.m_file = file;
    text.m_field = field.data();
    text.m_fieldSize = qint32(field.size());
    text.m_utf8 = utf8;
    return text;
}

PageText PageText::ofPlainText(const QString& plain)
{
    PageText text(plain);
    text.m_decoded->plain = plain;
    text.m_decoded->plainKnown = true;
    return text;
}

PageText::Decoded& PageText::decoded() const
{
    if (!m_decoded)
        m_decoded = new Decoded;
    return *m_decoded;
}

const QString& PageText::text() const
{
    static const QString empty;
    if (!m_decoded && !m_file)
        return empty;
    Decoded& block = decoded();
    if (!block.textKnown) {
        block.text = DataFile::decodeField(storedField(), m_utf8 ? DataFile::Charset::Utf8WithBom
                                                                 : DataFile::Charset::Windows1251);
        block.textKnown = true;
    }
    return block.text;
}

std::optional<QByteArrayView> PageText::storedWindows1251() const
{
    if (!isStored() || m_utf8 || !storedQuoteFree() || holdsApostrophePair(storedField()))
        return std::nullopt;
    return storedField();
}

const QString& PageText::plainText() const
{
    Decoded& block = decoded();
    if (block.plainKnown)
        return block.plain;
    // Stored Windows-1251 bytes are what the RTF reader takes: the text need
    // not be decoded to be searched or exported.
    const std::optional<QByteArrayView> bytes = storedWindows1251();
    block.plain = bytes ? RtfPlainText::extract(*bytes) : RtfPlainText::extract(text());
    block.plainKnown = true;
    return block.plain;
}

bool PageText::sameAs(const PageText& other) const
{
    if (isStored() || other.isStored())
        return isStored() && other.isStored() && m_field == other.m_field &&
               m_fieldSize == other.m_fieldSize &&
               m_file->bytes.constData() == other.m_file->bytes.constData();
    const QString& mine = text();
    const QString& theirs = other.text();
    return mine.constData() == theirs.constData() && mine.size() == theirs.size();
}

static_assert(sizeof(PageRecord) <= 64, "a page nobody reads takes a few words");
