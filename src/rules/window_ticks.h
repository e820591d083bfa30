#pragma once

#include <QObject>
#include <QtGlobal>

class Options;
class QTimer;

// What the main window's one-second tick asks for at one tick.
struct TickEvents
{
    bool endTip = false;
    bool autosave = false;

    bool operator==(const TickEvents&) const = default;
};

// `tickCount` counts seconds since the window was created and is never reset.
// The durations come with every tick, so a change in the options dialog
// applies from the next second on.
class TickSchedule
{
public:
    // tipsDuration in seconds, autosaveDuration in minutes (0 or less: off).
    TickEvents onTick(int tipsDuration, int autosaveDuration);
    qint64 tickCount() const { return m_tickCount; }

private:
    qint64 m_tickCount = 0;
};

// The editor is repainted six times, 50 ms apart, right after the window is
// shown, while the window system may still be settling its size and place.
class RefreshSchedule
{
public:
    static constexpr int intervalMs = 50;

    // Whether this timer event repaints; false once the six repaints are done.
    bool onRefresh();
    bool finished() const { return m_finished; }
    qint16 refreshCount() const { return m_refreshCount; }

private:
    qint16 m_refreshCount = 0;
    bool m_finished = false;
};

// Drives the two schedules of the main window (`tmrTick`, `tmrRefresh`),
// reading "TipsDuration" and "AutosaveDuration" from the options at every tick.
// It owns timers only once started; tests call tick() and refreshTick()
// instead, so no test waits for a second to pass.
class WindowTicks : public QObject
{
    Q_OBJECT

public:
    static constexpr int tickIntervalMs = 1000;

    explicit WindowTicks(const Options& options, QObject* parent = nullptr);

    void start();
    qint64 tickCount() const { return m_ticks.tickCount(); }
    qint16 refreshCount() const { return m_refresh.refreshCount(); }

public Q_SLOTS:
    void tick();
    void refreshTick();

Q_SIGNALS:
    void tipEnded();
    void autosaveDue();
    void repaintDue();

private:
    const Options& m_options;
    TickSchedule m_ticks;
    RefreshSchedule m_refresh;
    QTimer* m_tickTimer = nullptr;
    QTimer* m_refreshTimer = nullptr;
};
