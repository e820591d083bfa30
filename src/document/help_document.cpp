#include "document/help_document.h"

#include "core/bounded_file.h"
#include "core/sequential_file_reader.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QDir>
#include <QFileInfo>
#include <QTextDocument>

namespace {

bool isLineBreak(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n' || c == u'\r';
}

QString marker(int topic)
{
    return u'&' + QString::number(topic);
}

// The position right after the first "&k" that ends its line, or -1.
qsizetype afterMarkerLine(QStringView text, int topic)
{
    const QString start = marker(topic);
    for (qsizetype pos = text.indexOf(start); pos >= 0; pos = text.indexOf(start, pos + 1)) {
        qsizetype after = pos + start.size();
        if (after >= text.size() || !isLineBreak(text.at(after)))
            continue;
        if (text.at(after) == u'\r' && after + 1 < text.size() && text.at(after + 1) == u'\n')
            ++after;
        return after + 1;
    }
    return -1;
}

} // namespace

HelpDocument::HelpDocument() = default;
HelpDocument::HelpDocument(HelpDocument&& other) noexcept = default;
HelpDocument& HelpDocument::operator=(HelpDocument&& other) noexcept = default;
HelpDocument::~HelpDocument() = default;

bool HelpDocument::load(const QString& topicListPath)
{
    m_titles.clear();
    m_document.reset();
    const BoundedFile::Result list = BoundedFile::read(topicListPath, MaxFileBytes);
    if (!list.bytes)
        return fail(topicListPath, list.error);
    const TopicList topics = parseTopicList(SequentialFileReader::decode(*list.bytes));
    if (topics.documentName.isEmpty())
        return fail(topicListPath, QStringLiteral("no help document named"));
    if (topics.titles.isEmpty())
        return fail(topicListPath, QStringLiteral("no topics"));
    // Written on Windows, the name may use its folder separator.
    const QString name = QString(topics.documentName).replace(u'\\', u'/');
    const QString documentPath = QFileInfo(topicListPath).dir().filePath(name);
    const BoundedFile::Result document = BoundedFile::read(documentPath, MaxFileBytes);
    if (!document.bytes)
        return fail(documentPath, document.error);
    m_document = std::make_unique<QTextDocument>();
    RtfReader::read(QByteArrayView(*document.bytes), *m_document);
    m_titles = topics.titles;
    m_errorString.clear();
    return true;
}

bool HelpDocument::fail(const QString& path, const QString& why)
{
    m_errorString = QDir::toNativeSeparators(path) + QStringLiteral(": ") + why;
    return false;
}

QByteArray HelpDocument::topicRtf(int index) const
{
    if (!m_document)
        return {};
    const Range range = topicRange(m_document->toRawText(), index);
    if (range.isEmpty())
        return {};
    return RtfWriter::write(*m_document, range.from, range.to);
}

HelpDocument::TopicList HelpDocument::parseTopicList(const QString& text)
{
    SequentialFileReader reader(text);
    TopicList list;
    list.documentName = reader.readField();
    while (!reader.atEnd())
        list.titles << reader.readLine();
    return list;
}

HelpDocument::Range HelpDocument::topicRange(QStringView text, int index)
{
    if (index < 0)
        return {};
    const qsizetype from = afterMarkerLine(text, index + 1);
    if (from < 0)
        return {};
    const qsizetype to = text.indexOf(marker(index + 2), from);
    if (to < 0)
        return {};
    return {static_cast<int>(from), static_cast<int>(to)};
}
