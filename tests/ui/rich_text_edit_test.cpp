#include "richtext/paragraph_pieces.h"
#include "richtext/win_color.h"
#include "ui/page_fonts.h"
#include "ui/rich_text_edit.h"
#include "widget_test.h"

namespace {

TEST(PageFonts, TahomaWinsThenTheClosestStandInAndWinesTahomaBecomesTheDefault)
{
    EXPECT_EQ(QStringList({PageFonts::pickFamily({"DejaVu Sans", "tahoma", "Verdana"}),
                           PageFonts::pickFamily({"Liberation Sans", "DejaVu Sans", "Verdana"}),
                           PageFonts::pickFamily({"Liberation Sans", "Noto Mono"}),
                           PageFonts::pickFamily({"Noto Mono"})}),
              QStringList({"Tahoma", "Verdana", "Liberation Sans", QString()}));
    if (!QFileInfo::exists(QDir(PageFonts::wineFontFolder()).filePath("tahoma.ttf")))
        GTEST_SKIP() << "fonts-wine is not installed";
    ASSERT_TRUE(PageFonts::addTahomaFrom());
    EXPECT_TRUE(PageFonts::defaultFamily() == "Tahoma" &&
                QFontDatabase::writingSystems("Tahoma").contains(QFontDatabase::Cyrillic));
}

// The darkness of every pixel summed: the weight the eye sees.
double ink(const QFont& font, qreal scale)
{
    QImage image(QSize(400, 40) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(5, 25), u"Иванов Пётр 555-12-12 ЮЯ"_qs);
    painter.end();
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            sum += 255 - qGray(image.pixel(x, y));
    }
    return sum;
}

// A page without a font is shown and saved in the default family, which is
// installed and whose bold is visibly heavier at every scale.
TEST(PageFonts, APageWithoutAFontIsShownAndSavedInTheDefaultFamily)
{
    const QString family = PageFonts::defaultFamily();
    QFont regular(family, 8);
    QFont bold = regular;
    bold.setBold(true);
    for (const qreal scale : {1.0, 2.0})
        EXPECT_GE(ink(bold, scale), 1.2 * ink(regular, scale)) << scale;
    EXPECT_TRUE(!family.isEmpty() && QFontDatabase::hasFamily(family)) << family.toStdString();
    RichTextEdit edit;
    edit.setTextRTF(QStringLiteral("{\\rtf1\\ansi Ivanov\\par}"));
    EXPECT_EQ(edit.selFontName(), family);
    EXPECT_TRUE(edit.textRTF().contains("{\\fonttbl{\\f0\\fnil\\fcharset204 " + family + ";}}"))
        << edit.textRTF().toStdString();
}

const QString kPage = QStringLiteral("Ёлкин\t222-33-44\r\nёлкин\r\n\r\nпапа Ёлкина");

// QTest::keyClicks knows ASCII only; a Cyrillic letter's key code is its
// upper-case character.
void type(QWidget* widget, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(ch.toUpper().unicode()), QString(ch),
                            Qt::NoModifier);
}

void toClipboard(const std::function<void(QMimeData&)>& fill)
{
    auto* data = new QMimeData;
    fill(*data);
    QGuiApplication::clipboard()->setMimeData(data);
}

class RichTextEditTest : public ::testing::Test
{
protected:
    void select(int start, int length)
    {
        edit.setSelStart(start);
        edit.setSelLength(length);
    }
    QString selected() const { return edit.text().mid(edit.selStart(), edit.selLength()); }
    // Where a search from the start found `sample`, and what it selected.
    QString found(const QString& sample)
    {
        const int at = edit.findText(sample, 0);
        return QString::number(at) + u':' + selected();
    }

    RichTextEdit edit;
};

TEST_F(RichTextEditTest, EveryWriteOrKeyIsOneChangeAndUndoReachesBackOneKeystrokeAndToggles)
{
    QSignalSpy changes(&edit, &RichTextEdit::change);
    edit.setTextRTF(kPage);
    edit.setTextRTF(kPage);
    EXPECT_EQ(std::tuple(edit.text(), edit.document()->blockCount(), changes.count()),
              std::tuple(kPage, 4, 2));
    type(&edit, QStringLiteral("аб"));
    select(0, 20);
    edit.setSelBold(true);
    EXPECT_EQ(std::pair(changes.count(), edit.text().left(7)),
              std::pair(qsizetype(5), u"абЁлкин"_qs));
    edit.setTextRTF(QString());
    EXPECT_TRUE(edit.document()->isEmpty());
    // Undo reaches back one keystroke; undoing again brings it back.
    edit.setTextRTF(QStringLiteral("{\\rtf1 x}"));
    EXPECT_FALSE(edit.canUndo()) << "nothing to undo right after a page opens";
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("x"));

    edit.setSelStart(1);
    type(&edit, QStringLiteral("abc"));
    QSignalSpy undoChanges(&edit, &RichTextEdit::change);
    // One keystroke, not the typed run; the undo is itself a change; no redo of its own.
    QStringList texts;
    for (const Qt::Key key : {Qt::Key_Z, Qt::Key_Z, Qt::Key_Y}) {
        QTest::keyClick(&edit, key, Qt::ControlModifier);
        texts << edit.text() + QString::number(undoChanges.count());
    }
    EXPECT_EQ(texts, QStringList({"xab1", "xabc2", "xabc2"}));

    select(1, 1);
    edit.setSelBold(true);
    edit.undoEdit();
    select(1, 1);
    EXPECT_EQ(edit.selBold(), false) << "a format change is one step too";
    edit.clearUndo();
    edit.undoEdit();
    EXPECT_EQ(edit.text(), QStringLiteral("xabc"));

    // A key typed over a letter is one step too: the letter comes back with it.
    edit.setTextRTF(u"Петров"_qs);
    QTest::keyClick(&edit, Qt::Key_Insert);
    QTest::keyClicks(&edit, "QQ");
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    texts = QStringList{edit.text()};
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(texts << edit.text(), QStringList({u"Qетров"_qs, u"QQтров"_qs}));
    QTest::keyClick(&edit, Qt::Key_Insert);
}

TEST_F(RichTextEditTest,
       MixedAttributesReadAsNoValueWriteTheWholeSelectionAndTheCaretsApplyToTyping)
{
    using Attributes = std::tuple<std::optional<bool>, std::optional<quint32>,
                                  std::optional<double>, std::optional<QString>>;
    const auto attributes = [this] {
        return Attributes(edit.selBold(), edit.selColor(), edit.selFontSize(), edit.selFontName());
    };
    edit.setTextRTF(QStringLiteral("полужирный"));
    select(0, 4);
    edit.setSelBold(true);
    edit.setSelColor(0x0000FFu);
    edit.setSelFontSize(10.5);
    edit.setSelFontName(QStringLiteral("Courier New"));
    EXPECT_EQ(attributes(), Attributes(true, 0x0000FFu, 10.5, QStringLiteral("Courier New")));
    select(2, 5);
    EXPECT_EQ(std::pair(attributes(), edit.selItalic()),
              std::pair(Attributes(), std::optional(false)));
    edit.setSelBold(true);
    edit.setSelFontSize(1e9);
    EXPECT_EQ(attributes(), Attributes(true, std::nullopt, 1638.0, std::nullopt));
    select(0, 10);
    EXPECT_EQ(attributes(), Attributes());
    // A format set at the caret applies to further typing.
    edit.setTextRTF(QStringLiteral("ab"));
    edit.setSelStart(2);
    QSignalSpy changes(&edit, &RichTextEdit::change);
    edit.setSelItalic(true);
    edit.setSelUnderline(true);
    edit.setSelStrikeThru(true);
    EXPECT_EQ(changes.count(), 0) << "nothing typed yet";
    type(&edit, QStringLiteral("вг"));
    select(2, 2);
    EXPECT_EQ(std::tuple(edit.selItalic(), edit.selUnderline(), edit.selStrikeThru()),
              std::tuple(true, true, true));
    select(0, 2);
    EXPECT_EQ(edit.selItalic(), false);
}

TEST_F(RichTextEditTest, ColoursResolveSystemReferencesAndTabStopsReachEveryParagraphBounded)
{
    edit.setTextRTF(QStringLiteral("цвет"));
    select(0, 4);
    EXPECT_EQ(edit.selColor(), WinColor::windowText) << "automatic colour";
    edit.setSelColor(WinColor::highlight);
    const QPalette system = QApplication::palette();
    EXPECT_EQ(edit.selColor(), WinColor::fromQColor(system.color(QPalette::Highlight)));
    edit.setSelColor(WinColor::windowText);
    EXPECT_EQ(std::pair(edit.selColor(),
                        edit.textCursor().charFormat().hasProperty(QTextFormat::ForegroundBrush)),
              std::pair(std::optional(WinColor::windowText), false));
    // A system colour is not taken from the page colour set before.
    edit.setBackColor(0x000000FFu);
    edit.setBackColor(WinColor::window);
    EXPECT_EQ(std::pair(edit.backColor(), edit.palette().color(QPalette::Base)),
              std::pair(WinColor::window, system.color(QPalette::Active, QPalette::Base)));
    edit.setBackColor(0x00C0FFFFu);
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(255, 255, 192));
    // Tab stops in twips reach every paragraph of the selection and are bounded; that they
    // survive the rich text is RtfWriterTest's and RtfReader's (tests/richtext).
    edit.setTextRTF(kPage);
    select(0, edit.text().size());
    edit.setSelTabCount(2);
    edit.setSelTabs(0, 300);
    edit.setSelTabs(1, 3325);
    edit.setSelStart(edit.text().size());
    EXPECT_EQ(std::tuple(edit.selTabCount(), edit.selTabs(0), edit.selTabs(1), edit.selTabs(2)),
              std::tuple(2, 300, 3325, 0))
        << "the last paragraph has them too";
    select(0, edit.text().size());
    edit.setSelTabCount(1'000'000'000);
    edit.setSelTabs(1'000'000, 1);
    EXPECT_EQ(edit.selTabCount(), 32) << "the rich-edit control holds no more";
    edit.setSelTabCount(0);
    EXPECT_EQ(edit.selTabCount(), 0);
}

TEST_F(RichTextEditTest, KeysReachTheHookFirstAndPostedClearAndPasteWaitForTheEventLoop)
{
    edit.setTextRTF(u"abc"_qs);
    QList<int> seen;
    QObject::connect(
        &edit, &RichTextEdit::keyDown, &edit,
        [&seen](int& key, Qt::KeyboardModifiers) {
            seen.append(key);
            if (key == Qt::Key_X)
                key = 0;
        },
        Qt::DirectConnection);
    QTest::keyClick(&edit, Qt::Key_X);
    QTest::keyClick(&edit, Qt::Key_Insert);
    QTest::keyClicks(&edit, "z");
    EXPECT_EQ(std::pair(edit.text(), seen),
              std::pair(u"zbc"_qs, QList<int>{Qt::Key_X, Qt::Key_Insert, Qt::Key_Z}))
        << "x swallowed, z typed over a";
    QTest::keyClick(&edit, Qt::Key_Insert);
    edit.setSelStart(1);
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(std::tuple(edit.text(), edit.document()->blockCount(), edit.selStart()),
              std::tuple(u"z\r\nbc"_qs, 2, 3));
    // Posted clear and paste wait for the event loop; the paste keeps the format.
    RichTextEdit source;
    source.setTextRTF(QStringLiteral("жирный\r\nтекст"));
    source.selectAll();
    source.setSelBold(true);
    source.copy();

    edit.setTextRTF(QStringLiteral("удалить это"));
    select(0, 8);
    QStringList texts;
    edit.postClear();
    texts << edit.text();
    QCoreApplication::processEvents();
    edit.postPaste();
    texts << edit.text();
    QCoreApplication::processEvents();
    texts << edit.text();
    select(0, 13);
    EXPECT_EQ(std::pair(texts, edit.selBold()),
              std::pair(QStringList({u"удалить это"_qs, u"это"_qs, u"жирный\r\nтекстэто"_qs}),
                        std::optional(true)));

    edit.setReadOnly(true);
    edit.selectAll();
    edit.postClear();
    edit.postPaste();
    QCoreApplication::processEvents();
    EXPECT_EQ(edit.text(), QStringLiteral("жирный\r\nтекстэто")) << "read-only keeps its text";
}

// The selection's rich text is RtfRoundTrip.RangeReadsBackAsTheSelectedText.
TEST_F(RichTextEditTest, LineBreaksCountTwicePicturesNotAtAllAndFindSelectsTheMatchItReports)
{
    edit.setTextRTF(kPage);
    edit.setSelStart(kPage.size() + 10);
    EXPECT_EQ(std::pair(edit.selStart(), edit.textCursor().position()),
              std::pair(int(kPage.size()), edit.document()->characterCount() - 1));
    const int second = int(kPage.indexOf(u"ёлкин"_qs));
    select(second, 5);
    EXPECT_EQ(std::pair(edit.selStart(), selected()), std::pair(second, u"ёлкин"_qs));
    edit.setSelStart(second - 1);
    EXPECT_EQ(edit.selStart(), second - 2) << "between CR and LF means before the break";
    // Find selects the match it reports, unless told not to.
    edit.setTextRTF(kPage);
    QSignalSpy moves(&edit, &RichTextEdit::selChange);
    const int at = edit.findText(QStringLiteral("ЁЛКИН"), 1);
    EXPECT_EQ(std::tuple(at, edit.selStart(), selected(), moves.count()),
              std::tuple(int(kPage.indexOf(u"ёлкин"_qs)), at, u"ёлкин"_qs, 1));
    edit.findText(QStringLiteral("44\r\nё"), 0);
    EXPECT_EQ(selected(), QStringLiteral("44\r\nё"));

    edit.setSelStart(3);
    EXPECT_EQ(edit.findText(QStringLiteral("ёлкин"), 0, -1, RichTextEdit::findMatchCase | 8),
              kPage.indexOf(QStringLiteral("ёлкин")));
    EXPECT_EQ(std::pair(edit.selStart(), edit.selLength()), std::pair(3, 0))
        << "option 8 leaves the selection alone";

    EXPECT_EQ(edit.findText(QStringLiteral("ёлкин"), 20, -1, RichTextEdit::findWholeWord), -1);
    EXPECT_EQ(edit.selStart(), 3) << "a failed search keeps the selection";
    // Pictures take no place in the plain text.
    edit.setTextRTF(QStringLiteral("ab\r\ncd"));
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    edit.document()->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("p")), image);
    QTextCursor cursor(edit.document());
    cursor.setPosition(4);
    cursor.insertImage(QStringLiteral("p"));

    EXPECT_EQ(QStringList({edit.text(), found(u"cd"_qs)}), QStringList({u"ab\r\ncd"_qs, "4:cd"}));
    edit.setSelStart(100);
    EXPECT_EQ(edit.selStart(), 6);
    cursor.setPosition(0);
    cursor.insertImage(QStringLiteral("p"));
    EXPECT_EQ(found(u"b"_qs), "1:b");
}

TEST_F(RichTextEditTest, PastesBecomeParagraphsWithThePagesTabStopsAndPicturesKeepTheirImages)
{
    toClipboard([](QMimeData& data) {
        data.setText(QStringLiteral("один\nдва\rтри\r\nчетыре") + QChar::LineSeparator + "пять");
    });
    edit.paste();
    EXPECT_EQ(std::pair(edit.text(), edit.document()->blockCount()),
              std::pair(u"один\r\nдва\r\nтри\r\nчетыре\r\nпять"_qs, 5));

    RichTextEdit table;
    toClipboard([](QMimeData& data) {
        data.setHtml(QStringLiteral("<table><tr><td>Иванов</td><td><b>222</b></td></tr>"
                                    "<tr><td>Петров</td><td>333</td></tr></table>"
                                    "<p align=center style='margin-top:30px'>Итого</p>"));
    });
    table.paste();
    // Spacing a page cannot keep is left behind.
    const QTextBlockFormat last = table.document()->lastBlock().blockFormat();
    EXPECT_EQ(
        std::tuple(table.text(), last.alignment(), last.topMargin(), table.findText("333", 0)),
        std::tuple(u"Иванов\t222\r\nПетров\t333\r\nИтого"_qs, Qt::AlignHCenter, 0.0,
                   int(table.text().indexOf("333"))));
    // Pictures read from two pages carry the same resource names; pasting one page's
    // picture into the other must not show the picture that was already there.
    const auto pageWithPicture = [](RichTextEdit& page, Qt::GlobalColor colour) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(colour);
        toClipboard([&](QMimeData& data) { data.setImageData(image); });
        RichTextEdit scratch;
        scratch.paste();
        EXPECT_EQ(scratch.text(), QString());
        page.setTextRTF(scratch.textRTF());
    };
    RichTextEdit other;
    pageWithPicture(edit, Qt::red);
    pageWithPicture(other, Qt::blue);
    other.selectAll();
    other.copy();
    edit.moveCursor(QTextCursor::End);
    edit.paste();

    QList<QColor> colours;
    for (auto it = edit.document()->begin().begin(); !it.atEnd(); ++it) {
        const QString name = it.fragment().charFormat().toImageFormat().name();
        const QVariant image = edit.document()->resource(QTextDocument::ImageResource, QUrl(name));
        colours.append(qvariant_cast<QImage>(image).pixelColor(0, 0));
    }
    EXPECT_EQ(std::pair(colours, edit.text()),
              std::pair(QList<QColor>{QColor(Qt::red), QColor(Qt::blue)}, QString()));
    // Every paragraph of an address page has its two tab stops: Enter in an empty
    // paragraph and pasted paragraphs must not leave one without them, and the
    // whole page replaced at once comes back with one undo.
    const auto stopsEverywhere = [this] {
        for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
            if (block.blockFormat().tabPositions().size() != 2)
                return false;
        }
        return true;
    };
    edit.setTextRTF(QString(), {300, 3325});
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(edit.document()->blockCount(), 3);
    EXPECT_TRUE(stopsEverywhere());

    toClipboard([](QMimeData& data) {
        data.setData(QStringLiteral("text/rtf"),
                     "{\\rtf1\\ansi \\tx5000 \\b one\\tab 1\\par two\\tab 2\\par}");
    });
    edit.paste();
    EXPECT_TRUE(stopsEverywhere());
    EXPECT_EQ(edit.selTabs(1), 3325);

    select(0, 0);
    edit.setSelBold(true);
    const QString before = edit.textRTF();
    edit.replaceAllText(QStringLiteral("b\r\na\r\n"));
    EXPECT_EQ(edit.text(), QStringLiteral("b\r\na\r\n"));
    EXPECT_TRUE(stopsEverywhere());
    select(0, 1);
    EXPECT_EQ(edit.selBold(), false);
    edit.undoEdit();
    EXPECT_EQ(edit.textRTF(), before);
}

} // namespace

// A paragraph far longer than an entry is shown in pieces; the page reads,
// writes, maps positions and takes a typed line break as one paragraph.
TEST_F(RichTextEditTest, ALongParagraphInPiecesReadsWritesAndSelectsAsOne)
{
    const QString page = u"Первая\r\n"_qs + u"Иванов\t555-12-34 "_qs.repeated(2000) + u"\r\nЯ"_qs;
    edit.setTextRTF(page, {1500, 3000});
    ASSERT_GT(edit.document()->blockCount(), 4);
    RichTextEdit reread;
    reread.setTextRTF(edit.textRTF());
    EXPECT_EQ(QStringList({edit.text(), reread.text()}), QStringList({page, page}));
    EXPECT_TRUE(edit.textRTF().contains(u"\\pard\\tx1500\\tx3000\\f0"_qs)) << "left stops";
    for (QTextBlock piece = edit.document()->begin().next().next();
         piece != edit.document()->lastBlock(); piece = piece.next()) {
        edit.setTextCursor(QTextCursor(piece));
        EXPECT_EQ(page.mid(edit.selStart(), 16), piece.text().left(16));
    }
    QTest::keyClick(&edit, Qt::Key_Return);
    const int typed = edit.selStart() - 2;
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(edit.text(), page.left(typed) + u"\r\n"_qs + page.mid(typed));
}

// Text that adds a whole file to the page leaves the window answering: the
// view shows where it begins, and what lies below is laid out between events
// (a page laid out at once held the window and a termination for seconds).
TEST_F(RichTextEditTest, ALargeEditLeavesThePageBelowTheViewToBeLaidOutLater)
{
    edit.resize(400, 300);
    edit.show();
    edit.setTextRTF(u"Первая"_qs);
    qreal laidOut = 0;
    QObject::connect(edit.document()->documentLayout(),
                     &QAbstractTextDocumentLayout::documentSizeChanged,
                     [&](const QSizeF& size) { laidOut = size.height(); });
    edit.asOneLargeEdit([&] {
        QTextCursor end(edit.document());
        end.movePosition(QTextCursor::End);
        end.insertText(u"\n"_qs + u"Иванов\t555-12-34 "_qs.repeated(20000));
        ParagraphPieces::split(*edit.document());
    });
    edit.showAtTop(7);
    const qreal whole = edit.document()->size().height();
    EXPECT_EQ(std::tuple(edit.textCursor().position(), laidOut < whole / 10), std::tuple(7, true));
    edit.undoEdit();
    EXPECT_EQ(edit.text(), u"Первая"_qs);
}
