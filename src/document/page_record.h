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

// Shallow copies of a page's title and text. While they share the page's
// characters nothing can change them in place, so the same characters at the
// same address mean the same page, told apart without comparing any text.
struct PageIdentity
{
    QString title;
    QString text;
    qint32 kind = 0;

    static PageIdentity of(const PageRecord& page) { return {page.Title, page.Text, page.Kind}; }
    bool isOf(const PageRecord& page) const
    {
        return kind == page.Kind && same(title, page.Title) && same(text, page.Text);
    }

private:
    static bool same(const QString& a, const QString& b)
    {
        return a.constData() == b.constData() && a.size() == b.size();
    }
};
