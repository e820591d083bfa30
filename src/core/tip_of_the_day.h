#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Localization;

// One tip from the tip file for the status area at start-up. The file is read
// once per run; a failed read is tried again at the next call, since the tips
// count as loaded only after a complete read.
class TipOfTheDay
{
public:
    // A number drawn uniformly from [0, 1).
    using RandomSource = std::function<double()>;

    explicit TipOfTheDay(Localization& localization, RandomSource random = systemRandom());

    // The chosen tip, or the localized failure text when the file cannot be
    // read or holds no tips.
    QString showTip(const QString& path);

    static RandomSource systemRandom();

private:
    bool load(const QString& path);
    QString failureText() const;

    Localization& m_localization;
    RandomSource m_random;
    QStringList m_tips;
    bool m_loaded = false;
};
