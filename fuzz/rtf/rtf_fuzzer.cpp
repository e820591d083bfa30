// Reads arbitrary bytes as a page, writes the document and reads it again.
// Beyond surviving the input, the fast plain-text path must agree with the
// document, the tab look at the source must not clear a page that needs the
// clean-up, and a round trip must keep the text and every run's attributes.

#include "core/code_page.h"
#include "document/tab_cleanup.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_picture.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_simple_text.h"
#include "richtext/rtf_writer.h"

#include <QFont>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <cstdio>
#include <cstdlib>

namespace {

struct Run
{
    QString text;
    QString attributes;

    bool operator==(const Run&) const = default;
};

// A run without a font family or size shows in the document's default font,
// and the writer names that font.
QString attributesOf(const QTextCharFormat& f, const QFont& defaultFont)
{
    QStringList families = f.fontFamilies().toStringList();
    if (families.isEmpty())
        families.append(defaultFont.family());
    const qreal size =
        f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : defaultFont.pointSizeF();
    if (f.isImageFormat())
        return "picture " +
               QString::fromLatin1(f.property(RtfPicture::SourceProperty).toByteArray());
    return QStringLiteral("%1 %2 %3 %4 [%5] %6 %7 %8")
        .arg(f.fontWeight())
        .arg(f.fontItalic())
        .arg(f.fontUnderline())
        .arg(f.fontStrikeOut())
        .arg(families.join('|'))
        .arg(size)
        .arg(f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name() : "auto")
        .arg(f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color().name() : "none");
}

// Adjacent fragments with equal attributes are one run, however the document
// happened to split them.
QList<Run> runsOf(const QTextDocument& doc)
{
    QList<Run> runs;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin())
            runs.append(Run{"\n", {}});
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString attributes = attributesOf(fragment.charFormat(), doc.defaultFont());
            if (!runs.isEmpty() && runs.last().attributes == attributes &&
                !attributes.startsWith("picture"))
                runs.last().text += fragment.text();
            else
                runs.append(Run{fragment.text(), attributes});
        }
    }
    return runs;
}

// The documents' default font names a family no machine has, at a size of
// its own, so the round trip compares what the writer declares for a run
// without a font of its own, not whatever this machine's default font is.
QFont fixedDefaultFont()
{
    QFont font(QStringLiteral("Velkaro Fuzz Default"));
    font.setPointSizeF(10);
    return font;
}

[[noreturn]] void fail(const char* what, const QString& first, const QString& second)
{
    std::fprintf(stderr, "%s\n first:  %s\n second: %s\n", what, qPrintable(first.left(2000)),
                 qPrintable(second.left(2000)));
    std::abort();
}

void compareRuns(const QList<Run>& first, const QList<Run>& second)
{
    for (qsizetype i = 0; i < std::min(first.size(), second.size()); ++i) {
        if (!(first[i] == second[i]))
            fail("round trip changed a run", first[i].text + " / " + first[i].attributes,
                 second[i].text + " / " + second[i].attributes);
    }
    if (first.size() != second.size())
        fail("round trip changed the number of runs", QString::number(first.size()),
             QString::number(second.size()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    // Pages show in Tahoma, and the writer names it for text without a font of
    // its own; the platform's generic default would differ from it on reading back.
    QGuiApplication::setFont(QFont(QStringLiteral("Tahoma")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument first;
    first.setDefaultFont(fixedDefaultFont());
    RtfReader::read(input, first);
    const QString text = PlainText::of(first);
    const QString fast = RtfPlainText::extract(input);
    if (fast != text)
        fail("fast plain text differs from the document", fast, text);
    // The look at the source that spares loading the plain text of most
    // pages must never clear one whose tabs the clean-up would shrink.
    const QString page = CodePage::decode(input);
    if (!TabCleanup::mayNeedCollapse(page) && TabCleanup::needsCollapse(page))
        fail("the source look cleared a page that needs the clean-up", page, text);
    // The same of the bytes as a data file stores them (the look at stored
    // pages goes on after the opening the page before shared with it), and the
    // one-pass reader's bytes are the text's Windows-1251 bytes.
    if (!input.contains('"') && !TabCleanup::mayNeedCollapseStored(input) &&
        TabCleanup::needsCollapse(page))
        fail("the stored look cleared a page that needs the clean-up", page, text);
    if (QByteArray bytes;
        RtfSimpleText::appendBytes(input, bytes) && CodePage::decode(bytes) != text)
        fail("the one-pass reader's bytes differ from the document", CodePage::decode(bytes), text);

    const QByteArray written = RtfWriter::write(first);
    QTextDocument second;
    second.setDefaultFont(fixedDefaultFont());
    RtfReader::read(QByteArrayView(written), second);
    if (PlainText::of(second) != text)
        fail("round trip changed the text", text, PlainText::of(second));
    compareRuns(runsOf(first), runsOf(second));
    return 0;
}
