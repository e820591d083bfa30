#include "core/tip_of_the_day.h"

#include "core/bounded_file.h"
#include "core/code_page.h"
#include "core/localization.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>

namespace {

// A tip file is a few kilobytes; anything this large is not one.
constexpr qint64 kMaxTipFileBytes = qint64(4) << 20;

} // namespace

TipOfTheDay::TipOfTheDay(Localization& localization, RandomSource random)
    : m_localization(localization), m_random(std::move(random))
{}

QString TipOfTheDay::showTip(const QString& path)
{
    if (!m_loaded && !load(path))
        return failureText();
    if (m_tips.isEmpty())
        return failureText();
    const auto count = m_tips.size();
    const auto index = std::clamp<qsizetype>(qsizetype(m_random() * double(count)), 0, count - 1);
    return m_tips.at(index);
}

TipOfTheDay::RandomSource TipOfTheDay::systemRandom()
{
    return [] { return QRandomGenerator::global()->generateDouble(); };
}

bool TipOfTheDay::load(const QString& path)
{
    const BoundedFile::Result file = BoundedFile::read(path, kMaxTipFileBytes);
    if (!file.bytes)
        return false;
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList tips;
    for (const QString& line : CodePage::decode(*file.bytes).split(lineEnd)) {
        if (!line.trimmed().isEmpty())
            tips.append(line);
    }
    m_tips = tips;
    m_loaded = true;
    return true;
}

QString TipOfTheDay::failureText() const
{
    return m_localization.text(TextId::TipFailure);
}
