#include "richtext/win_color.h"
#include "ui/rich_text_edit.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

const QString kPage = QStringLiteral("Иванов\tул. Ленина\r\nПетров\tпр. Мира\r\nСидоров");

// QTest::keyClicks knows ASCII only; a Cyrillic letter's key code is its
// upper-case character.
void type(QWidget* widget, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(ch.toUpper().unicode()), QString(ch),
                            Qt::NoModifier);
}

class RichTextEditTest : public ::testing::Test
{
protected:
    RichTextEdit edit;

    void select(int start, int length)
    {
        edit.setSelStart(start);
        edit.setSelLength(length);
    }
};

TEST_F(RichTextEditTest, PlainTextWrittenAsRichTextReadsBackUnchanged)
{
    edit.setTextRTF(kPage);
    EXPECT_EQ(edit.Text(), kPage);
    EXPECT_EQ(edit.document()->blockCount(), 3);

    edit.setTextRTF(QString());
    EXPECT_EQ(edit.Text(), QString());
    EXPECT_TRUE(edit.document()->isEmpty());
}

TEST_F(RichTextEditTest, ChangeFiresOnceForEveryWriteAndTypedKey)
{
    QSignalSpy changes(&edit, &RichTextEdit::Change);
    edit.setTextRTF(kPage);
    EXPECT_EQ(changes.count(), 1);
    edit.setTextRTF(kPage);
    EXPECT_EQ(changes.count(), 2);

    type(&edit, QStringLiteral("аб"));
    EXPECT_EQ(changes.count(), 4);
    EXPECT_TRUE(edit.Text().startsWith(QStringLiteral("абИванов")));

    select(0, 20);
    edit.setSelBold(true);
    EXPECT_EQ(changes.count(), 5);
}

TEST_F(RichTextEditTest, MixedAttributesReadAsNoValueAndWriteTheWholeSelection)
{
    edit.setTextRTF(QStringLiteral("полужирный"));
    select(0, 4);
    edit.setSelBold(true);
    edit.setSelColor(0x0000FFu);
    edit.setSelFontSize(10.5);
    edit.setSelFontName(QStringLiteral("Tahoma"));
    EXPECT_EQ(edit.SelBold(), true);
    EXPECT_EQ(edit.SelColor(), 0x0000FFu);
    EXPECT_EQ(edit.SelFontSize(), 10.5);
    EXPECT_EQ(edit.SelFontName(), QStringLiteral("Tahoma"));

    select(2, 5);
    EXPECT_EQ(edit.SelBold(), std::nullopt);
    EXPECT_EQ(edit.SelColor(), std::nullopt);
    EXPECT_EQ(edit.SelFontSize(), std::nullopt);
    EXPECT_EQ(edit.SelFontName(), std::nullopt);
    EXPECT_EQ(edit.SelItalic(), false);

    edit.setSelBold(true);
    EXPECT_EQ(edit.SelBold(), true);
    edit.setSelFontSize(1e9);
    EXPECT_EQ(edit.SelFontSize(), 1638.0);
    select(0, 10);
    EXPECT_EQ(edit.SelBold(), std::nullopt);
    EXPECT_EQ(edit.SelFontSize(), std::nullopt);
}

TEST_F(RichTextEditTest, CaretFormatAppliesToFurtherTyping)
{
    edit.setTextRTF(QStringLiteral("ab"));
    edit.setSelStart(2);
    QSignalSpy changes(&edit, &RichTextEdit::Change);
    edit.setSelItalic(true);
    edit.setSelStrikeThru(true);
    EXPECT_EQ(changes.count(), 0) << "nothing typed yet";
    EXPECT_EQ(edit.SelItalic(), true);

    type(&edit, QStringLiteral("вг"));
    select(2, 2);
    EXPECT_EQ(edit.SelItalic(), true);
    EXPECT_EQ(edit.SelStrikeThru(), true);
    select(0, 2);
    EXPECT_EQ(edit.SelItalic(), false);
}

TEST_F(RichTextEditTest, ColoursKeepWindowsValuesAndResolveSystemReferences)
{
    edit.setTextRTF(QStringLiteral("цвет"));
    select(0, 4);
    EXPECT_EQ(edit.SelColor(), WinColor::windowText) << "automatic colour";

    edit.setSelColor(0x00808000u);
    EXPECT_EQ(edit.SelColor(), 0x00808000u);

    edit.setSelColor(WinColor::highlight);
    const QColor highlight = QApplication::palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_EQ(edit.SelColor(), WinColor::fromQColor(highlight));

    edit.setSelColor(WinColor::windowText);
    EXPECT_EQ(edit.SelColor(), WinColor::windowText);
    EXPECT_FALSE(edit.textCursor().charFormat().hasProperty(QTextFormat::ForegroundBrush));

    edit.setBackColor(0x000000FFu);
    edit.setBackColor(WinColor::window);
    EXPECT_EQ(edit.BackColor(), WinColor::window);
    EXPECT_EQ(edit.palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::Active, QPalette::Base))
        << "a system colour is not taken from the page colour set before";
    edit.setBackColor(0x00C0FFFFu);
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(255, 255, 192));
}

TEST_F(RichTextEditTest, TabStopsInTwipsSurviveTheRichText)
{
    edit.setTextRTF(kPage);
    select(0, edit.Text().size());
    edit.setSelTabCount(2);
    edit.setSelTabs(0, 300);
    edit.setSelTabs(1, 3325);
    EXPECT_EQ(edit.SelTabCount(), 2);

    RichTextEdit copy;
    copy.setTextRTF(edit.TextRTF());
    copy.setSelStart(copy.Text().size());
    EXPECT_EQ(copy.SelTabCount(), 2) << "the last paragraph has them too";
    EXPECT_EQ(copy.SelTabs(0), 300);
    EXPECT_EQ(copy.SelTabs(1), 3325);
    EXPECT_EQ(copy.SelTabs(2), 0);

    select(0, edit.Text().size());
    edit.setSelTabCount(1'000'000'000);
    edit.setSelTabs(1'000'000, 1);
    EXPECT_EQ(edit.SelTabCount(), 32) << "the rich-edit control holds no more";
    edit.setSelTabCount(0);
    copy.setTextRTF(edit.TextRTF());
    EXPECT_EQ(copy.SelTabCount(), 0);
}

TEST_F(RichTextEditTest, KeysReachTheHookFirstAndInsertTogglesOverwrite)
{
    edit.setTextRTF(QStringLiteral("abc"));
    QList<int> seen;
    QObject::connect(
        &edit, &RichTextEdit::KeyDown, &edit,
        [&seen](int& key, Qt::KeyboardModifiers) {
            seen.append(key);
            if (key == Qt::Key_X)
                key = 0;
        },
        Qt::DirectConnection);
    QTest::keyClick(&edit, Qt::Key_X);
    EXPECT_EQ(edit.Text(), QStringLiteral("abc"));

    QSignalSpy toggles(&edit, &RichTextEdit::overwriteModeToggled);
    QTest::keyClick(&edit, Qt::Key_Insert);
    ASSERT_EQ(toggles.count(), 1);
    EXPECT_TRUE(toggles.first().first().toBool());
    QTest::keyClicks(&edit, QStringLiteral("z"));
    EXPECT_EQ(edit.Text(), QStringLiteral("zbc"));
    QTest::keyClick(&edit, Qt::Key_Insert);
    QTest::keyClicks(&edit, QStringLiteral("y"));
    EXPECT_EQ(edit.Text(), QStringLiteral("zybc"));
    EXPECT_EQ(seen, (QList<int>{Qt::Key_X, Qt::Key_Insert, Qt::Key_Z, Qt::Key_Insert, Qt::Key_Y}));
}

TEST_F(RichTextEditTest, ShiftEnterStartsAParagraph)
{
    edit.setTextRTF(QStringLiteral("ab"));
    edit.setSelStart(1);
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(edit.Text(), QStringLiteral("a\r\nb"));
    EXPECT_EQ(edit.document()->blockCount(), 2);
    EXPECT_EQ(edit.SelStart(), 3);
}

TEST_F(RichTextEditTest, PostedClearWaitsForTheEventLoop)
{
    edit.setTextRTF(QStringLiteral("удалить это"));
    select(0, 8);
    edit.postClear();
    EXPECT_EQ(edit.Text(), QStringLiteral("удалить это"));
    QCoreApplication::processEvents();
    EXPECT_EQ(edit.Text(), QStringLiteral("это"));

    edit.setReadOnly(true);
    edit.selectAll();
    edit.postClear();
    edit.postPaste();
    QCoreApplication::processEvents();
    EXPECT_EQ(edit.Text(), QStringLiteral("это")) << "a read-only control keeps its text";
}

} // namespace
