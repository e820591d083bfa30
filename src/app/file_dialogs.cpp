#include "app/file_dialogs.h"

#include "core/system_reason.h"

QStringList FileDialogs::nameFilters(const QString& pairs)
{
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1String("*.*"), QLatin1String("*"));
        pattern.replace(u';', u' ');
        filters << parts[i] + QStringLiteral(" (") + pattern + u')';
    }
    return filters;
}

QString FileDialogs::unreadableReason(const BoundedFile::Result& failure,
                                      const std::function<QString(TextId)>& text)
{
    switch (failure.problem) {
    case BoundedFile::Problem::NotAFile:
        return text(TextId::ImportNotAFile);
    case BoundedFile::Problem::TooLarge:
        return text(TextId::ImportTooLarge);
    default:
        break;
    }
    const std::optional<TextId> reason = SystemReason::of(failure.error);
    return reason ? text(*reason) : failure.error;
}
