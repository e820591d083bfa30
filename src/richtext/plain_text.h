#pragma once

#include <QString>
#include <QStringView>

class QTextDocument;

// Plain text as the rest of the program counts it: lines separated by CR LF,
// nothing after the last line, pictures contribute nothing.
class PlainText
{
public:
    static QString of(const QTextDocument& doc);
    // Plain text as it is shown: every kind of line break (CR LF, LF, CR,
    // U+2028, U+2029) becomes CR LF, and characters a document cannot hold as
    // text (NUL, object replacement, frame markers) are dropped.
    static QString normalized(QStringView text);
};
