#include "richtext/rtf_plain_text.h"

#include "core/code_page.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_content_sink.h"
#include "richtext/rtf_parser.h"
#include "richtext/rtf_simple_text.h"

namespace {

// Collects the text the document would hold, block separators as CR LF.
class TextCollector : public RtfContentSink
{
public:
    explicit TextCollector(qsizetype expected) { m_text.reserve(expected); }

    void appendText(const QString& text, const RtfRunFormat&) override { m_text += text; }
    void appendPicture(const RtfPictureData&, const RtfRunFormat&) override {}
    void startBlock(const RtfRunFormat&) override { m_text += QLatin1StringView("\r\n"); }
    void setBlockFormat(const RtfParagraphFormat&) override {}

    QString take() { return std::move(m_text); }

private:
    QString m_text;
};

} // namespace

QString RtfPlainText::extract(QByteArrayView rtf)
{
    if (!RtfParser::isRtf(rtf))
        return PlainText::normalized(CodePage::decode(rtf));
    if (std::optional<QString> simple = RtfSimpleText::extract(rtf))
        return std::move(*simple);
    TextCollector collector(rtf.size() / 4);
    RtfParser(rtf, collector).parse();
    return collector.take();
}

QString RtfPlainText::extract(const QString& pageText)
{
    if (!RtfParser::isRtf(QStringView(pageText)))
        return PlainText::normalized(pageText);
    return extract(QByteArrayView(CodePage::encodeLossy(pageText)));
}
