#pragma once

#include <QString>
#include <QStringList>

// A text's placeholders filled in one pass, as QString::arg with several
// arguments fills them: "%1" to "%99" take the argument of that number, and
// whatever an argument brings (a "%1" the user typed in a title) stays as it
// is. A placeholder without an argument stays too.
class TextFill
{
public:
    static QString fill(const QString& text, const QStringList& args);
};
