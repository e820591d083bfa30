#include "rules/window_ticks.h"

#include "core/options.h"

#include <QTimer>

namespace {

constexpr qint64 kSecondsPerMinute = 60;
constexpr qint16 kRepaints = 6;

bool autosaveDue(qint64 tickCount, int autosaveDuration)
{
    if (autosaveDuration <= 0 || tickCount % kSecondsPerMinute != 0)
        return false;
    return (tickCount / kSecondsPerMinute) % autosaveDuration == 0;
}

} // namespace

TickEvents TickSchedule::onTick(int tipsDuration, int autosaveDuration)
{
    ++m_tickCount;
    return {m_tickCount == tipsDuration, autosaveDue(m_tickCount, autosaveDuration)};
}

bool RefreshSchedule::onRefresh()
{
    if (m_finished)
        return false;
    ++m_refreshCount;
    m_finished = m_refreshCount >= kRepaints;
    return true;
}

WindowTicks::WindowTicks(const Options& options, QObject* parent)
    : QObject(parent), m_options(options)
{}

void WindowTicks::start()
{
    if (m_tickTimer)
        return;
    m_tickTimer = new QTimer(this);
    m_tickTimer->setInterval(tickIntervalMs);
    connect(m_tickTimer, &QTimer::timeout, this, &WindowTicks::tick);
    m_tickTimer->start();
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setInterval(RefreshSchedule::intervalMs);
    connect(m_refreshTimer, &QTimer::timeout, this, &WindowTicks::refreshTick);
    m_refreshTimer->start();
}

void WindowTicks::tick()
{
    const TickEvents events = m_ticks.onTick(m_options.tipsDuration, m_options.autosaveDuration);
    if (events.endTip)
        Q_EMIT tipEnded();
    if (events.autosave)
        Q_EMIT autosaveDue();
}

void WindowTicks::refreshTick()
{
    if (!m_refresh.onRefresh())
        return;
    if (m_refresh.finished() && m_refreshTimer)
        m_refreshTimer->stop();
    Q_EMIT repaintDue();
}
