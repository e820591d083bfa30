#include "book_search_target.h"
#include "dialog_child.h"
#include "dialogs/find_dialog.h"
#include "ui/cue_text_box.h"

namespace {

class FindDialogTest : public ::testing::Test
{
protected:
    void open(const QStringList& pages, int openPage, int caret,
              const QString& cue = BuiltInTexts::text(TextId::FindWhatCue))
    {
        m_target = std::make_unique<BookSearchTarget>(pages, openPage, caret);
        m_dialog = new FindDialog(
            *m_target, m_messages,
            [cue](TextId id) { return id == TextId::FindWhatCue ? cue : BuiltInTexts::text(id); },
            nullptr, &m_owner);
        m_dialog->bringForward();
    }

    template <typename T> T* child(const char* name) const { return ::child<T>(m_dialog, name); }

    CueTextBox* what() const { return child<CueTextBox>("txtWhat"); }
    void click(const char* name) const { clickOn(m_dialog, name); }
    void pressEnter() { QTest::keyClick(what(), Qt::Key_Return); }
    QString selection() const { return m_target->selection(); }

    RecordingMessageService m_messages;
    std::unique_ptr<BookSearchTarget> m_target;
    QWidget m_owner;
    QPointer<FindDialog> m_dialog;
};

const QString kCompleted = QStringLiteral("Поиск завершен.");

} // namespace

TEST_F(FindDialogTest, EnterWalksOnFromTheLastPageAndReportsCompletionOnTheStartPage)
{
    open({QStringLiteral("Петров"), QStringLiteral("Иванов"), QStringLiteral("Сидоров")}, 3, 7);
    click("chkAllPages");
    what()->setText(QStringLiteral("Петров"));
    pressEnter();
    EXPECT_EQ(selection(), QStringLiteral("1@0+6"));
    EXPECT_TRUE(m_messages.entries().empty());
    pressEnter();
    ASSERT_EQ(m_messages.texts(), QStringList{kCompleted});
    EXPECT_EQ(m_messages.entries()[0].icon, MessageService::Icon::Information);
    EXPECT_EQ(m_target->currentPage(), 3);
    EXPECT_TRUE(m_dialog->isVisible());
}

TEST_F(FindDialogTest, ABoxClickedOrTheSampleEditedStartsAgainFromTheCaretOfThatMoment)
{
    open({QStringLiteral("a a a a")}, 1, 0);
    what()->setText(QStringLiteral("a"));
    click("cmdFind");
    click("cmdFind");
    EXPECT_EQ(selection(), QStringLiteral("1@2+1"));

    m_target->selectionStart = 5;
    click("chkWholeWord");
    click("cmdFind");
    EXPECT_EQ(selection(), QStringLiteral("1@6+1"));
    m_target->selectionStart = 3;
    click("chkWholeWord");
    click("cmdFind");
    EXPECT_EQ(selection(), QStringLiteral("1@4+1"));

    m_target->selectionStart = 1;
    what()->setCursorPosition(1);
    QTest::keyClick(what(), Qt::Key_B);
    QTest::keyClick(what(), Qt::Key_Backspace);
    click("cmdFind");
    EXPECT_EQ(selection(), QStringLiteral("1@2+1"));

    // Whole word and match case together ask for both bits.
    click("chkWholeWord");
    click("chkMatchCase");
    m_target->optionsAsked.clear();
    click("cmdFind");
    EXPECT_EQ(m_target->optionsAsked, QList<int>{6});
}

TEST_F(FindDialogTest, AnEmptyBoxShowsTheBalloonAndChangesNothingElse)
{
    open({QStringLiteral("Петров"), QStringLiteral("Петров")}, 1, 3);
    click("chkAllPages");
    pressEnter();
    const BalloonTip* balloon = what()->balloonTip();
    ASSERT_TRUE(balloon->isVisible());
    EXPECT_TRUE(m_messages.entries().empty());
    EXPECT_TRUE(m_target->optionsAsked.isEmpty());
    EXPECT_EQ(selection(), QStringLiteral("1@3+0"));

    QTest::keyClick(what(), Qt::Key_X);
    EXPECT_FALSE(balloon->isVisible());
}

// Once the box is left empty its cue shows in full, in Russian and in English.
TEST_F(FindDialogTest, TheCueBannerShowsWholeAndEscapeOrCancelClosesTheWindowForGood)
{
    for (const QString& cue :
         {BuiltInTexts::text(TextId::FindWhatCue), QStringLiteral("Type the text to find")}) {
        open({QStringLiteral("a")}, 1, 0, cue);
        child<QCheckBox>("chkMatchCase")->setFocus();
        EXPECT_EQ(what()->placeholderText(), cue);
        const int frame = what()->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        EXPECT_GE(what()->width() - 2 * frame - 4, what()->fontMetrics().horizontalAdvance(cue))
            << cue.toStdString();
        delete m_dialog;
    }
    // Escape and Cancel close the window, which is gone.
    for (const bool escape : {true, false}) {
        open({QStringLiteral("a")}, 1, 0);
        EXPECT_EQ(unnamedControls(m_dialog), QStringList());
        EXPECT_FALSE(m_dialog->isModal());
        if (escape)
            QTest::keyClick(what(), Qt::Key_Escape);
        else
            click("cmdCancel");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(m_dialog.isNull()) << escape;
    }
}
