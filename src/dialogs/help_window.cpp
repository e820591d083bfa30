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
        resize(Twips::toPixels(first.Width, WindowPlacement::logicalDpi()),
               Twips::toPixels(first.Height, WindowPlacement::logicalDpi()));
    layOut();
    m_cboContents->addItems(m_help.titles());
    showTopic(m_cboContents->currentIndex());
    connect(m_cboContents, &QComboBox::currentIndexChanged, this, &HelpWindow::showTopic);
}

void HelpWindow::buildControls(const Setup& setup)
{
    m_cboContents = new QComboBox(this);
    m_cboContents->setObjectName(QStringLiteral("cboContents"));
    m_imgCopy =
        new HelpCopyButton(AppPictures::copy(), setup.HiliteColor, setup.HiliteShadowColor, this);
    m_imgCopy->setObjectName(QStringLiteral("imgCopy"));
    m_imgCopy->setToolTip(setup.text(TextId::HelpCopy));
    m_shpFrame = new QFrame(this);
    m_shpFrame->setObjectName(QStringLiteral("shpFrame"));
    m_shpFrame->setFrameShape(QFrame::Box);
    m_shpFrame->setAutoFillBackground(true);
    m_shpFrame->setBackgroundRole(QPalette::Base);
    m_rtfHelp = new RichTextEdit(this);
    m_rtfHelp->setObjectName(QStringLiteral("rtfHelp"));
    m_rtfHelp->setFrameShape(QFrame::NoFrame);
    m_rtfHelp->setReadOnly(true);
    m_cboContents->setAccessibleName(setup.text(TextId::HelpContentsName));
    m_cboContents->setAccessibleDescription(setup.text(TextId::HelpContentsDescription));
    m_rtfHelp->setAccessibleName(setup.text(TextId::HelpTextName));
    m_rtfHelp->setAccessibleDescription(setup.text(TextId::HelpTextDescription));
    m_rtfHelp->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont topicFont = m_rtfHelp->font();
    topicFont.setFamily(kTopicFont);
    m_rtfHelp->setFont(topicFont);
    connect(m_imgCopy, &HelpCopyButton::clicked, m_rtfHelp, &RichTextEdit::postCopy);
    connect(m_imgCopy, &HelpCopyButton::released, m_rtfHelp, [this] { m_rtfHelp->setFocus(); });
}

// Until the user sizes the window, it opens where it always did, large enough
// to read a topic in.
FormPosition HelpWindow::firstPlacement() const
{
    const QFontMetrics topic(QFont(m_rtfHelp->font().family(), kTopicPoints));
    const double dpi = WindowPlacement::logicalDpi();
    const QSize size =
        HelpLayout::firstSize(static_cast<int>(Twips::fromPixels(topic.averageCharWidth(), dpi)),
                              static_cast<int>(Twips::fromPixels(topic.lineSpacing(), dpi)));
    FormPosition position;
    position.Width = size.width();
    position.Height = size.height();
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
    m_cboContents->setCurrentIndex(index);
}

int HelpWindow::currentTopic() const
{
    return m_cboContents->currentIndex();
}

void HelpWindow::showTopic(int index)
{
    m_rtfHelp->setTextRTF(QString::fromLatin1(m_help.topicRtf(index)));
    m_imgCopy->setLook(HelpCopyButton::Look::Normal);
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
        static_cast<int>(Twips::fromPixels(m_cboContents->sizeHint().height(), dpi));
    const HelpLayout::Geometry g = HelpLayout::layOut(inner, comboHeight);
    m_imgCopy->setGeometry(Twips::toPixels(g.imgCopy, dpi));
    m_cboContents->setGeometry(Twips::toPixels(g.cboContents, dpi));
    m_shpFrame->setGeometry(Twips::toPixels(g.shpFrame, dpi));
    m_rtfHelp->setGeometry(Twips::toPixels(g.rtfHelp, dpi));
}
