#pragma once

#include <QDateTime>
#include <QString>

// A date and time as the windows show it: in the interface language's
// format (the text DateShown), or the system's short format where that
// language leaves it to the system.
class DateText
{
public:
    static QString shown(const QDateTime& when, const QString& format);
};
