#include "core/code_page.h"
#include "document/data_file.h"
#include "document/tab_cleanup.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_simple_text.h"
#include "richtext/rtf_writer.h"
#include "unit_test.h"

#include <thread>

namespace {

QString plainOf(const QString& pageText)
{
    QTextDocument doc;
    RtfReader::read(pageText, doc);
    return PlainText::of(doc);
}

QString crlf(QString text)
{
    return text.replace(u'\n', u"\r\n"_qs);
}

} // namespace

// Inside a line a run of tabs becomes one tab, at the start of a line two. The
// clean-up is one undo step, a page it would not change is returned as it is,
// and every other page comes back as RTF that needs no further pass.
TEST(TabCleanup, TabRunsCollapseTheSameOnEveryPath)
{
    for (const DataCase& c : readCases("document/tab_runs.cases")) {
        SCOPED_TRACE(c.name);
        const QString before = c.text(0);
        const QString after = c.text(1);
        QTextDocument doc;
        doc.setPlainText(before);
        const QString rtf = RtfWriter::writeString(doc);
        TabCleanup::collapseTabs(doc);
        const QString collapsed = doc.toPlainText();
        doc.undo();
        EXPECT_EQ(QStringList({collapsed, doc.toPlainText()}), QStringList({after, before}));
        const bool changes = before != after;
        const QString imported = TabCleanup::clean(crlf(before));
        EXPECT_EQ(
            QList<bool>({TabCleanup::needsCollapse(crlf(before)), TabCleanup::clean(rtf) != rtf,
                         imported.startsWith(u"{\\rtf"_qs), imported != crlf(before)}),
            QList<bool>(4, changes));
        EXPECT_EQ(QStringList({plainOf(imported), TabCleanup::clean(imported)}),
                  QStringList({crlf(after), imported}));
    }
    const QString indented = u"  \r\n"_qs + RtfWriter::writeString(QTextDocument(u"a\tb"_qs));
    EXPECT_EQ(TabCleanup::clean(indented), indented);
}

TEST(TabCleanup, LineBreaksAndPicturesStartLinesLikeParagraphsAndTheFormattingStays)
{
    // Shift+Enter in the editor breaks the line inside the paragraph.
    const QString lineBreak(QChar::LineSeparator);
    QTextDocument doc;
    QTextCursor(&doc).insertText("a\t\t" + lineBreak + "\t\t\tb");
    ASSERT_EQ(doc.blockCount(), 1);
    TabCleanup::collapseTabs(doc);
    EXPECT_EQ(doc.toRawText(), "a\t" + lineBreak + "\t\tb");

    // A picture has no place in the plain text the fast path judges by, so
    // the tabs after it count as starting the line in both.
    QTextDocument pictures;
    QTextCursor cursor(&pictures);
    cursor.insertImage(QImage(4, 4, QImage::Format_RGB32));
    cursor.insertText("\t\t\tx\t\t");
    cursor.insertImage(QImage(4, 4, QImage::Format_RGB32));
    cursor.insertText("\t\ty");
    TabCleanup::collapseTabs(pictures);
    const QChar picture = QChar::ObjectReplacementCharacter;
    EXPECT_EQ(pictures.toPlainText(), picture + u"\t\tx\t"_qs + picture + u"\ty"_qs);
    // The collapse keeps the formatting of what remains.
    QTextDocument formatted;
    RtfReader::read(
        u"{\\rtf1{\\b Ivanov}\\tab\\tab\\tab{\\i 555-12-34}\\par{\\b\\tab\\tab\\tab note}}"_qs,
        formatted);
    TabCleanup::collapseTabs(formatted);

    EXPECT_EQ(formatted.toPlainText(), "Ivanov\t555-12-34\n\t\tnote");
    const auto formatAt = [&formatted](int pos) {
        QTextCursor c(&formatted);
        c.setPosition(pos + 1);
        return c.charFormat();
    };
    EXPECT_EQ(QList<bool>(
                  {formatAt(0).fontWeight() == QFont::Bold, formatAt(6).fontWeight() == QFont::Bold,
                   formatAt(7).fontItalic(), formatAt(15).fontItalic(),
                   formatAt(formatted.lastBlock().position() + 2).fontWeight() == QFont::Bold}),
              QList<bool>({true, false, true, true, true}));
}

namespace {

// What loading gave before the look at the source: the full plain-text check
// and, for a page it flags or one that is not RTF, the document path.
QString importTheLongWay(const QString& pageText)
{
    if (!TabCleanup::needsCollapse(pageText))
        return pageText;
    QTextDocument doc;
    RtfReader::read(pageText, doc);
    TabCleanup::collapseTabs(doc);
    return RtfWriter::writeString(doc);
}

QStringList pagesUnder(const QString& folder, const QStringList& patterns)
{
    QStringList pages;
    QDirIterator it(folder, patterns, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QByteArray bytes = readAll(it.next());
        if (!it.fileName().endsWith(u".dat"_qs)) {
            pages.append(CodePage::decode(bytes));
            continue;
        }
        for (const PageRecord& page : DataFile::parse(bytes).pages)
            pages.append(page.text);
    }
    return pages;
}

// Each page as it is, and with every tab doubled, so that the look meets
// pages that do need the clean-up in every context the file has tabs in.
QStringList withDoubledTabs(const QStringList& pages)
{
    QStringList all = pages;
    for (QString page : pages) {
        page.replace(u"\\tab"_qs, u"\\tab\\tab"_qs);
        page.replace(u"\t"_qs, u"\t\t"_qs);
        all.append(page);
    }
    return all;
}

void expectLookAgreesWithTheLongWay(const QString& page)
{
    EXPECT_TRUE(TabCleanup::mayNeedCollapse(page) || !TabCleanup::needsCollapse(page));
    // The look at the bytes a data file holds for the page, as they read back.
    const QByteArray stored = CodePage::encodeLossy(page).replace('"', "''");
    EXPECT_TRUE(TabCleanup::mayNeedCollapseStored(stored) ||
                !TabCleanup::needsCollapse(DataFile::decodeField(stored, {})));
    EXPECT_EQ(TabCleanup::clean(page), importTheLongWay(page));
}

} // namespace

// The look at the source decides nothing the plain text would decide
// otherwise: every fixture, corpus file and book page imports exactly as the
// full path imports it, and the look still clears ordinary address pages.
TEST(TabCleanup, SourceLookImportsEveryStoredPageAsTheFullPathAndClearsOnlyTabsBeforeText)
{
    const QString data = QStringLiteral(VELKARO_TEST_DATA);
    const QStringList pages = withDoubledTabs(pagesUnder(data + u"/rtf"_qs, {u"*.rtf"_qs}) +
                                              pagesUnder(data + u"/rtf-corpus/rtf"_qs, {u"*"_qs}) +
                                              pagesUnder(data + u"/books"_qs, {u"*.dat"_qs}));
    ASSERT_GT(pages.size(), 60);
    int cleared = 0;
    for (const QString& page : pages) {
        SCOPED_TRACE(page.left(200).toStdString());
        expectLookAgreesWithTheLongWay(page);
        cleared += TabCleanup::mayNeedCollapse(page) ? 0 : 1;
    }
    EXPECT_GT(cleared, 0);
    EXPECT_FALSE(
        TabCleanup::mayNeedCollapse(CodePage::decode(readAll(data + u"/rtf/address_page.rtf"_qs))));
    // Every way a tab reaches the text, and every way the character after one
    // can fail to: each either clears the page correctly or leaves it to the
    // full path.
    for (const DataCase& c : readCases("document/tab_clean_up_look.cases")) {
        SCOPED_TRACE(c.name);
        const QString page = QString::fromLatin1(c.parts.value(0));
        EXPECT_EQ(TabCleanup::mayNeedCollapse(page), c.text(1) != u"clear"_qs);
        expectLookAgreesWithTheLongWay(page);
    }
}

// Reader threads keep the opening of the page they read last. Each thread
// here ends at once: one that damaged the heap as it ended (MinGW destroys a
// thread's own objects after their storage is gone) brings down the
// allocations that follow.
TEST(TabCleanup, ThreadsThatLookAtPagesEndWithTheHeapWhole)
{
    const QByteArray page = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Smith\\tab 555\\par}";
    int candidates = 0;
    for (int i = 0; i < 500; ++i) {
        std::thread([&] {
            candidates += TabCleanup::mayNeedCollapseStored(page);
            (void)RtfSimpleText::extract(page);
        }).join();
        const std::vector<QByteArray> blocks(16, QByteArray(64 + i, 'x'));
    }
    EXPECT_EQ(candidates, 0);
}
