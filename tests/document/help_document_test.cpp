#include "core/code_page.h"
#include "document/help_document.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"
#include "unit_test.h"

namespace {

// Three topics; the third has a bold word and two lines.
const QByteArray kThreeTopics = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0 Arial;}}\r\n"
                                "\\pard &1\\par First\\par\r\n"
                                "&2\\par Second\\par\r\n"
                                "&3\\par {\\b Third} topic\\par line two\\par\r\n"
                                "&4\\par}\r\n";

QString plainTopic(const HelpDocument& help, int index)
{
    return RtfPlainText::extract(QByteArrayView(help.topicRtf(index)));
}

struct HelpFiles
{
    QTemporaryDir dir;
    QString listPath = dir.filePath(QStringLiteral("velkaro.hlp"));

    // The topic list as the program's files are written: Windows-1251, CR LF.
    void write(const QString& list, const QByteArray& document = kThreeTopics,
               const QString& documentName = QStringLiteral("help.rtf")) const
    {
        writeAll(listPath, CodePage::encodeLossy(list));
        writeAll(dir.filePath(documentName), document);
    }
};

// The raw characters of a document, one per position.
QString rawText(const QString& rtf)
{
    QTextDocument doc;
    RtfReader::read(QByteArrayView(rtf.toLatin1()), doc);
    return doc.toRawText();
}

} // namespace

TEST(HelpDocument, TheFirstFieldNamesTheDocumentEveryFurtherLineIsATopicAndNoneFailsTheLoad)
{
    const HelpDocument::TopicList list =
        HelpDocument::parseTopicList(u"\"help.rtf\"\r\nОдин\r\n\r\nТри, с запятой\r\n"_qs);
    EXPECT_EQ(list.documentName, u"help.rtf"_qs);
    EXPECT_EQ(list.titles, QStringList({u"Один"_qs, QString(), u"Три, с запятой"_qs}));
    // No line break after the last title, and a name without quotes.
    EXPECT_EQ(HelpDocument::parseTopicList(u"help.rtf\nA\nB"_qs).titles, QStringList({"A", "B"}));
    EXPECT_TRUE(HelpDocument::parseTopicList(u"\"help.rtf\"\r\n"_qs).titles.isEmpty());
    // Missing or empty files fail the load.
    HelpFiles files;
    HelpDocument help;
    EXPECT_FALSE(help.load(files.listPath));
    EXPECT_TRUE(help.errorString().contains(u"velkaro.hlp"_qs));

    files.write(u"\"missing.rtf\"\r\nA\r\n"_qs);
    EXPECT_FALSE(help.load(files.listPath));
    EXPECT_TRUE(help.errorString().contains(u"missing.rtf"_qs));

    files.write(u"\"help.rtf\"\r\n"_qs);
    EXPECT_FALSE(help.load(files.listPath));
    EXPECT_TRUE(help.titles().isEmpty());

    // A name written with the Windows separator finds its subfolder.
    files.write(u"\"sub\\help.rtf\"\r\nA\r\n"_qs, kThreeTopics, QStringLiteral("sub/help.rtf"));
    EXPECT_TRUE(help.load(files.listPath)) << help.errorString().toStdString();
}

// Title k shows the text between markers k and k + 1, formatting kept; a
// title without both markers shows nothing. A list in UTF-8 behind a
// byte-order mark reads as one in Windows-1251 does, as "language.ini" does.
TEST(HelpDocument, EachTitleShowsTheTextBetweenItsMarkerAndTheNextLookedForAfterItsOwn)
{
    const QString list = u"\"help.rtf\"\r\nПервая\r\n\r\nТретья\r\nЧетвёртая\r\n"_qs;
    for (const QByteArray& bytes : {CodePage::encodeLossy(list), "\xEF\xBB\xBF" + list.toUtf8()}) {
        HelpFiles files;
        files.write({});
        writeAll(files.listPath, bytes);
        HelpDocument help;
        ASSERT_TRUE(help.load(files.listPath)) << help.errorString();
        EXPECT_EQ(help.titles(), QStringList({u"Первая"_qs, {}, u"Третья"_qs, u"Четвёртая"_qs}));
        QStringList topics;
        for (const int index : {0, 1, 2, 3, 99})
            topics << plainTopic(help, index);
        EXPECT_EQ(topics, QStringList({"First", "Second", "Third topic\r\nline two", {}, {}}));

        QTextDocument third;
        RtfReader::read(QByteArrayView(help.topicRtf(2)), third);
        QTextBlock::iterator run = third.begin().begin();
        EXPECT_EQ(run.fragment().text(), u"Third"_qs);
        EXPECT_EQ(run.fragment().charFormat().fontWeight(), QFont::Bold);
        EXPECT_NE((++run).fragment().charFormat().fontWeight(), QFont::Bold);
    }
    // The end marker is looked for only after the topic's own marker; a missing
    // marker gives an empty topic.
    for (const DataCase& c : readCases("document/help_topics.cases")) {
        const QString text = rawText(QString::fromLatin1(c.parts.value(0)));
        const HelpDocument::Range range = HelpDocument::topicRange(text, c.text(1).toInt());
        QString topic = text.mid(range.from, range.to - range.from);
        EXPECT_EQ(range.isEmpty() ? u"-"_qs : topic.replace(QChar::ParagraphSeparator, u'\n'),
                  c.text(2))
            << c.name;
    }
}

// The help installed beside the program, read by our own RTF reader.
TEST(HelpDocument, TheShippedHelpHasATopicForEveryTitleAndNoStrayMarkers)
{
    const QString folder = QStringLiteral(VELKARO_TEST_DATA "/../../resources/help/");
    const QByteArray listBytes = readAll(folder + u"velkaro.hlp"_qs);
    ASSERT_FALSE(listBytes.isEmpty());
    EXPECT_FALSE(listBytes.startsWith("\xEF\xBB\xBF")) << "the topic list is Windows-1251";
    HelpDocument help;
    ASSERT_TRUE(help.load(folder + u"velkaro.hlp"_qs)) << help.errorString().toStdString();
    const QStringList titles = help.titles();
    ASSERT_GE(titles.size(), 12);

    // The options dialog opens topics 8 to 12 for its five pages, in order.
    const QStringList pages{u"Общие"_qs, u"Адресная книга"_qs, u"Правка"_qs, u"Стили"_qs,
                            u"Конфиденциальность"_qs};
    for (int i = 0; i < pages.size(); ++i)
        EXPECT_TRUE(titles[7 + i].contains(pages[i])) << titles[7 + i].toStdString();

    QTextDocument whole;
    RtfReader::read(QByteArrayView(readAll(folder + u"velkaro-help.rtf"_qs)), whole);
    const QString raw = whole.toRawText();
    const QRegularExpression markerLike(QStringLiteral("&\\d+"));
    EXPECT_EQ(raw.count(markerLike), titles.size() + 1) << "n titles need n + 1 markers";
    EXPECT_TRUE(raw.contains(u'&' + QString::number(titles.size() + 1)));
    for (int i = 0; i < titles.size(); ++i) {
        const QString text = plainTopic(help, i);
        EXPECT_GT(text.simplified().size(), 40) << "topic " << i + 1;
        EXPECT_TRUE(text.startsWith(titles[i])) << "topic " << i + 1 << " is headed by its title";
        EXPECT_FALSE(text.contains(markerLike)) << "topic " << i + 1;
        EXPECT_FALSE(titles[i].trimmed().isEmpty()) << "topic " << i + 1;
    }
}
