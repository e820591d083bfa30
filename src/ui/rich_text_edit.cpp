#include "ui/rich_text_edit.h"

#include "core/code_page.h"
#include "richtext/document_units.h"
#include "richtext/left_tab.h"
#include "richtext/paragraph_pieces.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "richtext/text_finder.h"
#include "richtext/win_color.h"
#include "ui/page_fonts.h"
#include "ui/rich_text_edit_paste.h"
#include "ui/text_position_map.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QUuid>
#include <cmath>
#include <memory>
#include <utility>

// The resolution Qt lays out a document for when it has no device of its own.
Q_GUI_EXPORT int qt_defaultDpiX();
Q_GUI_EXPORT int qt_defaultDpiY();

namespace {

const QString kRtfMime = QStringLiteral("text/rtf");
const QString kRtfMimeAlias = QStringLiteral("application/rtf");
// The rich-edit control steps its default tab stops every half inch.
constexpr int kDefaultTabTwips = 720;
// The rich-edit control's own limits; beyond them a stray value would make a
// paragraph of millions of tab stops or a font nothing can lay out.
constexpr int kMaxTabCount = 32;
constexpr double kMinPointSize = 1.0;
constexpr double kMaxPointSize = 1638.0;

// Pictures have no character attributes of their own; they neither make a
// selection mixed nor stand for it.
template <typename T, typename Read>
std::optional<T> uniformValue(const QTextCursor& cursor, Read read)
{
    if (!cursor.hasSelection())
        return read(cursor.charFormat());
    const int from = cursor.selectionStart();
    const int to = cursor.selectionEnd();
    std::optional<T> value;
    const QTextDocument* doc = cursor.document();
    for (QTextBlock block = doc->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= from || fragment.position() >= to)
                continue;
            if (fragment.charFormat().isImageFormat())
                continue;
            const T current = read(fragment.charFormat());
            if (value && *value != current)
                return std::nullopt;
            value = current;
        }
    }
    if (!value)
        return read(cursor.charFormat());
    return value;
}

QString familyOf(const QTextCharFormat& format, const QFont& fallback)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    const QString family = format.stringProperty(QTextFormat::FontFamily);
    return family.isEmpty() ? fallback.family() : family;
}

double pointSizeOf(const QTextCharFormat& format, const QFont& fallback)
{
    if (format.fontPointSize() > 0)
        return format.fontPointSize();
    return fallback.pointSizeF();
}

quint32 colorOf(const QTextCharFormat& format)
{
    if (!format.hasProperty(QTextFormat::ForegroundBrush) ||
        format.foreground().style() == Qt::NoBrush)
        return WinColor::windowText;
    return WinColor::fromQColor(format.foreground().color());
}

qreal tabFromTwips(int twips)
{
    return DocumentUnits::fromTwips(twips);
}

int tabToTwips(qreal position)
{
    return int(std::lround(DocumentUnits::toTwips(position)));
}

// New stops continue after the last one at the control's default spacing.
void resizeTabs(QList<QTextOption::Tab>& tabs, int count)
{
    if (count < tabs.size()) {
        tabs.resize(count);
        return;
    }
    while (tabs.size() < count) {
        const int last = tabs.isEmpty() ? 0 : tabToTwips(tabs.last().position);
        tabs.append(LeftTab::at(tabFromTwips(last + kDefaultTabTwips)));
    }
}

// Printed as Qt prints a document (2 cm margins, the page number at the
// foot), but laid out once and drawn `copies` times, each copy on pages of
// its own numbered from 1.
bool printCopies(QTextDocument& document, QPrinter* printer, int copies)
{
    if (printer->pageLayout().margins(QPageLayout::Millimeter).isNull())
        printer->setPageMargins(QMarginsF(2, 2, 2, 2), QPageLayout::Millimeter);
    QPainter painter(printer);
    if (!painter.isActive())
        return false;
    document.documentLayout()->setPaintDevice(printer);
    const int marginX = int(2 / 2.54 * qt_defaultDpiX());
    const int marginY = int(2 / 2.54 * qt_defaultDpiY());
    QTextFrameFormat frame = document.rootFrame()->frameFormat();
    frame.setLeftMargin(marginX);
    frame.setRightMargin(marginX);
    frame.setTopMargin(marginY);
    frame.setBottomMargin(marginY);
    document.rootFrame()->setFrameFormat(frame);
    const QSizeF body(printer->width(), printer->height());
    document.setPageSize(body);
    const QPointF numberAt(
        body.width() - marginX * double(printer->logicalDpiX()) / qt_defaultDpiX(),
        body.height() - marginY * double(printer->logicalDpiY()) / qt_defaultDpiY() +
            QFontMetrics(document.defaultFont(), printer).ascent() +
            5 * printer->logicalDpiY() / 72.0);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    painter.setFont(document.defaultFont());
    const int pages = document.pageCount();
    for (int copy = 0; copy < copies; ++copy) {
        for (int page = 1; page <= pages; ++page) {
            if ((copy > 0 || page > 1) && !printer->newPage())
                return false;
            const QRectF view(0, (page - 1) * body.height(), body.width(), body.height());
            painter.save();
            painter.translate(0, -view.top());
            painter.setClipRect(view);
            context.clip = view;
            document.documentLayout()->draw(&painter, context);
            painter.setClipping(false);
            const QString number = QString::number(page);
            painter.drawText(QPointF(numberAt.x() - painter.fontMetrics().horizontalAdvance(number),
                                     numberAt.y() + view.top()),
                             number);
            painter.restore();
        }
    }
    painter.end();
    return printer->printerState() != QPrinter::Error &&
           printer->printerState() != QPrinter::Aborted;
}

} // namespace

RichTextEdit::RichTextEdit(QWidget* parent)
    : QTextEdit(parent), m_positions(new TextPositionMap(document(), this)),
      m_backColor(WinColor::window)
{
    // Loading a page records no history (see load()); only edits do.
    document()->setUndoRedoEnabled(false);
    // Pages written on Windows without a font of their own were shown in Tahoma.
    QFont pageFont = font();
    pageFont.setFamily(PageFonts::defaultFamily());
    setFont(pageFont);
    QTextOption option = document()->defaultTextOption();
    option.setTabStopDistance(tabFromTwips(kDefaultTabTwips));
    document()->setDefaultTextOption(option);
    connect(document(), &QTextDocument::contentsChanged, this, &RichTextEdit::onContentsChanged);
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextEdit::onCursorMoved);
    connect(this, &QTextEdit::selectionChanged, this, &RichTextEdit::onCursorMoved);
    setBackColor(m_backColor);
}

RichTextEdit::~RichTextEdit() = default;

QString RichTextEdit::textRTF() const
{
    return RtfWriter::writeString(*document());
}

void RichTextEdit::setTextRTF(const QString& text)
{
    load([&](QTextDocument& doc) { RtfReader::read(text, doc); });
}

void RichTextEdit::setTextRTF(const QString& text, const QList<int>& tabStopsTwips)
{
    QList<QTextOption::Tab> tabs;
    for (const int twips : tabStopsTwips)
        tabs.append(LeftTab::at(tabFromTwips(std::max(twips, 0))));
    load([&](QTextDocument& doc) {
        RtfReader::read(text, doc);
        QTextCursor cursor(&doc);
        // In an edit block moving the cursor lays nothing out.
        cursor.beginEditBlock();
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            QTextBlockFormat format = block.blockFormat();
            if (format.tabPositions() == tabs)
                continue;
            format.setTabPositions(tabs);
            cursor.setPosition(block.position());
            cursor.setBlockFormat(format);
        }
        cursor.endEditBlock();
    });
}

// A text is read into a document of its own, which nothing lays out or
// watches until it is complete, and then takes the place of the old one: a
// large page costs one layout. It starts a new history: nothing before it
// can be undone, and the load itself costs no undo memory.
void RichTextEdit::load(const std::function<void(QTextDocument&)>& read)
{
    auto* fresh = new QTextDocument(this);
    fresh->setUndoRedoEnabled(false);
    fresh->setDefaultFont(document()->defaultFont());
    fresh->setDefaultTextOption(document()->defaultTextOption());
    read(*fresh);
    ParagraphPieces::split(*fresh);
    adopt(fresh);
    m_undoState = UndoState::Nothing;
    m_plainTextKnown = false;
    resetCaret();
    Q_EMIT change();
    fresh->setUndoRedoEnabled(true);
    fresh->setModified(false);
}

void RichTextEdit::adopt(QTextDocument* fresh)
{
    disconnect(document(), nullptr, this, nullptr);
    delete m_positions;
    m_positions = new TextPositionMap(fresh, this);
    // The old document is this control's child, so setDocument() deletes it.
    setDocument(fresh);
    connect(fresh, &QTextDocument::contentsChanged, this, &RichTextEdit::onContentsChanged);
    m_lastAnchor = -1;
    m_lastPosition = -1;
}

void RichTextEdit::clearUndo()
{
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    m_undoState = UndoState::Nothing;
}

void RichTextEdit::replaceAllText(const QString& plain)
{
    QTextCursor cursor(document());
    changeContent(
        [&] {
            QTextBlockFormat paragraph;
            paragraph.setTabPositions(document()->begin().blockFormat().tabPositions());
            cursor.beginEditBlock();
            cursor.select(QTextCursor::Document);
            cursor.removeSelectedText();
            cursor.setBlockFormat(paragraph);
            cursor.setBlockCharFormat(QTextCharFormat());
            cursor.setCharFormat(QTextCharFormat());
            RichTextEditPaste::insertPlainText(cursor, plain);
            cursor.endEditBlock();
        },
        true);
    resetCaret();
}

void RichTextEdit::asOneEdit(const std::function<void()>& work)
{
    QTextCursor group(document());
    group.beginEditBlock();
    changeContent(work, false);
    group.endEditBlock();
}

void RichTextEdit::asOneLargeEdit(const std::function<void()>& work)
{
    QTextDocument* page = document();
    const QSizeF size = page->pageSize();
    // On a page of no size Qt lays nothing out; the size given back starts a
    // layout from the top, which goes on between events.
    page->setPageSize(QSizeF(0, 0));
    asOneEdit(work);
    page->setPageSize(size);
}

void RichTextEdit::showAtTop(int position)
{
    QTextCursor cursor(document());
    cursor.setPosition(position);
    setTextCursor(cursor);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + cursorRect().top());
}

void RichTextEdit::beginApply()
{
    m_styleStep = QTextCursor(document());
    m_styleStep.beginEditBlock();
    ++m_changeDepth;
}

void RichTextEdit::endApply()
{
    --m_changeDepth;
    m_plainTextKnown = false;
    const bool changedText = std::exchange(m_changePending, false);
    m_styleStep.endEditBlock();
    m_styleStep = QTextCursor();
    // Nothing to take back when nothing changed; the change is still
    // reported, as every applied style is.
    if (changedText)
        changed();
    else
        Q_EMIT change();
}

void RichTextEdit::undoEdit()
{
    if (m_undoState == UndoState::Nothing)
        return;
    const int start = selStart();
    const int length = selLength();
    m_undoing = true;
    if (m_undoState == UndoState::CanUndo)
        document()->undo();
    else
        document()->redo();
    m_undoing = false;
    m_undoState = m_undoState == UndoState::CanUndo ? UndoState::CanRedo : UndoState::CanUndo;
    const int end = static_cast<int>(plainText().size());
    selectText(std::min(start, end), std::min(length, end - std::min(start, end)));
}

QString RichTextEdit::text() const
{
    return plainText();
}

int RichTextEdit::selStart() const
{
    return m_positions->toText(textCursor().selectionStart());
}

void RichTextEdit::setSelStart(int start)
{
    selectText(start, 0);
}

int RichTextEdit::selLength() const
{
    const QTextCursor cursor = textCursor();
    return m_positions->toText(cursor.selectionEnd()) -
           m_positions->toText(cursor.selectionStart());
}

void RichTextEdit::setSelLength(int length)
{
    selectText(selStart(), length);
}

std::optional<bool> RichTextEdit::selBold() const
{
    return uniformValue<bool>(textCursor(), [](const QTextCharFormat& format) {
        return format.fontWeight() > QFont::Medium;
    });
}

void RichTextEdit::setSelBold(bool on)
{
    applyCharFormat(
        [on](QTextCharFormat& format) { format.setFontWeight(on ? QFont::Bold : QFont::Normal); });
}

std::optional<bool> RichTextEdit::selItalic() const
{
    return uniformValue<bool>(textCursor(),
                              [](const QTextCharFormat& format) { return format.fontItalic(); });
}

void RichTextEdit::setSelItalic(bool on)
{
    applyCharFormat([on](QTextCharFormat& format) { format.setFontItalic(on); });
}

std::optional<bool> RichTextEdit::selUnderline() const
{
    return uniformValue<bool>(textCursor(),
                              [](const QTextCharFormat& format) { return format.fontUnderline(); });
}

void RichTextEdit::setSelUnderline(bool on)
{
    applyCharFormat([on](QTextCharFormat& format) { format.setFontUnderline(on); });
}

std::optional<bool> RichTextEdit::selStrikeThru() const
{
    return uniformValue<bool>(textCursor(),
                              [](const QTextCharFormat& format) { return format.fontStrikeOut(); });
}

void RichTextEdit::setSelStrikeThru(bool on)
{
    applyCharFormat([on](QTextCharFormat& format) { format.setFontStrikeOut(on); });
}

std::optional<quint32> RichTextEdit::selColor() const
{
    return uniformValue<quint32>(textCursor(), colorOf);
}

void RichTextEdit::setSelColor(quint32 winColor)
{
    if (winColor == WinColor::windowText) {
        applyCharFormat([](QTextCharFormat& format) { format.clearForeground(); });
        return;
    }
    // Text colours are stored as plain colours, so another system colour is
    // taken at its present value.
    const QColor color = WinColor::toQColor(winColor, QApplication::palette());
    applyCharFormat([color](QTextCharFormat& format) { format.setForeground(color); });
}

std::optional<QString> RichTextEdit::selFontName() const
{
    const QFont fallback = document()->defaultFont();
    return uniformValue<QString>(textCursor(), [&fallback](const QTextCharFormat& format) {
        return familyOf(format, fallback);
    });
}

void RichTextEdit::setSelFontName(const QString& name)
{
    applyCharFormat([&name](QTextCharFormat& format) {
        format.clearProperty(QTextFormat::FontFamily);
        format.setFontFamilies(QStringList{name});
    });
}

std::optional<double> RichTextEdit::selFontSize() const
{
    const QFont fallback = document()->defaultFont();
    return uniformValue<double>(textCursor(), [&fallback](const QTextCharFormat& format) {
        return pointSizeOf(format, fallback);
    });
}

void RichTextEdit::setSelFontSize(double points)
{
    if (std::isnan(points))
        return;
    const double size = std::clamp(points, kMinPointSize, kMaxPointSize);
    applyCharFormat([size](QTextCharFormat& format) { format.setFontPointSize(size); });
}

int RichTextEdit::selTabCount() const
{
    return int(selectedBlocks().first().blockFormat().tabPositions().size());
}

void RichTextEdit::setSelTabCount(int count)
{
    const int kept = std::clamp(count, 0, kMaxTabCount);
    applyTabs([kept](QList<QTextOption::Tab>& tabs) { resizeTabs(tabs, kept); });
}

int RichTextEdit::selTabs(int index) const
{
    const QList<QTextOption::Tab> tabs = selectedBlocks().first().blockFormat().tabPositions();
    if (index < 0 || index >= tabs.size())
        return 0;
    return tabToTwips(tabs[index].position);
}

void RichTextEdit::setSelTabs(int index, int twips)
{
    if (index < 0 || index >= kMaxTabCount)
        return;
    const int position = std::max(twips, 0);
    applyTabs([index, position](QList<QTextOption::Tab>& tabs) {
        if (index >= tabs.size())
            resizeTabs(tabs, index + 1);
        tabs[index].position = tabFromTwips(position);
    });
}

quint32 RichTextEdit::backColor() const
{
    return m_backColor;
}

// Text of the automatic colour is drawn in the palette's text colour; on a
// page colour of the user's that colour may not read, so it gives way to
// black or white. Only the screen changes: the text keeps its automatic colour.
void RichTextEdit::setBackColor(quint32 winColor)
{
    m_backColor = winColor;
    // System colours come from the application's palette, not from this
    // control's, which already carries the previous page colour.
    const QPalette system = QApplication::palette();
    const QColor background = WinColor::toQColor(winColor, system);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, background);
    const QColor text = system.color(QPalette::Text);
    colours.setColor(QPalette::Text,
                     winColor == WinColor::window ? text : WinColor::readableOn(background, text));
    setPalette(colours);
}

// A desktop that turns dark while the program runs darkens the page too.
void RichTextEdit::changeEvent(QEvent* event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange)
        setBackColor(m_backColor);
}

int RichTextEdit::findText(const QString& sample, int first, int last, int options)
{
    const int searchOptions = options & (TextFinder::wholeWord | TextFinder::matchCase |
                                         TextFinder::yoAsYe | TextFinder::digitsOnly);
    const TextFinder::Match found =
        TextFinder::match(plainText(), sample, first, last, searchOptions);
    if (found.found() && !(options & findNoSelect))
        selectText(found.start, found.length);
    return found.start;
}

bool RichTextEdit::selPrint(QPrinter* printer, int copies) const
{
    if (!printer)
        return false;
    const std::unique_ptr<QTextDocument> copy(document()->clone());
    const QTextCursor selection = textCursor();
    if (selection.hasSelection()) {
        QTextCursor tail(copy.get());
        tail.setPosition(selection.selectionEnd());
        tail.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        tail.removeSelectedText();
        QTextCursor head(copy.get());
        head.setPosition(selection.selectionStart(), QTextCursor::KeepAnchor);
        head.removeSelectedText();
    }
    return printCopies(*copy, printer, copies);
}

void RichTextEdit::postCut()
{
    QMetaObject::invokeMethod(this, &QTextEdit::cut, Qt::QueuedConnection);
}

void RichTextEdit::postCopy()
{
    QMetaObject::invokeMethod(this, &QTextEdit::copy, Qt::QueuedConnection);
}

void RichTextEdit::postPaste()
{
    QMetaObject::invokeMethod(this, &QTextEdit::paste, Qt::QueuedConnection);
}

void RichTextEdit::postClear()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isReadOnly())
                return;
            QTextCursor cursor = textCursor();
            cursor.removeSelectedText();
            setTextCursor(cursor);
        },
        Qt::QueuedConnection);
}

void RichTextEdit::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers shift =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    int keyCode = event->key();
    Q_EMIT keyDown(keyCode, shift);
    if (keyCode == 0 || (!isReadOnly() && refuses(event->text()))) {
        event->accept();
        return;
    }
    // The page's own undo, never Qt's history of merged steps; there is no
    // redo beyond undoing an undo.
    if (event->matches(QKeySequence::Undo)) {
        undoEdit();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Redo)) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Insert && shift == Qt::NoModifier) {
        setOverwriteMode(!overwriteMode());
        Q_EMIT overwriteModeToggled(overwriteMode());
        event->accept();
        return;
    }
    // Shift+Enter would insert a line separator inside the paragraph; the
    // page only knows paragraph breaks.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Qt takes Enter in an empty paragraph as a request to drop its format,
    // and the page's tab stops would go with it.
    if (enter && !(shift & ~Qt::ShiftModifier) && textCursor().block().length() == 1) {
        QTextCursor cursor = textCursor();
        cursor.insertBlock(cursor.blockFormat(), cursor.charFormat());
        setTextCursor(cursor);
        ensureCursorVisible();
        event->accept();
        return;
    }
    if (enter && (shift & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), ushort(event->count()));
        QTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    // In overwrite mode Qt deletes the letter under the caret and then types
    // the new one, two edits; the user pressed one key.
    if (overwriteMode() && !event->text().isEmpty()) {
        asOneEdit([&] { QTextEdit::keyPressEvent(event); });
        return;
    }
    QTextEdit::keyPressEvent(event);
}

bool RichTextEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasFormat(kRtfMime) || source->hasFormat(kRtfMimeAlias) || source->hasImage() ||
           QTextEdit::canInsertFromMimeData(source);
}

QMimeData* RichTextEdit::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto* mime = new QMimeData;
    mime->setData(kRtfMime,
                  RtfWriter::write(*document(), cursor.selectionStart(), cursor.selectionEnd()));
    mime->setHtml(cursor.selection().toHtml());
    QString text = plainText().mid(selStart(), selLength());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    mime->setText(text);
    return mime;
}

bool RichTextEdit::refuses(const QString& text)
{
    if (!m_codePageOnly)
        return false;
    const QString characters = CodePage::encode(text).unmappable;
    if (characters.isEmpty())
        return false;
    Q_EMIT refused(characters);
    return true;
}

void RichTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (refuses(event->commitString())) {
        event->accept();
        return;
    }
    QTextEdit::inputMethodEvent(event);
}

namespace {

// The text a paste would add, as the page will hold it.
QString incomingText(const QMimeData* source)
{
    QTextDocument pasted;
    const QString rtfFormat = source->hasFormat(kRtfMime) ? kRtfMime : kRtfMimeAlias;
    if (source->hasFormat(rtfFormat))
        RtfReader::read(QByteArrayView(source->data(rtfFormat)), pasted);
    else if (source->hasHtml())
        pasted.setHtml(source->html());
    else if (!source->hasImage() && source->hasText())
        return source->text();
    return pasted.toPlainText();
}

} // namespace

void RichTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source || isReadOnly() || (m_codePageOnly && refuses(incomingText(source))))
        return;
    QTextCursor cursor = textCursor();
    // Pasted paragraphs take the page's tab stops, as every paragraph of the
    // page has them; in the same step, so one undo takes the paste back whole.
    const QList<QTextOption::Tab> tabs = cursor.blockFormat().tabPositions();
    const int first = cursor.selectionStart();
    changeContent(
        [&] {
            cursor.beginEditBlock();
            const QString rtfFormat = source->hasFormat(kRtfMime) ? kRtfMime : kRtfMimeAlias;
            if (source->hasFormat(rtfFormat)) {
                QTextDocument pasted;
                RtfReader::read(QByteArrayView(source->data(rtfFormat)), pasted);
                RichTextEditPaste::insertDocument(cursor, pasted);
            } else if (source->hasHtml()) {
                QTextDocument pasted;
                pasted.setHtml(source->html());
                RichTextEditPaste::insertDocument(cursor, pasted);
            } else if (source->hasImage()) {
                const QString name =
                    QStringLiteral("pasted-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
                document()->addResource(QTextDocument::ImageResource, QUrl(name),
                                        source->imageData());
                cursor.insertImage(name);
            } else if (source->hasText()) {
                RichTextEditPaste::insertPlainText(cursor, source->text());
            }
            RichTextEditPaste::setTabs(cursor, first, tabs);
            cursor.endEditBlock();
        },
        false);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void RichTextEdit::onContentsChanged()
{
    m_plainTextKnown = false;
    if (m_changeDepth > 0) {
        m_changePending = true;
        return;
    }
    changed();
}

void RichTextEdit::changed()
{
    // Qt would merge the next keystroke into this one; a document that is
    // not "modified" starts a new step instead, so one undo is one change.
    if (document()->isUndoRedoEnabled()) {
        document()->setModified(false);
        if (!m_undoing)
            m_undoState = UndoState::CanUndo;
    }
    Q_EMIT change();
}

void RichTextEdit::onCursorMoved()
{
    const QTextCursor cursor = textCursor();
    if (cursor.anchor() == m_lastAnchor && cursor.position() == m_lastPosition)
        return;
    m_lastAnchor = cursor.anchor();
    m_lastPosition = cursor.position();
    Q_EMIT selChange();
}

// A change made of many document edits is reported once, when it is complete.
void RichTextEdit::changeContent(const std::function<void()>& work, bool alwaysNotify)
{
    ++m_changeDepth;
    work();
    --m_changeDepth;
    m_plainTextKnown = false;
    if (alwaysNotify)
        m_changePending = true;
    if (m_changeDepth > 0 || !m_changePending)
        return;
    m_changePending = false;
    changed();
}

void RichTextEdit::selectText(int start, int length)
{
    const int from = m_positions->toDocument(start);
    const int to = m_positions->toDocument(start + std::max(length, 0));
    QTextCursor cursor(document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void RichTextEdit::applyCharFormat(const std::function<void(QTextCharFormat&)>& edit)
{
    const QTextCursor selection = textCursor();
    if (!selection.hasSelection()) {
        QTextCharFormat format = selection.charFormat();
        edit(format);
        setCurrentCharFormat(format);
        return;
    }
    const int from = selection.selectionStart();
    const int to = selection.selectionEnd();
    struct Piece
    {
        int from;
        int to;
        QTextCharFormat format;
    };
    QList<Piece> pieces;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(from, fragment.position());
            const int end = std::min(to, fragment.position() + fragment.length());
            if (start < end)
                pieces.append({start, end, fragment.charFormat()});
        }
    }
    changeContent(
        [&] {
            QTextCursor cursor(document());
            cursor.beginEditBlock();
            for (Piece& piece : pieces) {
                edit(piece.format);
                cursor.setPosition(piece.from);
                cursor.setPosition(piece.to, QTextCursor::KeepAnchor);
                cursor.setCharFormat(piece.format);
            }
            cursor.endEditBlock();
        },
        false);
}

void RichTextEdit::applyTabs(const std::function<void(QList<QTextOption::Tab>&)>& edit)
{
    const QList<QTextBlock> blocks = selectedBlocks();
    changeContent(
        [&] {
            QTextCursor cursor(document());
            cursor.beginEditBlock();
            for (const QTextBlock& block : blocks) {
                QTextBlockFormat format = block.blockFormat();
                QList<QTextOption::Tab> tabs = format.tabPositions();
                edit(tabs);
                format.setTabPositions(tabs);
                cursor.setPosition(block.position());
                cursor.setBlockFormat(format);
            }
            cursor.endEditBlock();
        },
        false);
}

QList<QTextBlock> RichTextEdit::selectedBlocks() const
{
    const QTextCursor cursor = textCursor();
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    QList<QTextBlock> blocks;
    for (QTextBlock block = document()->findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
        blocks.append(block);
        if (block == last)
            break;
    }
    return blocks;
}

const QString& RichTextEdit::plainText() const
{
    if (!m_plainTextKnown) {
        m_plainText = PlainText::of(*document());
        m_plainTextKnown = true;
    }
    return m_plainText;
}

// Like the rich-edit control, new content starts with the caret at the top
// and typing takes the format of the first character.
void RichTextEdit::resetCaret()
{
    setTextCursor(QTextCursor(document()));
}
