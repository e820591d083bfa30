#include "core/code_page.h"
#include "core/settings_store.h"
#include "dialog_child.h"
#include "dialogs/help_copy_button.h"
#include "dialogs/help_window.h"
#include "ui/rich_text_edit.h"

namespace {

const QColor kHilite(132, 145, 180);
const QColor kShadow(66, 72, 90);

// The help files beside a program in a folder of the test's own, and a
// window set up as the program sets it up, open over `owner`.
class HelpWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeAll(dir.filePath("velkaro.hlp"),
                 CodePage::encodeLossy(u"\"help.rtf\"\r\nПервая\r\nВторая\r\nТретья\r\n"_qs));
        writeAll(dir.filePath("help.rtf"), "{\\rtf1\\ansi\\ansicpg1251 &1\\par First topic\\par "
                                           "&2\\par\\fi-240\\li480\\tx480 \\bullet\\tab " +
                                               QByteArray("A wrapped item. ").repeated(40) +
                                               "\\par\\pard &3\\par Third topic\\par "
                                               "with two lines\\par &4\\par}");
    }
    QPointer<HelpWindow> show()
    {
        return HelpWindow::showModeless({dir.filePath("velkaro.hlp"), kHilite, kShadow,
                                         [](TextId id) { return BuiltInTexts::text(id); }, &store,
                                         &messages},
                                        &owner);
    }
    template <typename T> T* in(const char* name) const { return child<T>(help, name); }
    void closeHelp()
    {
        help->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QTemporaryDir dir;
    SettingsStore store{
        std::make_unique<QSettings>(dir.filePath("settings.ini"), QSettings::IniFormat)};
    RecordingMessageService messages;
    QWidget owner;
    QPointer<HelpWindow> help;
};

} // namespace

// That no size makes a control negative, the text stays inside its frame and
// the list ends before the copy button is HelpLayout's (tests/rules). Opening
// by every route, the shared window and missing help files are driven through
// the real window in tests/app (HelpAndPrint); a failing load is HelpDocument's.
TEST_F(HelpWindowTest, OpensLargeEnoughToReadShowsTheChosenTitleCopiesAndRemembersWhereItWas)
{
    help = show();
    ASSERT_TRUE(help);
    EXPECT_EQ(unnamedControls(help), QStringList());
    // Lines of some seventy characters of the topics' 9 points, and a screenful of them.
    const QFontMetrics topic(QFont(in<QWidget>("rtfHelp")->font().family(), 9));
    const QSize readable = in<RichTextEdit>("rtfHelp")->viewport()->size();
    EXPECT_GE(readable.width(), 70 * topic.averageCharWidth()) << help->width();
    EXPECT_GE(readable.height(), 25 * topic.lineSpacing()) << help->height();
    auto* list = in<QComboBox>("cboContents");
    ASSERT_EQ(list->count(), 3);
    list->setCurrentIndex(2);
    auto* text = in<RichTextEdit>("rtfHelp");
    EXPECT_EQ(std::pair(text->text(), text->isReadOnly()),
              std::pair(u"Third topic\r\nwith two lines"_qs, true));
    // A bullet item's wrapped lines start under its text.
    list->setCurrentIndex(1);
    const QTextLayout* item = text->document()->begin().layout();
    ASSERT_GT(item->lineCount(), 1);
    EXPECT_EQ(item->lineAt(1).cursorToX(item->lineAt(1).textStart()), item->lineAt(0).cursorToX(2));
    list->setCurrentIndex(2);
    text->setSelStart(6);
    text->setSelLength(5);
    QApplication::clipboard()->clear();
    QTest::mouseClick(in<HelpCopyButton>("imgCopy"), Qt::LeftButton, {}, QPoint(8, 8));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::clipboard()->text(), u"topic"_qs);
    help->resize(520, 410);
    closeHelp();
    EXPECT_FALSE(help);
    help = show();
    ASSERT_TRUE(help);
    EXPECT_EQ(help->size(), QSize(520, 410));
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

    QStringList looks;
    const auto look = [&] { looks << QString::number(int(button.look())); };
    QEnterEvent enter(inside, button.mapTo(&window, inside), button.mapToGlobal(inside));
    QApplication::sendEvent(&button, &enter);
    look();
    QImage hot = button.grab().toImage();
    EXPECT_EQ(hot.pixelColor(0, 0), kShadow) << "outline";
    EXPECT_EQ(hot.pixelColor(1, 1), kHilite) << "background";
    EXPECT_EQ(hot.pixelColor(2, 2), QColor(Qt::black)) << "picture raised to (35, 35) twips";

    QTest::mousePress(&button, Qt::LeftButton, {}, inside);
    look();
    EXPECT_NE(button.grab().toImage().pixelColor(2, 2), QColor(Qt::black)) << "picture sunk";
    QTest::mouseMove(&button, outside);
    look();
    QTest::mouseMove(&button, inside);
    look();
    QTest::mouseRelease(&button, Qt::LeftButton, {}, outside);
    look();
    EXPECT_EQ(std::pair(clicks, releases), std::pair(0, 1));
    QTest::mousePress(&button, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, inside);
    look();
    EXPECT_EQ(clicks, 1);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    look();
    using L = HelpCopyButton::Look;
    EXPECT_EQ(looks, QStringList({QString::number(int(L::Hot)), QString::number(int(L::Pressed)),
                                  QString::number(int(L::Hot)), QString::number(int(L::Pressed)),
                                  QString::number(int(L::Normal)), QString::number(int(L::Hot)),
                                  QString::number(int(L::Normal))}));
    EXPECT_EQ(button.grab().toImage().pixelColor(0, 0), button.palette().color(QPalette::Button));
}
