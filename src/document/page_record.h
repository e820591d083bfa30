#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QExplicitlySharedDataPointer>
#include <QSharedData>
#include <QString>
#include <type_traits>

// The bytes of a data file as read, shared by every page text that still
// stands for its field in them.
struct StoredBytes : QSharedData
{
    explicit StoredBytes(const QByteArray& file) : bytes(file) {}
    const QByteArray bytes;
};
using StoredFile = QExplicitlySharedDataPointer<const StoredBytes>;

// A page's text. A page read from the data file keeps its field as stored,
// shared with the file's bytes, and decodes it the first time somebody reads
// it: a large book costs its titles at start-up, and a page nobody opens
// costs nothing more. The characters and the plain text live in one block
// made when first needed and shared by the copies, so a page nobody reads
// takes a few words. Every change goes through assignment, which also
// forgets the plain text made of the old text.
class PageText
{
    template <typename T>
    static constexpr bool TextSource =
        std::is_constructible_v<QString, T&&> && !std::is_same_v<std::remove_cvref_t<T>, PageText>;

public:
    PageText() = default;
    template <typename T>
    requires TextSource<T> PageText(T&& text)
        : m_decoded(new Decoded(QString(std::forward<T>(text))))
    {}

    // `field` lies inside `file`'s bytes, in the data file's own coding (two
    // apostrophes for a double quote), Windows-1251 unless `utf8`.
    // `quoteFree` when the field is known to hold no double quote.
    static PageText stored(const StoredFile& file, QByteArrayView field, bool utf8,
                           bool quoteFree = false);
    // A text known only by its plain text, which it is: what a reader that
    // shows pages but never writes them makes of a page it cleaned up.
    static PageText ofPlainText(const QString& plain);

    template <typename T>
    requires TextSource<T> PageText& operator=(T&& text)
    {
        *this = PageText(QString(std::forward<T>(text)));
        return *this;
    }
    PageText& operator+=(const QString& more) { return *this = text() + more; }

    const QString& text() const;
    operator const QString&() const { return text(); }
    // What the text export and plain-text mode use; made once per text.
    const QString& plainText() const;

    // The field as the file stores it, while the text is still the one read;
    // empty otherwise.
    QByteArrayView storedField() const { return {m_field, m_fieldSize}; }
    bool isStored() const { return bool(m_file); }
    bool storedAsUtf8() const { return m_utf8; }
    // The stored field while it is the Windows-1251 text itself: still the
    // one read, from a Windows-1251 file, with no quote stored as two
    // apostrophes; nullopt otherwise.
    std::optional<QByteArrayView> storedWindows1251() const;
    // The stored field holds no double quote (as a quoted field never does).
    bool storedQuoteFree() const { return m_quoteFree || !storedField().contains('"'); }

    // The very same text, told apart without comparing characters: the same
    // stored field, or the same characters at the same address (while a copy
    // shares them nothing can change them in place).
    bool sameAs(const PageText& other) const;

    friend bool operator==(const PageText& a, const PageText& b)
    {
        return a.sameAs(b) || a.text() == b.text();
    }
    friend bool operator==(const PageText& a, const QString& b) { return a.text() == b; }
    template <typename T>
    requires TextSource<T> &&(!std::is_same_v<std::remove_cvref_t<T>, QString>)friend bool
    operator==(const PageText& a, const T& b)
    {
        return a.text() == QString(b);
    }

private:
    struct Decoded : QSharedData
    {
        Decoded() = default;
        explicit Decoded(QString characters) : text(std::move(characters)), textKnown(true) {}
        QString text;
        QString plain;
        bool textKnown = false;
        bool plainKnown = false;
    };
    Decoded& decoded() const;

    mutable QExplicitlySharedDataPointer<Decoded> m_decoded;
    StoredFile m_file;
    const char* m_field = nullptr;
    qint32 m_fieldSize = 0;
    bool m_utf8 = false;
    bool m_quoteFree = false;
};

// One page of the book. Texts hold Windows-1251-decoded characters, so every
// character of a loaded page can be written back byte for byte.
struct PageRecord
{
    QString title;
    PageText text;
    qint32 kind = 0;

    static constexpr qint32 AddressPage = 0;
    static constexpr qint32 TextPage = 1;

    const QString& plainText() const { return text.plainText(); }
    // The very same page, told apart without comparing any text: the same
    // kind and the same copies of title and text (see PageText::sameAs).
    bool isSameAs(const PageRecord& other) const
    {
        return kind == other.kind && title.constData() == other.title.constData() &&
               title.size() == other.title.size() && text.sameAs(other.text);
    }

    friend bool operator==(const PageRecord& a, const PageRecord& b)
    {
        return a.title == b.title && a.text == b.text && a.kind == b.kind;
    }
};
