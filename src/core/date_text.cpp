#include "core/date_text.h"

#include <QLocale>

QString DateText::shown(const QDateTime& when, const QString& format)
{
    return format.isEmpty() ? QLocale().toString(when, QLocale::ShortFormat)
                            : when.toString(format);
}
