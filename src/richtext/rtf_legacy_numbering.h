#pragma once

#include <QString>
#include <optional>

// Paragraph numbers as writers before list tables gave them, and as the
// Windows control still writes them ({\*\pn ...}): a bullet, or a number with
// text before and after it. A number counts on over consecutive paragraphs
// numbered alike; any other paragraph starts the count again.
class RtfLegacyNumbering
{
public:
    struct Definition
    {
        enum class Kind
        {
            Number,
            Bullet,
            Continued // a paragraph of the list that shows no number
        };

        Kind kind = Kind::Number;
        int format = 0; // a list number format
        int startAt = 1;
        QString before;
        QString after;

        bool operator==(const Definition&) const = default;
    };

    // What a paragraph numbered by `definition` shows before its text; counts it.
    QString next(const Definition& definition);
    // A paragraph without such a number ends the count.
    void interrupt() { m_previous.reset(); }

private:
    std::optional<Definition> m_previous;
    int m_count = 0;
};
