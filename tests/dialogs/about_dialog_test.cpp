#include "core/app_info.h"
#include "core/event_log.h"
#include "core/localization.h"
#include "core/twips.h"
#include "dialog_child.h"
#include "dialogs/about_dialog.h"
#include "rules/about_rules.h"
#include "ui/form_localizer.h"
#include "ui/window_placement.h"

namespace {

QString versionLabel(QWidget* box)
{
    return child<QLabel>(box, "lblVersion")->text();
}

// The box as the program opens it: texts through "language.ini" in a folder
// of the test's own, which holds no file unless the test writes one.
struct AboutFixture
{
    QTemporaryDir dir;
    EventLog log;
    Localization localization{{dir.path()}, log};
    RecordingMessageService messages;

    AboutFixture() { log.openLog(dir.filePath("velkaro.log"), 0); }

    std::unique_ptr<AboutDialog> open()
    {
        auto box = std::make_unique<AboutDialog>(
            nullptr, [this](TextId id) { return localization.text(id); },
            [this](QWidget* form) { FormLocalizer::localize(form, localization); }, messages, log);
        box->show();
        return box;
    }
};

} // namespace

TEST(AboutBox, F1ToF3SwitchScreensFromAnyControlTheFeedbackLinkAsksForThisSystemAndOkCloses)
{
    AboutFixture f;
    auto box = f.open();
    EXPECT_EQ(unnamedControls(box.get()), QStringList());
    auto* properties = child<QWidget>(box.get(), "picScreen2");
    auto* thanks = child<QListWidget>(box.get(), "lstThanks");
    // The heading, then whether the properties and the thanks show.
    const auto screen = [&] {
        return QStringLiteral("%1 %2%3")
            .arg(versionLabel(box.get()))
            .arg(int(properties->isVisible()))
            .arg(int(thanks->isVisible()));
    };
    const QString version = versionLabel(box.get());
    EXPECT_TRUE(version.startsWith(QStringLiteral("Версия "))) << version;
    EXPECT_EQ(screen(), version + " 00");
    // The keys reach the box from whichever control has the focus.
    QTest::keyClick(child<QPushButton>(box.get(), "cmdOK"), Qt::Key_F2);
    EXPECT_EQ(screen(), u"Информация о приложении 10"_qs);
    QTest::keyClick(child<QListWidget>(box.get(), "lstAppProperties"), Qt::Key_F3);
    EXPECT_EQ(screen(), u"Благодарности: 01"_qs);
    QTest::keyClick(thanks, Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(screen(), u"Благодарности: 01"_qs);
    QTest::keyClick(thanks, Qt::Key_F1);
    EXPECT_EQ(screen(), version + " 00");

    // The feedback link lies over its words and asks for this system.
    auto* link = child<QLabel>(box.get(), "lblMailMe");
    const QRect description = child<QLabel>(box.get(), "lblDescription")->geometry();
    EXPECT_TRUE(description.contains(link->geometry().topLeft()));
    EXPECT_LE(link->geometry().right(), description.right() + 1);

    const QString body = QStringLiteral("Система: %1\nВерсия программы: %2\n\n")
                             .arg(QSysInfo::prettyProductName(), AppInfo::versionText());
    const QString expected = AboutRules::feedbackLink(
        AppInfo::feedbackAddress(), QStringLiteral("Отчет об ошибке/Пожелание/Вопрос"), body);
    EXPECT_EQ(QUrl(link->toolTip()).toEncoded(), expected.toLatin1());
    EXPECT_FALSE(link->toolTip().contains("%D0")); // readable, not encoded Cyrillic

    QTest::mouseClick(child<QPushButton>(box.get(), "cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
}

TEST(AboutBox, PropertiesShowTheRunningProgramAndADoubleClickShowsOne)
{
    AboutFixture f;
    auto box = f.open();
    QTest::keyClick(box.get(), Qt::Key_F2);
    auto* list = child<QListWidget>(box.get(), "lstAppProperties");
    QHash<QString, QString> values;
    for (int i = 0; i < list->count(); ++i) {
        const QString row = list->item(i)->text();
        values[row.section('\t', 0, 0)] = row.section('\t', -1);
    }
    EXPECT_EQ(list->item(3)->text().section('\t', 0, 0), "Revision");
    EXPECT_EQ(values["EXEName"], "dialogs_tests");
    EXPECT_EQ(values["LogMode"], QStringLiteral("запись включена"));
    EXPECT_EQ(values["LogPath"], QDir::toNativeSeparators(f.dir.filePath("velkaro.log")));

    // A double click: the first click, then the second one as a double click.
    const QPoint revision = list->visualItemRect(list->item(3)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, revision);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, revision);
    ASSERT_EQ(f.messages.entries().size(), 1u);
    EXPECT_EQ(f.messages.entries()[0].title, "Revision");
    EXPECT_EQ(f.messages.entries()[0].text, QString::number(AppInfo::versionRevision));
}

TEST(AboutBox, ATranslationMovesTheLinkAndReplacesCaptionsAndPatterns)
{
    AboutFixture f;
    ASSERT_TRUE(writeAll(f.dir.filePath("language.ini"),
                         "[frmAbout]\r\n"
                         "@=About %apptitle\r\n"
                         "lblMailMe=write to me\r\n"
                         "lblMailMe.Left=1500\r\n"
                         "lblMailMe.top= 3000 \r\n"
                         "Me.lblMailMe.ToolTipText=mailto:x@y.z\r\n"
                         "lblVersion=v%major.%minor%inter/%build\r\n"
                         "beta=b%no\r\n"
                         "AppInfoScreen=Info\r\n"));
    auto box = f.open();
    EXPECT_EQ(box->windowTitle(), "About Velkaro Pro");
    auto* link = child<QLabel>(box.get(), "lblMailMe");
    EXPECT_EQ(link->text(), "write to me");
    const double dpi = WindowPlacement::logicalDpi();
    EXPECT_EQ(link->pos(), QPoint(Twips::toPixels(1500, dpi), Twips::toPixels(3000, dpi)));
    EXPECT_EQ(link->toolTip(), "mailto:x@y.z");

    const QString version = versionLabel(box.get());
    EXPECT_EQ(version, AboutRules::versionCaption(
                           "v%major.%minor%inter/%build", AppInfo::versionMajor,
                           AppInfo::versionMinor, AppInfo::versionRevision,
                           AboutRules::stageText(AppInfo::versionRevision,
                                                 QStringLiteral("альфа %no"), "b%no")));
    QTest::keyClick(box.get(), Qt::Key_F2);
    EXPECT_EQ(versionLabel(box.get()), "Info");
    QTest::keyClick(box.get(), Qt::Key_F1);
    EXPECT_EQ(versionLabel(box.get()), version);
}
