#pragma once

#include <QObject>
#include <vector>

class QTextBlock;
class QTextDocument;

// The page's plain text counts a line break as two positions (CR LF) and a
// picture as none, while the document counts one position for each. Every
// conversion between the two counts goes through here, so Find, the selection
// and the plain text always agree.
//
// Pictures are object replacement characters, which the plain text leaves out,
// and the seams between the pieces of a long paragraph count nothing there.
// Without either a conversion costs a few block look-ups (logarithmic); their
// positions are collected lazily and only while there are any.
class TextPositionMap : public QObject
{
    Q_OBJECT
public:
    explicit TextPositionMap(QTextDocument* document, QObject* parent = nullptr);

    // A text position between CR and LF, or past the end, falls back to the
    // nearest place the document can hold: before the break, or the end.
    int toDocument(int textPosition) const;
    int toText(int documentPosition) const;
    int textLength() const;

private:
    void onContentsChange(int position, int removed, int added);
    const std::vector<int>& images() const;
    int imagesBefore(int documentPosition) const;
    const std::vector<int>& seams() const;
    // Positions the text counts less than the document before a position.
    int missingBefore(int documentPosition) const;
    int textStartOf(const QTextBlock& block) const;
    QTextBlock blockAtText(int textPosition) const;
    bool rangeHasImages(int from, int to) const;

    QTextDocument* m_document;
    mutable std::vector<int> m_images;
    mutable bool m_imagesKnown = false;
    mutable std::vector<int> m_seams; // the separators before continuing pieces
    mutable bool m_seamsKnown = false;
};
