#pragma once

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

    // False only when the plain text of the stored field cannot hold the sample.
    bool mayHold(QByteArrayView storedField) const;

private:
    bool matchesAnchor(char16_t ch, int anchor) const;
    QChar folded(QChar ch) const;

    static constexpr int kMaxAnchors = 32;
    std::array<quint32, 256> m_byteAnchors = {}; // the anchors each byte stands for
    QString m_anchors;                           // the sample's letters and digits, once each
    quint32 m_allAnchors = 0;
    bool m_matchCase = false;
    bool m_yoAsYe = false;
};
