#include "core/code_page.h"
#include "core/settings_store.h"
#include "dialog_child.h"
#include "dialogs/help_copy_button.h"
#include "dialogs/help_window.h"
#include "recording_message_service.h"
#include "test_files.h"
#include "ui/rich_text_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEnterEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor kHilite(132, 145, 180);
const QColor kShadow(66, 72, 90);

// The help files beside a program in a folder of the test's own, and a
// window set up as the program sets it up.
struct HelpFixture
{
    QTemporaryDir dir;
    SettingsStore store{
        std::make_unique<QSettings>(dir.filePath("settings.ini"), QSettings::IniFormat)};
    RecordingMessageService messages;

    void writeHelp() const
    {
        writeAll(dir.filePath("velkaro.hlp"),
                 CodePage::encodeLossy(u"\"help.rtf\"\r\nПервая\r\nВторая\r\nТретья\r\n"_qs));
        writeAll(dir.filePath("help.rtf"), "{\\rtf1\\ansi\\ansicpg1251 &1\\par First topic\\par "
                                           "&2\\par Second topic\\par &3\\par Third topic\\par "
                                           "with two lines\\par &4\\par}");
    }
    HelpWindow::Setup setup()
    {
        return {dir.filePath("velkaro.hlp"),
                kHilite,
                kShadow,
                [](TextId id) { return BuiltInTexts::text(id); },
                &store,
                &messages};
    }
};

QString shownText(QWidget* window)
{
    return child<RichTextEdit>(window, "rtfHelp")->Text();
}

} // namespace

// Opening by every route, the shared window and a missing help file are
// driven through the real window in tests/app.
TEST(HelpWindow, ShowsWhicheverTitleIsChosenAndIsGoneOnceClosed)
{
    HelpFixture f;
    f.writeHelp();
    QWidget owner;
    QPointer<HelpWindow> help = HelpWindow::showModeless(f.setup(), &owner);
    ASSERT_TRUE(help);
    EXPECT_EQ(unnamedControls(help), QStringList());
    auto* list = child<QComboBox>(help, "cboContents");
    ASSERT_EQ(list->count(), 3);
    list->setCurrentIndex(2);
    EXPECT_EQ(shownText(help), u"Third topic\r\nwith two lines"_qs);
    EXPECT_TRUE(child<RichTextEdit>(help, "rtfHelp")->isReadOnly());
    help->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(help);
}

TEST(HelpWindow, ATopicListWhoseDocumentIsMissingGivesOneMessageAndNoWindow)
{
    HelpFixture f;
    writeAll(f.dir.filePath("velkaro.hlp"), "\"help.rtf\"\r\nA\r\n");
    QWidget owner;
    EXPECT_EQ(HelpWindow::showModeless(f.setup(), &owner), nullptr);
    EXPECT_EQ(f.messages.texts(), QStringList{u"Не удается открыть справочный файл."_qs});
    EXPECT_TRUE(owner.findChildren<HelpWindow*>().isEmpty());
}

TEST(HelpWindow, OpensLargeEnoughToReadRemembersWhereItWasAndLaysOutEvenWhenTiny)
{
    HelpFixture f;
    f.writeHelp();
    QWidget owner;
    QPointer<HelpWindow> help = HelpWindow::showModeless(f.setup(), &owner);
    ASSERT_TRUE(help);
    // Lines of some seventy characters of the topics' 9 points, and a screenful of them.
    const QFontMetrics topic(QFont(child<QWidget>(help, "rtfHelp")->font().family(), 9));
    const QSize readable = child<RichTextEdit>(help, "rtfHelp")->viewport()->size();
    EXPECT_GE(readable.width(), 70 * topic.averageCharWidth()) << help->width();
    EXPECT_GE(readable.height(), 25 * topic.lineSpacing()) << help->height();
    help->resize(520, 410);
    auto* frame = child<QWidget>(help, "shpFrame");
    auto* text = child<QWidget>(help, "rtfHelp");
    EXPECT_TRUE(frame->geometry().contains(text->geometry()));
    EXPECT_LT(child<QWidget>(help, "cboContents")->geometry().right(),
              child<QWidget>(help, "imgCopy")->x());
    help->resize(12, 12);
    for (const char* name : {"cboContents", "imgCopy", "shpFrame", "rtfHelp"}) {
        EXPECT_GE(child<QWidget>(help, name)->width(), 0) << name;
        EXPECT_GE(child<QWidget>(help, name)->x(), 0) << name;
    }
    help->resize(520, 410);
    help->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    help = HelpWindow::showModeless(f.setup(), &owner);
    ASSERT_TRUE(help);
    EXPECT_EQ(help->size(), QSize(520, 410));
    help->close();
}

TEST(HelpWindow, TheCopyButtonCopiesTheSelectedHelpText)
{
    HelpFixture f;
    f.writeHelp();
    QWidget owner;
    QPointer<HelpWindow> help = HelpWindow::showModeless(f.setup(), &owner);
    ASSERT_TRUE(help);
    auto* text = child<RichTextEdit>(help, "rtfHelp");
    text->setSelStart(6);
    text->setSelLength(5);
    QApplication::clipboard()->clear();
    auto* button = child<HelpCopyButton>(help, "imgCopy");
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::clipboard()->text(), u"topic"_qs);
    help->close();
}

TEST(HelpCopyButton, HotAndPressedLooksFollowThePointerAndStandOnTheHighlight)
{
    QWidget window;
    QPixmap picture(16, 16);
    picture.fill(Qt::black);
    HelpCopyButton button(picture, kHilite, kShadow, &window);
    button.resize(24, 24);
    window.show();
    int clicks = 0;
    int releases = 0;
    QObject::connect(&button, &HelpCopyButton::clicked, [&] { ++clicks; });
    QObject::connect(&button, &HelpCopyButton::released, [&] { ++releases; });
    const QPoint inside(12, 12);
    const QPoint outside(40, 40);

    QEnterEvent enter(inside, button.mapTo(&window, inside), button.mapToGlobal(inside));
    QApplication::sendEvent(&button, &enter);
    EXPECT_EQ(button.look(), HelpCopyButton::Look::Hot);
    QImage hot = button.grab().toImage();
    EXPECT_EQ(hot.pixelColor(0, 0), kShadow) << "outline";
    EXPECT_EQ(hot.pixelColor(1, 1), kHilite) << "background";
    EXPECT_EQ(hot.pixelColor(2, 2), QColor(Qt::black)) << "picture raised to (35, 35) twips";

    QTest::mousePress(&button, Qt::LeftButton, {}, inside);
    EXPECT_EQ(button.look(), HelpCopyButton::Look::Pressed);
    EXPECT_NE(button.grab().toImage().pixelColor(2, 2), QColor(Qt::black)) << "picture sunk";
    QTest::mouseMove(&button, outside);
    EXPECT_EQ(button.look(), HelpCopyButton::Look::Hot);
    QTest::mouseMove(&button, inside);
    EXPECT_EQ(button.look(), HelpCopyButton::Look::Pressed);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, outside);
    EXPECT_EQ(button.look(), HelpCopyButton::Look::Normal);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(releases, 1);

    QTest::mousePress(&button, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, inside);
    EXPECT_EQ(button.look(), HelpCopyButton::Look::Hot);
    EXPECT_EQ(clicks, 1);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_EQ(button.look(), HelpCopyButton::Look::Normal);
    const QImage normal = button.grab().toImage();
    EXPECT_EQ(normal.pixelColor(0, 0), button.palette().color(QPalette::Button));
}
