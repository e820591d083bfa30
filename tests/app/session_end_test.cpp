#include "app/termination_signals.h"
#include "widget_test.h"

// Windows asks every program before a session ends and then announces the
// end; only the announcement closes the program, and only when the end is
// not called off.
TEST(SessionEnd, TheProgramClosesWhenTheSessionReallyEnds)
{
    const struct
    {
        const char* what;
        quint32 message;
        quintptr wParam;
        bool handled;
        qintptr answer;
        qsizetype requests;
    } cases[] = {
        {"the end asked", TerminationSignals::QueryEndSessionMessage, 0, true, 1, 0},
        {"the end announced", TerminationSignals::EndSessionMessage, 1, true, 0, 1},
        {"the end called off", TerminationSignals::EndSessionMessage, 0, true, 0, 0},
        {"a close message", 0x0010, 1, false, -7, 0},
    };
    for (const auto& c : cases) {
        TerminationSignals termination;
        QSignalSpy requested(&termination, &TerminationSignals::terminationRequested);
        qintptr answer = -7;
        EXPECT_EQ(termination.windowsMessage(c.message, c.wParam, &answer), c.handled) << c.what;
        EXPECT_EQ(answer, c.answer) << c.what;
        EXPECT_EQ(requested.count(), c.requests) << c.what;
    }
}
