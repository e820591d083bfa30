#include "app/highlight_colors.h"
#include "app/single_instance.h"
#include "app/termination_signals.h"
#include "widget_test.h"

#include <csignal>

TEST(HighlightColors, PaleColoursArePulledTowards200WithHalvesToEven)
{
    // 199 -> 227 -> 213.5 -> 214; 203 -> 229 -> 214.5 -> 214; 201 -> 228 -> 214.
    const HighlightColors c = HighlightColors::setHighlightColors(qRgb(199, 203, 201));
    EXPECT_EQ(c.HiliteColor, qRgb(214, 214, 214));
    EXPECT_EQ(c.HiliteShadowColor, qRgb(107, 107, 107));
    // One channel at or below 200 keeps all three where they are.
    const HighlightColors d = HighlightColors::setHighlightColors(qRgb(145, 255, 255));
    EXPECT_EQ(d.HiliteColor, qRgb(200, 255, 255));
}

// A start from the desktop's menu brings its activation token along, which
// Wayland wants before it lets the running window come forward.
TEST(SingleInstance, ASecondStartActivatesTheFirstAndHandsOverItsToken)
{
    const QString name =
        QStringLiteral("velkaro-test-") + QUuid::createUuid().toString(QUuid::Id128);
    SingleInstance first(name);
    SingleInstance second(name);
    EXPECT_FALSE(first.activateRunningInstance()) << "nobody is listening yet";
    ASSERT_TRUE(first.listen());
    QSignalSpy activated(&first, &SingleInstance::activationRequested);
    EXPECT_TRUE(second.activateRunningInstance(u"gnome-shell/Velkaro Pro/4242-0_TIME7"_qs));
    ASSERT_TRUE(activated.wait(5000));
    EXPECT_EQ(activated.at(0).at(0).toString(), u"gnome-shell/Velkaro Pro/4242-0_TIME7"_qs);
    EXPECT_TRUE(second.activateRunningInstance());
    ASSERT_TRUE(activated.wait(5000));
    EXPECT_EQ(activated.at(1).at(0).toString(), QString());
}

TEST(TerminationSignals, SigtermReachesTheEventLoop)
{
    TerminationSignals signals_;
    ASSERT_TRUE(signals_.install());
    QSignalSpy spy(&signals_, &TerminationSignals::terminationRequested);
    std::raise(SIGTERM);
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.at(0).at(0).toInt(), SIGTERM);
}
