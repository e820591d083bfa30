#include "rules/about_rules.h"

#include <QUrl>
#include <cmath>

QString AboutRules::stageText(int revision, const QString& alpha, const QString& beta)
{
    const QString digits = QString::number(revision);
    QString stage;
    if (digits.startsWith(QLatin1Char('1')))
        stage = alpha;
    else if (digits.startsWith(QLatin1Char('2')))
        stage = beta;
    else
        return {};
    return stage.replace(QLatin1String("%no"), digits.mid(1, 1) + QLatin1Char(' '));
}

QString AboutRules::versionCaption(QString pattern, int major, int minor, int revision,
                                   const QString& stage)
{
    return pattern.replace(QLatin1String("%major"), QString::number(major))
        .replace(QLatin1String("%minor"), QString::number(minor))
        .replace(QLatin1String("%build"), QString::number(revision % 100))
        .replace(QLatin1String("%inter"), stage);
}

QString AboutRules::feedbackLink(const QString& address, const QString& subject,
                                 const QString& body)
{
    const auto encoded = [](const QString& text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text));
    };
    // A mail's lines end in CR LF, whichever way the text broke them.
    QString lines = body;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return QStringLiteral("mailto:%1?Subject=%2&body=%3")
        .arg(address, encoded(subject), encoded(lines));
}

QList<AboutRules::Rgb> AboutRules::gradient(const Color& from, const Color& to, int width)
{
    QList<Rgb> columns;
    if (width <= 0)
        return columns;
    columns.reserve(width);
    Color current = from;
    Color step{};
    for (std::size_t c = 0; c < step.size(); ++c)
        step[c] = (to[c] - from[c]) / static_cast<float>(width);
    // nearbyint rounds half to even, as the colour values of the earlier
    // program were rounded.
    const auto whole = [](float value) { return static_cast<int>(std::nearbyint(value)); };
    for (int x = 0; x < width; ++x) {
        columns.append({whole(current[0]), whole(current[1]), whole(current[2])});
        for (std::size_t c = 0; c < step.size(); ++c)
            current[c] += step[c];
    }
    return columns;
}
