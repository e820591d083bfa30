#include "core/options.h"
#include "rules/window_ticks.h"
#include "unit_test.h"

namespace {

// The ticks, counted from 1, at which the schedule asked for a save (or ended the tip).
std::vector<qint64> ticksWith(bool TickEvents::*event, qint64 lastTick, int tips, int autosave)
{
    TickSchedule schedule;
    std::vector<qint64> ticks;
    while (schedule.tickCount() < lastTick) {
        if (schedule.onTick(tips, autosave).*event)
            ticks.push_back(schedule.tickCount());
    }
    return ticks;
}

TEST(TickSchedule, AutosaveRepeatsForHoursAndTheTipEndsOnceWhileDurationsArePositive)
{
    const auto saves = [](qint64 last, int minutes) {
        return ticksWith(&TickEvents::autosave, last, 10, minutes);
    };
    EXPECT_EQ(saves(200, 1), (std::vector<qint64>{60, 120, 180}));
    EXPECT_TRUE(saves(3600, -5).empty());
    const std::vector<qint64> manyHours = saves(360000, 5);
    EXPECT_EQ(manyHours.size(), 360000u / 300);
    EXPECT_EQ(manyHours.back(), 360000);

    const auto ends = [](int seconds) { return ticksWith(&TickEvents::endTip, 100, seconds, 0); };
    EXPECT_EQ(ends(1), (std::vector<qint64>{1}));
    EXPECT_TRUE(ends(0).empty());
    EXPECT_TRUE(ends(-1).empty());
    // The window's ticks read the durations at every tick.
    Options options;
    options.tipsDuration = 3;
    options.autosaveDuration = 0;
    WindowTicks ticks(options);
    QSignalSpy tipEnded(&ticks, &WindowTicks::tipEnded);
    QSignalSpy autosave(&ticks, &WindowTicks::autosaveDue);

    ticks.tick();
    options.tipsDuration = 2; // the options dialog shortened the tip
    ticks.tick();
    EXPECT_EQ(tipEnded.count(), 1);

    for (int i = 2; i < 59; ++i)
        ticks.tick();
    options.autosaveDuration = 1;
    ticks.tick();
    EXPECT_EQ(ticks.tickCount(), 60);
    EXPECT_EQ(autosave.count(), 1);
    EXPECT_EQ(tipEnded.count(), 1);
}

} // namespace
