#pragma once

#include <QString>

// The plain text of a page text, kept until the text changes. It holds a
// shallow copy of the text it was made from: while that copy shares the
// text's characters, nothing can change them in place (a write detaches the
// text first), so the same characters at the same address mean the same text.
class PlainTextMemo
{
public:
    const QString& of(const QString& text) const;

private:
    mutable QString m_source;
    mutable QString m_plain;
    mutable bool m_known = false;
};

// One page of the book. Texts hold Windows-1251-decoded characters, so every
// character of a loaded page can be written back byte for byte.
struct PageRecord
{
    QString Title;
    QString Text;
    qint32 Kind = 0;
    PlainTextMemo plainMemo = {};

    static constexpr qint32 AddressPage = 0;
    static constexpr qint32 TextPage = 1;

    // What the text export and plain-text mode use; extracted once per text.
    const QString& plainText() const { return plainMemo.of(Text); }

    friend bool operator==(const PageRecord& a, const PageRecord& b)
    {
        return a.Title == b.Title && a.Text == b.Text && a.Kind == b.Kind;
    }
};
