#include "ui/text_position_map.h"

#include "richtext/paragraph_pieces.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

TextPositionMap::TextPositionMap(QTextDocument* document, QObject* parent)
    : QObject(parent), m_document(document)
{
    connect(document, &QTextDocument::contentsChange, this, &TextPositionMap::onContentsChange);
}

int TextPositionMap::toText(int documentPosition) const
{
    const int last = m_document->characterCount() - 1;
    const int position = std::clamp(documentPosition, 0, last);
    const QTextBlock block = m_document->findBlock(position);
    return position + block.blockNumber() - missingBefore(position);
}

int TextPositionMap::toDocument(int textPosition) const
{
    const int target = std::clamp(textPosition, 0, textLength());
    const QTextBlock block = blockAtText(target);
    const int blockEnd = block.position() + block.length() - 1;
    int position = block.position();
    int remaining = target - textStartOf(block);
    const std::vector<int>& pictures = images();
    auto picture = std::lower_bound(pictures.begin(), pictures.end(), position);
    for (; picture != pictures.end() && *picture < blockEnd; ++picture) {
        const int textBefore = *picture - position;
        if (remaining <= textBefore)
            return position + remaining;
        remaining -= textBefore;
        position = *picture + 1;
    }
    return std::min(position + remaining, blockEnd);
}

int TextPositionMap::textLength() const
{
    const int separators = m_document->blockCount() - 1;
    return m_document->characterCount() - 1 + separators - int(images().size()) -
           2 * int(seams().size());
}

void TextPositionMap::onContentsChange(int position, int removed, int added)
{
    Q_UNUSED(removed);
    m_seamsKnown = false;
    if (!m_imagesKnown)
        return;
    // Any edit shifts the positions of the pictures after it; without pictures
    // only an edit that brings one in needs a new count.
    if (!m_images.empty() || rangeHasImages(position, position + added))
        m_imagesKnown = false;
}

bool TextPositionMap::rangeHasImages(int from, int to) const
{
    for (QTextBlock block = m_document->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= from || fragment.position() >= to)
                continue;
            if (fragment.text().contains(QChar::ObjectReplacementCharacter))
                return true;
        }
    }
    return false;
}

const std::vector<int>& TextPositionMap::images() const
{
    if (m_imagesKnown)
        return m_images;
    m_images.clear();
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString text = fragment.text();
            for (qsizetype i = text.indexOf(QChar::ObjectReplacementCharacter); i >= 0;
                 i = text.indexOf(QChar::ObjectReplacementCharacter, i + 1))
                m_images.push_back(fragment.position() + int(i));
        }
    }
    m_imagesKnown = true;
    return m_images;
}

int TextPositionMap::imagesBefore(int documentPosition) const
{
    const std::vector<int>& pictures = images();
    return int(std::lower_bound(pictures.begin(), pictures.end(), documentPosition) -
               pictures.begin());
}

const std::vector<int>& TextPositionMap::seams() const
{
    if (m_seamsKnown)
        return m_seams;
    m_seams.clear();
    if (ParagraphPieces::hasPieces(*m_document)) {
        for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
            if (ParagraphPieces::continuesPrevious(block))
                m_seams.push_back(block.position() - 1);
        }
    }
    m_seamsKnown = true;
    return m_seams;
}

// A picture is one position of the document and none of the text; a seam is
// one of the document and none of the text, where a line break is two.
int TextPositionMap::missingBefore(int documentPosition) const
{
    const std::vector<int>& cuts = seams();
    const auto seamsBefore =
        std::lower_bound(cuts.begin(), cuts.end(), documentPosition) - cuts.begin();
    return imagesBefore(documentPosition) + 2 * int(seamsBefore);
}

int TextPositionMap::textStartOf(const QTextBlock& block) const
{
    return block.position() + block.blockNumber() - missingBefore(block.position());
}

QTextBlock TextPositionMap::blockAtText(int textPosition) const
{
    int low = 0;
    int high = m_document->blockCount() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (textStartOf(m_document->findBlockByNumber(middle)) <= textPosition)
            low = middle;
        else
            high = middle - 1;
    }
    return m_document->findBlockByNumber(low);
}
