#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>

// Whether a page text as the data file stores it could hold a sample, told
// from its bytes without decoding the page: a search through a large book
// decodes only the pages that pass. It never turns away a page whose plain
// text holds the sample. Every letter and digit of the sample must be in the
// page, as a Windows-1251 byte, a hex escape or a Unicode escape of any of its
// cases; a page in another code page, or with text the reader makes up itself
// (list numbers, symbol fields), always passes.
class StoredTextFilter
{
public:
    // `options` as TextFinder takes them.
    StoredTextFilter(const QString& sample, int options);

    // False only when the plain text of the stored field cannot hold the
    // sample. It remembers how the last page opened: one filter, one thread.
    bool mayHold(QByteArrayView storedField) const;

    // Where a look through a page stood at a token's start, and what it had
    // found; `at` 0 for none.
    struct Checkpoint
    {
        qsizetype at = 0;
        quint32 found = 0;
        bool risky = false;
        bool codePageSeen = false;
        bool opened = false;
        bool inHeader = false;
    };
    static constexpr qsizetype kCheckpointBytes = 32;
    using Checkpoints = std::array<Checkpoint, 8>;

private:
    qsizetype sameOpening(QByteArrayView storedField) const;
    bool matchesAnchor(char16_t ch, int anchor) const;
    QChar folded(QChar ch) const;

    static constexpr int kMaxAnchors = 32;
    std::array<quint32, 256> m_byteAnchors = {}; // the anchors each byte stands for
    QString m_anchors;                           // the sample's letters and digits, once each
    quint32 m_allAnchors = 0;
    bool m_matchCase = false;
    bool m_yoAsYe = false;
    // The opening bytes of the page looked at last, and where its look stood
    // every kCheckpointBytes bytes into it.
    static constexpr qsizetype kOpeningBytes = kCheckpointBytes * 9;
    mutable QByteArray m_opening;
    mutable Checkpoints m_checkpoints = {};
};
