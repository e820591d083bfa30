#include "core/options.h"
#include "core/window_ticks.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The ticks, counted from 1, at which the schedule asked for a save.
std::vector<qint64> autosaveTicks(qint64 lastTick, int autosaveDuration)
{
    TickSchedule schedule;
    std::vector<qint64> saves;
    while (schedule.TickCount() < lastTick) {
        if (schedule.onTick(10, autosaveDuration).autosave)
            saves.push_back(schedule.TickCount());
    }
    return saves;
}

std::vector<qint64> tipEndTicks(qint64 lastTick, int tipsDuration)
{
    TickSchedule schedule;
    std::vector<qint64> ends;
    while (schedule.TickCount() < lastTick) {
        if (schedule.onTick(tipsDuration, 0).endTip)
            ends.push_back(schedule.TickCount());
    }
    return ends;
}

TEST(TickSchedule, AutosaveEveryDurationInMinutesOfRunTime)
{
    EXPECT_EQ(autosaveTicks(1000, 5), (std::vector<qint64>{300, 600, 900}));
    EXPECT_EQ(autosaveTicks(200, 1), (std::vector<qint64>{60, 120, 180}));
    EXPECT_TRUE(autosaveTicks(3600, 0).empty());
    EXPECT_TRUE(autosaveTicks(3600, -5).empty());
}

TEST(TickSchedule, AutosaveGoesOnAfterManyHours)
{
    TickSchedule schedule;
    int saves = 0;
    while (schedule.TickCount() < 360000) {
        if (schedule.onTick(10, 5).autosave)
            ++saves;
    }
    EXPECT_EQ(saves, 360000 / 300);
    EXPECT_TRUE(schedule.onTick(10, 5) == TickEvents{});
}

TEST(TickSchedule, TipEndsOnceAtItsDuration)
{
    EXPECT_EQ(tipEndTicks(100, 10), (std::vector<qint64>{10}));
    EXPECT_EQ(tipEndTicks(100, 1), (std::vector<qint64>{1}));
    EXPECT_TRUE(tipEndTicks(100, 0).empty());
    EXPECT_TRUE(tipEndTicks(100, -1).empty());
}

TEST(WindowTicks, ReadsTheDurationsAtEveryTick)
{
    Options options;
    options.TipsDuration = 3;
    options.AutosaveDuration = 0;
    WindowTicks ticks(options);
    QSignalSpy tipEnded(&ticks, &WindowTicks::tipEnded);
    QSignalSpy autosave(&ticks, &WindowTicks::autosaveDue);

    ticks.tick();
    options.TipsDuration = 2; // the options dialog shortened the tip
    ticks.tick();
    EXPECT_EQ(tipEnded.count(), 1);

    for (int i = 2; i < 59; ++i)
        ticks.tick();
    options.AutosaveDuration = 1;
    ticks.tick();
    EXPECT_EQ(ticks.TickCount(), 60);
    EXPECT_EQ(autosave.count(), 1);
    EXPECT_EQ(tipEnded.count(), 1);
}

TEST(WindowTicks, RepaintSignalStopsAfterSix)
{
    Options options;
    WindowTicks ticks(options);
    QSignalSpy repaint(&ticks, &WindowTicks::repaintDue);
    for (int i = 0; i < 10; ++i)
        ticks.refreshTick();
    EXPECT_EQ(repaint.count(), 6);
    EXPECT_EQ(ticks.RefreshCount(), 6);
}

} // namespace
