#include "core/built_in_text.h"
#include "rules/about_rules.h"
#include "unit_test.h"

namespace {

QString builtInCaption(int revision)
{
    const QString stage = AboutRules::stageText(revision, BuiltInTexts::text(TextId::AboutAlpha),
                                                BuiltInTexts::text(TextId::AboutBeta));
    return AboutRules::versionCaption(BuiltInTexts::text(TextId::AboutVersion), 3, 1, revision,
                                      stage);
}

} // namespace

TEST(AboutRules, TheRevisionGivesStageAndBuildTheLinkEncodesItsPartsAndTheBandSteps)
{
    const std::pair<int, const char16_t*> cases[] = {
        {1205, u"Версия 3.1 альфа 2 (сборка 5)"}, {342, u"Версия 3.1 (сборка 42)"},
        {2417, u"Версия 3.1 бета 4 (сборка 17)"}, {100, u"Версия 3.1 альфа 0 (сборка 0)"},
        {30012, u"Версия 3.1 (сборка 12)"},
    };
    for (const auto& [revision, expected] : cases)
        EXPECT_EQ(builtInCaption(revision), QString::fromUtf16(expected)) << revision;

    // A translation's patterns are filled the same way.
    const QString stage = AboutRules::stageText(2305, "alpha %no", "beta #%no");
    EXPECT_EQ(stage, "beta #3 ");
    EXPECT_EQ(AboutRules::versionCaption("%inter%major-%minor, build %build, %major again", 10, 0,
                                         2305, stage),
              "beta #3 10-0, build 5, 10 again");
    // The feedback link encodes subject and body, with mail line breaks.
    EXPECT_EQ(AboutRules::feedbackLink("me@example.org", "Bug/Wish & more?",
                                       "System: Debian 12\nVersion: 1.0\r\n"),
              "mailto:me@example.org?Subject=Bug%2FWish%20%26%20more%3F"
              "&body=System%3A%20Debian%2012%0D%0AVersion%3A%201.0%0D%0A");

    const QString subject = BuiltInTexts::text(TextId::AboutMailSubject);
    const QString link = AboutRules::feedbackLink("me@example.org", subject, u"Система"_qs);
    const QString encodedSubject = link.section('=', 1).section('&', 0, 0);
    EXPECT_EQ(QUrl::fromPercentEncoding(encodedSubject.toLatin1()), subject);
    EXPECT_TRUE(link.endsWith("&body=%D0%A1%D0%B8%D1%81%D1%82%D0%B5%D0%BC%D0%B0"));
    // The colour band steps evenly from the first colour, rounding half to even.
    using Rgb = AboutRules::Rgb;
    EXPECT_EQ(AboutRules::gradient({0, 0, 0}, {2, 6, 10}, 4),
              (QList<Rgb>{{0, 0, 0}, {0, 2, 2}, {1, 3, 5}, {2, 4, 8}}));
    const QList<Rgb> band = AboutRules::gradient({101, 126, 211}, {108, 140, 228}, 350);
    ASSERT_EQ(band.size(), 350);
    EXPECT_EQ(band.front(), (Rgb{101, 126, 211}));
    EXPECT_EQ(band.back(), (Rgb{108, 140, 228}));
    EXPECT_TRUE(AboutRules::gradient({0, 0, 0}, {255, 255, 255}, 0).isEmpty());
}
