#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>

class QTextDocument;

// The program's help, as two files beside the program. The topic list: its
// first field, in the sequential-file syntax, names the help document
// (relative to the list's folder); every further line is one topic's title,
// an empty line included. The help document: RTF holding, for each topic k,
// a line "&k" and then the topic's text, and after the last topic a final
// marker "&(n+1)". Topic k runs from the line break after its own marker to
// the next "&(k+1)", with its formatting.
class HelpDocument
{
public:
    // Both files are small; anything larger is not our help.
    static constexpr qint64 MaxFileBytes = qint64(16) << 20;

    struct TopicList
    {
        QString documentName;
        QStringList titles;
    };

    // Document positions of one topic's text; empty when a marker is missing.
    struct Range
    {
        int from = 0;
        int to = 0;
        bool isEmpty() const { return to <= from; }
    };

    HelpDocument();
    HelpDocument(HelpDocument&& other) noexcept;
    HelpDocument& operator=(HelpDocument&& other) noexcept;
    ~HelpDocument();

    // Reads the topic list and the document it names. False, with
    // errorString(), when either cannot be read or the list has no topic.
    bool load(const QString& topicListPath);
    const QString& errorString() const { return m_errorString; }

    const QStringList& titles() const { return m_titles; }
    // Topic `index` (from 0) as RTF; empty when its markers are missing.
    QByteArray topicRtf(int index) const;

    static TopicList parseTopicList(const QString& text);
    // Where topic `index` (from 0) lies in a document whose characters, one
    // per document position, are `text` (QTextDocument::toRawText()). The
    // end marker is looked for only after the topic's own marker, so an
    // earlier "&(k+1)" in the text cannot cut the topic short or backwards.
    static Range topicRange(QStringView text, int index);

private:
    bool fail(const QString& path, const QString& why);

    QStringList m_titles;
    std::unique_ptr<QTextDocument> m_document;
    QString m_errorString;
};
