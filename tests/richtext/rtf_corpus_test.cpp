#include "richtext/plain_text.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

const QString kCorpus = QStringLiteral(VELKARO_TEST_DATA "/rtf-corpus");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// What matters to a reader of a page: the non-blank characters, line by line.
// Blank lines and spacing are layout choices of the converter.
QStringList essentials(const QString& text)
{
    QStringList out;
    for (const QString& line : text.split(QRegularExpression("\r\n|\n|\r"))) {
        QString kept;
        for (QChar ch : line) {
            if (!ch.isSpace())
                kept += ch;
        }
        if (!kept.isEmpty())
            out.append(kept);
    }
    return out;
}

// Where the other converter legitimately lays a file out differently.
enum class Layout
{
    Same,
    // It ends every table cell with '|' and runs rows together; a page
    // separates cells by a tab and ends every row with a line break.
    Table,
    // It appends a hyperlink's target in parentheses; a page shows only the
    // text of the link.
    LinkTargets,
    // It keeps optional hyphens (U+00AD); a page does not show them.
    OptionalHyphens,
    // The file is several RTF documents one after another; a page is one
    // document, and reading ends with the first one's closing brace.
    FirstDocumentOnly,
};

Layout layoutOf(const QString& name)
{
    static const QHash<QString, Layout> known = {
        {"BVWGT_20241227_W258_2227269_1_00_01.rtf", Layout::Table},
        {"calcium_score.rtf", Layout::Table},
        {"issue_29_bad.rtf", Layout::Table},
        {"issue_29_good.rtf", Layout::Table},
        {"issue_38.rtf", Layout::Table},
        {"nested_table.rtf", Layout::Table},
        {"simple_table.rtf", Layout::Table},
        {"Speiseplan_KW_32-33_Eybl.rtf", Layout::Table},
        {"hyperlink.rtf", Layout::LinkTargets},
        {"hyperlinks.rtf", Layout::LinkTargets},
        {"mac_textedit_hyperlink.rtf", Layout::LinkTargets},
        {"specialchars.rtf", Layout::OptionalHyphens},
        {"encoding.rtf", Layout::FirstDocumentOnly},
    };
    return known.value(name, Layout::Same);
}

void align(Layout layout, QStringList& ours, QStringList& theirs)
{
    switch (layout) {
    case Layout::Same:
        break;
    case Layout::Table:
        ours = QStringList{ours.join(QString()).remove(u'|')};
        theirs = QStringList{theirs.join(QString()).remove(u'|')};
        break;
    case Layout::LinkTargets:
        theirs.replaceInStrings(QRegularExpression(R"(\("[^"]*"\))"), QString());
        break;
    case Layout::OptionalHyphens:
        theirs.replaceInStrings(QStringLiteral("\u00AD"), QString());
        break;
    case Layout::FirstDocumentOnly:
        ours.removeLast();
        theirs = theirs.mid(0, ours.size());
        break;
    }
}

QString firstDifference(const QStringList& ours, const QStringList& theirs)
{
    for (qsizetype i = 0; i < std::max(ours.size(), theirs.size()); ++i) {
        const QString a = ours.value(i, "<none>");
        const QString b = theirs.value(i, "<none>");
        if (a == b)
            continue;
        qsizetype at = 0;
        while (at < a.size() && at < b.size() && a[at] == b[at])
            ++at;
        const qsizetype from = std::max<qsizetype>(0, at - 30);
        return QStringLiteral("line %1, character %2:\n ours:     %3\n expected: %4")
            .arg(i)
            .arg(at)
            .arg(a.mid(from, 80), b.mid(from, 80));
    }
    return {};
}

QStringList corpusNames()
{
    QStringList names;
    for (const QString& text : QDir(kCorpus + "/text").entryList({"*.txt"}, QDir::Files))
        names.append(QString(text).replace(".txt", ".rtf"));
    return names;
}

} // namespace

TEST(RtfCorpus, TextMatchesTheOtherConverter)
{
    const QStringList names = corpusNames();
    ASSERT_GE(names.size(), 30);
    for (const QString& name : names) {
        const QByteArray source = fileBytes(kCorpus + "/rtf/" + name);
        const QString expected = QString::fromUtf8(
            fileBytes(kCorpus + "/text/" + QString(name).replace(".rtf", ".txt")));
        const QString ours = RtfPlainText::extract(QByteArrayView(source));
        QStringList ourLines = essentials(ours);
        QStringList theirLines = essentials(expected);
        align(layoutOf(name), ourLines, theirLines);
        const QString diff = firstDifference(ourLines, theirLines);
        EXPECT_TRUE(diff.isEmpty()) << name.toStdString() << " " << diff.toStdString();
    }
}
