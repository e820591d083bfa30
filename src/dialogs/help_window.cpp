#include "dialogs/help_window.h"

#include "core/app_info.h"
#include "core/message_service.h"
#include "core/twips.h"
#include "dialogs/help_copy_button.h"
#include "rules/help_layout.h"
#include "ui/app_pictures.h"
#include "ui/page_fonts.h"
#include "ui/rich_text_edit.h"
#include "ui/window_placement.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>

namespace {

constexpr int kFontPoints = 8;
// The size the help's topics are written in.
constexpr int kTopicPoints = 9;
const QString kTopicFont = QStringLiteral("Verdana");

} // namespace

HelpWindow::HelpWindow(const Setup& setup, HelpDocument help, QWidget* owner)
    : QDialog(owner), m_help(std::move(help)), m_placement(setup.placement)
{
    setObjectName(QStringLiteral("frmHelp"));
    // A window of its own beside the notebook, which can be maximized.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setFont(QFont(PageFonts::defaultFamily(), kFontPoints));
    setWindowTitle(setup.text(TextId::HelpCaption) + u' ' + AppInfo::title());
    buildControls(setup);
    const FormPosition first = firstPlacement();
    if (m_placement)
        WindowPlacement::loadFormPosition(this, *m_placement, first);
    else
        resize(Twips::toPixels(first.width, WindowPlacement::logicalDpi()),
               Twips::toPixels(first.height, WindowPlacement::logicalDpi()));
    layOut();
    m_contentsCombo->addItems(m_help.titles());
    showTopic(m_contentsCombo->currentIndex());
    connect(m_contentsCombo, &QComboBox::currentIndexChanged, this, &HelpWindow::showTopic);
}

void HelpWindow::buildControls(const Setup& setup)
{
    m_contentsCombo = new QComboBox(this);
    m_contentsCombo->setObjectName(QStringLiteral("cboContents"));
    m_copyButton = new HelpCopyButton(AppPictures::copy(), setup.highlightColor,
                                      setup.highlightShadowColor, this);
    m_copyButton->setObjectName(QStringLiteral("imgCopy"));
    m_copyButton->setToolTip(setup.text(TextId::HelpCopy));
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("shpFrame"));
    m_frame->setFrameShape(QFrame::Box);
    m_frame->setAutoFillBackground(true);
    m_frame->setBackgroundRole(QPalette::Base);
    m_helpEditor = new RichTextEdit(this);
    m_helpEditor->setObjectName(QStringLiteral("rtfHelp"));
    m_helpEditor->setFrameShape(QFrame::NoFrame);
    m_helpEditor->setReadOnly(true);
    m_contentsCombo->setAccessibleName(setup.text(TextId::HelpContentsName));
    m_contentsCombo->setAccessibleDescription(setup.text(TextId::HelpContentsDescription));
    m_helpEditor->setAccessibleName(setup.text(TextId::HelpTextName));
    m_helpEditor->setAccessibleDescription(setup.text(TextId::HelpTextDescription));
    m_helpEditor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont topicFont = m_helpEditor->font();
    topicFont.setFamily(kTopicFont);
    m_helpEditor->setFont(topicFont);
    connect(m_copyButton, &HelpCopyButton::clicked, m_helpEditor, &RichTextEdit::postCopy);
    connect(m_copyButton, &HelpCopyButton::released, m_helpEditor,
            [this] { m_helpEditor->setFocus(); });
}

// Until the user sizes the window, it opens where it always did, large enough
// to read a topic in.
FormPosition HelpWindow::firstPlacement() const
{
    const QFontMetrics topic(QFont(m_helpEditor->font().family(), kTopicPoints));
    const double dpi = WindowPlacement::logicalDpi();
    const QSize size =
        HelpLayout::firstSize(static_cast<int>(Twips::fromPixels(topic.averageCharWidth(), dpi)),
                              static_cast<int>(Twips::fromPixels(topic.lineSpacing(), dpi)));
    FormPosition position;
    position.width = size.width();
    position.height = size.height();
    return position;
}

std::optional<HelpDocument> HelpWindow::loadHelpFile(const Setup& setup)
{
    HelpDocument help;
    if (help.load(setup.topicListPath))
        return help;
    if (setup.messages)
        setup.messages->show(setup.text(TextId::HelpFailure), MessageService::Icon::Exclamation);
    return std::nullopt;
}

HelpWindow* HelpWindow::showModeless(const Setup& setup, QWidget* owner)
{
    std::optional<HelpDocument> help = loadHelpFile(setup);
    if (!help)
        return nullptr;
    auto* window = new HelpWindow(setup, std::move(*help), owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

void HelpWindow::showModal(const Setup& setup, QWidget* owner, int topic)
{
    std::optional<HelpDocument> help = loadHelpFile(setup);
    if (!help)
        return;
    HelpWindow window(setup, std::move(*help), owner);
    window.selectTopic(topic);
    window.exec();
}

void HelpWindow::selectTopic(int index)
{
    m_contentsCombo->setCurrentIndex(index);
}

int HelpWindow::currentTopic() const
{
    return m_contentsCombo->currentIndex();
}

void HelpWindow::showTopic(int index)
{
    m_helpEditor->setTextRTF(QString::fromLatin1(m_help.topicRtf(index)));
    m_copyButton->setLook(HelpCopyButton::Look::Normal);
}

void HelpWindow::done(int result)
{
    if (m_placement)
        WindowPlacement::saveFormPosition(this, *m_placement);
    QDialog::done(result);
}

void HelpWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layOut();
}

void HelpWindow::layOut()
{
    const double dpi = WindowPlacement::logicalDpi();
    const QSize inner(static_cast<int>(Twips::fromPixels(width(), dpi)),
                      static_cast<int>(Twips::fromPixels(height(), dpi)));
    const int comboHeight =
        static_cast<int>(Twips::fromPixels(m_contentsCombo->sizeHint().height(), dpi));
    const HelpLayout::Geometry g = HelpLayout::layOut(inner, comboHeight);
    m_copyButton->setGeometry(Twips::toPixels(g.copyButton, dpi));
    m_contentsCombo->setGeometry(Twips::toPixels(g.contents, dpi));
    m_frame->setGeometry(Twips::toPixels(g.frame, dpi));
    m_helpEditor->setGeometry(Twips::toPixels(g.text, dpi));
}
