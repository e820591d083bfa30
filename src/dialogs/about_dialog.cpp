#include "dialogs/about_dialog.h"

#include "core/app_info.h"
#include "core/event_log.h"
#include "core/folders.h"
#include "core/message_service.h"
#include "core/twips.h"
#include "rules/about_rules.h"
#include "ui/app_pictures.h"
#include "ui/page_fonts.h"
#include "ui/window_placement.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QSysInfo>
#include <QTextLayout>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

constexpr int kFontPoints = 8;
constexpr int kTitlePoints = 14;

// Design positions in twips, in the window's client area.
constexpr QSize kClientSize(6480, 4320);
constexpr QRect kBand(0, 0, 6480, 1020);
constexpr QRect kIcon(240, 270, 480, 480);
constexpr QRect kTitle(900, 150, 5340, 450);
constexpr QRect kVersion(900, 630, 5340, 270);
constexpr QRect kFrame(240, 1200, 6000, 2040);
constexpr QRect kDescription(420, 1380, 5640, 840);
constexpr QRect kScreen(255, 1215, 5970, 2010); // `picScreen2` and `lstThanks`, inside the frame
constexpr QRect kDisclaimer(240, 3360, 4545, 720);
constexpr QRect kOkButton(5025, 3720, 1215, 350);

constexpr AboutRules::Color kBandFrom{101, 126, 211};
constexpr AboutRules::Color kBandTo{108, 140, 228};

int toPixels(int twips)
{
    return Twips::toPixels(twips, WindowPlacement::logicalDpi());
}

QRect toPixels(const QRect& twips)
{
    return Twips::toPixels(twips, WindowPlacement::logicalDpi());
}

// `Picture1`: the band `grad` paints, one colour a column.
class GradientBand : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QList<AboutRules::Rgb> columns = AboutRules::gradient(kBandFrom, kBandTo, width());
        for (int x = 0; x < columns.size(); ++x) {
            const AboutRules::Rgb& c = columns[x];
            painter.setPen(QColor(c.red, c.green, c.blue));
            painter.drawLine(x, 0, x, height() - 1);
        }
    }
};

// A row of `lstAppProperties` drawn as two columns. The row's tabs separate
// name and value; every value starts at one column, whatever the widths of
// the names in the font at hand.
class PropertyRowDelegate : public QStyledItemDelegate
{
public:
    PropertyRowDelegate(int valueLeft, QObject* parent)
        : QStyledItemDelegate(parent), m_valueLeft(valueLeft)
    {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QString row = item.text;
        item.text.clear();
        const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
        const bool selected = item.state & QStyle::State_Selected;
        painter->save();
        painter->setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, row.section(u'\t', 0, 0));
        painter->drawText(text.adjusted(m_valueLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          row.section(u'\t', -1));
        painter->restore();
    }

private:
    int m_valueLeft;
};

// Where `phrase` begins in a word-wrapped, top-aligned plain-text label, in
// the label's coordinates: its lines are laid out as the label draws them.
// A phrase the text lacks gets the start of the line below the text.
QPoint phraseOrigin(const QLabel* label, const QString& phrase)
{
    const QString text = label->text();
    QTextLayout layout(QString(text).replace(QLatin1Char('\n'), QChar::LineSeparator),
                       label->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    const qreal leading = QFontMetricsF(label->font()).leading();
    qreal y = -leading;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->contentsRect().width());
        y = std::ceil(y + leading);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    const int index = phrase.isEmpty() ? -1 : static_cast<int>(text.lastIndexOf(phrase));
    if (index < 0)
        return {0, static_cast<int>(std::ceil(y + leading))};
    const QTextLine line = layout.lineForTextPosition(index);
    return QPointF(line.cursorToX(index), line.y()).toPoint();
}

// A position in twips from "language.ini", or `fallback` pixels when there is none.
int pixelsFrom(const QString& twips, int fallback)
{
    bool ok = false;
    const int value = twips.trimmed().toInt(&ok);
    return ok ? toPixels(value) : fallback;
}

QLabel* newLabel(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget* owner, TextLookup text, const FormLocalize& localize,
                         MessageService& messages, const EventLog& log)
    : QDialog(owner), m_text(std::move(text)), m_messages(messages)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(BuiltInTexts::text(TextId::AboutCaption));
    setFont(QFont(PageFonts::defaultFamily(), kFontPoints));
    buildControls();
    if (localize)
        localize(this);
    layOut();
    placeMailLink();
    setWindowTitle(windowTitle().replace(QLatin1String("%apptitle"), AppInfo::title()));
    composeVersion();
    fillProperties(log);
    fillThanks();
    showScreen(Screen::Version);

    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_appPropertiesList, &QListWidget::itemDoubleClicked, this, &AboutDialog::showProperty);
}

void AboutDialog::showAbout(QWidget* owner, TextLookup text, const FormLocalize& localize,
                            MessageService& messages, const EventLog& log)
{
    AboutDialog box(owner, std::move(text), localize, messages, log);
    box.exec();
}

void AboutDialog::buildControls()
{
    m_band = new GradientBand(this);
    m_band->setObjectName(QStringLiteral("Picture1"));
    m_iconLabel = newLabel("picIcon", {}, this);
    m_iconLabel->setPixmap(AppPictures::windowIcon().pixmap(toPixels(kIcon.width())));

    QPalette onBand = palette();
    onBand.setColor(QPalette::WindowText, Qt::white);
    m_titleLabel = newLabel("lblTitle", AppInfo::title(), this);
    m_titleLabel->setFont(QFont(QStringLiteral("Verdana"), kTitlePoints, QFont::Bold));
    m_titleLabel->setPalette(onBand);
    m_versionLabel = newLabel("lblVersion", BuiltInTexts::text(TextId::AboutVersion), this);
    m_versionLabel->setPalette(onBand);

    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("shpFrame"));
    m_frame->setFrameShape(QFrame::Box);
    m_frame->setFrameShadow(QFrame::Sunken);
    m_descriptionLabel =
        newLabel("lblDescription", BuiltInTexts::text(TextId::AboutDescription), this);
    m_descriptionLabel->setWordWrap(true);
    m_descriptionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Drawn over its own words in the description, which it hides.
    m_mailMeLabel = newLabel("lblMailMe", BuiltInTexts::text(TextId::AboutMailMe), this);
    m_mailMeLabel->setAutoFillBackground(true);
    QFont linkFont = font();
    linkFont.setUnderline(true);
    m_mailMeLabel->setFont(linkFont);
    QPalette link = palette();
    link.setColor(QPalette::WindowText, link.color(QPalette::Link));
    m_mailMeLabel->setPalette(link);
    m_mailMeLabel->setCursor(AppPictures::handCursor());
    m_mailMeLabel->installEventFilter(this);
    m_disclaimerLabel =
        newLabel("lblDisclaimer", BuiltInTexts::text(TextId::AboutDisclaimer), this);
    m_disclaimerLabel->setWordWrap(true);
    m_disclaimerLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_secondScreen = new QWidget(this);
    m_secondScreen->setObjectName(QStringLiteral("picScreen2"));
    m_appPropertiesList = new QListWidget(m_secondScreen);
    m_appPropertiesList->setObjectName(QStringLiteral("lstAppProperties"));
    m_thanksList = new QListWidget(this);
    m_thanksList->setObjectName(QStringLiteral("lstThanks"));
    m_thanksList->setWordWrap(true);
    for (const auto& [list, name, description] :
         {std::tuple{m_appPropertiesList, TextId::AboutPropertiesName,
                     TextId::AboutPropertiesDescription},
          std::tuple{m_thanksList, TextId::AboutThanksName, TextId::AboutThanksDescription}}) {
        list->setAccessibleName(m_text(name));
        list->setAccessibleDescription(m_text(description));
    }

    m_okButton = new QPushButton(BuiltInTexts::text(TextId::AboutOk), this);
    m_okButton->setObjectName(QStringLiteral("cmdOK"));
    m_okButton->setDefault(true);
}

// The one place where the design in twips becomes pixels.
void AboutDialog::layOut()
{
    m_band->setGeometry(toPixels(kBand));
    m_iconLabel->setGeometry(toPixels(kIcon));
    m_titleLabel->setGeometry(toPixels(kTitle));
    m_versionLabel->setGeometry(toPixels(kVersion));
    m_frame->setGeometry(toPixels(kFrame));
    m_descriptionLabel->setGeometry(toPixels(kDescription));
    m_disclaimerLabel->setGeometry(toPixels(kDisclaimer));
    m_secondScreen->setGeometry(toPixels(kScreen));
    m_appPropertiesList->setGeometry(m_secondScreen->rect());
    m_thanksList->setGeometry(toPixels(kScreen));
    m_okButton->setGeometry(toPixels(kOkButton));
    setFixedSize(toPixels(QRect(QPoint(), kClientSize)).size());
}

// A translation moves the link with its sentence through "lblMailMe.Left" and
// "lblMailMe.top"; without them it lies over its own words.
void AboutDialog::placeMailLink()
{
    m_mailMeLabel->adjustSize();
    const QPoint overWords = m_descriptionLabel->geometry().topLeft() +
                             phraseOrigin(m_descriptionLabel, m_mailMeLabel->text());
    m_mailMeLabel->move(pixelsFrom(m_text(TextId::AboutMailMeLeft), overWords.x()),
                        pixelsFrom(m_text(TextId::AboutMailMeTop), overWords.y()));
    m_mailMeLabel->setToolTip(QUrl(feedbackLink()).toString());
}

QString AboutDialog::feedbackLink() const
{
    const QString translated = m_text(TextId::AboutMailLink).trimmed();
    if (!translated.isEmpty())
        return translated;
    const QString body =
        m_text(TextId::AboutMailBody).arg(QSysInfo::prettyProductName(), AppInfo::versionText());
    return AboutRules::feedbackLink(AppInfo::feedbackAddress(), m_text(TextId::AboutMailSubject),
                                    body);
}

void AboutDialog::composeVersion()
{
    const int revision = AppInfo::versionRevision;
    const QString stage =
        AboutRules::stageText(revision, m_text(TextId::AboutAlpha), m_text(TextId::AboutBeta));
    m_versionText = AboutRules::versionCaption(m_versionLabel->text(), AppInfo::versionMajor,
                                               AppInfo::versionMinor, revision, stage);
}

void AboutDialog::fillProperties(const EventLog& log)
{
    const QString yes = m_text(TextId::AboutYes);
    const QString no = m_text(TextId::AboutNo);
    const QString exeName = Folders::exeBaseNameOf(QCoreApplication::applicationFilePath());
    const QString platform = QGuiApplication::platformName();
    const QWidget* mainWindow = parentWidget() ? parentWidget()->window() : nullptr;
    const bool inTaskList =
        mainWindow && mainWindow->isVisible() && mainWindow->windowType() == Qt::Window;
    struct Row
    {
        const char* name;
        int tabs;
        QString value;
    };
    const Row rows[] = {
        {"Title", 2, AppInfo::title()},
        {"Major", 2, QString::number(AppInfo::versionMajor)},
        {"Minor", 2, QString::number(AppInfo::versionMinor)},
        {"Revision", 2, QString::number(AppInfo::versionRevision)},
        {"Comments", 1,
         m_text(TextId::AboutComments)
             .arg(QLatin1String(QT_VERSION_STR), QLatin1String(qVersion()))},
        {"CompanyName", 1, m_text(TextId::AboutCompanyName)},
        {"EXEName", 2, exeName},
        {"FileDescription", 1, m_text(TextId::AboutFileDescription)},
        // The topic list the help window reads, beside the program.
        {"HelpFile", 2, exeName + QStringLiteral(".hlp")},
        // The running program's nearest counterpart of a module handle.
        {"hInstance", 1, QString::number(QCoreApplication::applicationPid())},
        {"LegalCopyright", 1, m_text(TextId::AboutLegalCopyright)},
        {"LegalTrademarks", 1, m_text(TextId::AboutLegalTrademarks)},
        {"LogMode", 2, m_text(log.isOn() ? TextId::AboutLogOn : TextId::AboutLogOff)},
        {"LogPath", 2, QDir::toNativeSeparators(log.path())},
        // The find and help windows are modeless whenever the program runs.
        {"NonModalAllowed", 1, yes},
        {"Path", 2, QDir::toNativeSeparators(QCoreApplication::applicationDirPath())},
        // A second copy hands its request to the first and ends before any window opens.
        {"PrevInstance", 1, no},
        {"ProductName", 1, AppInfo::title()},
        // Nothing of the program stays loaded once it ends.
        {"RetainedProject", 1, no},
        // The window system the program was started on.
        {"StartMode", 1, platform},
        {"TaskVisible", 1, inTaskList ? yes : no},
        {"ThreadID", 2, QString::number(reinterpret_cast<quintptr>(QThread::currentThreadId()))},
        // Windows drawn nowhere (tests, a headless run) have nobody to answer them.
        {"UnattendedApp", 1,
         platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ? yes : no},
    };
    const QFontMetrics metrics(m_appPropertiesList->font());
    int widestName = 0;
    for (const Row& row : rows) {
        const QString name = QLatin1String(row.name);
        m_appPropertiesList->addItem(name + QString(row.tabs, QLatin1Char('\t')) + row.value);
        widestName = std::max(widestName, metrics.horizontalAdvance(name));
    }
    m_appPropertiesList->setItemDelegate(
        new PropertyRowDelegate(widestName + 2 * metrics.averageCharWidth(), m_appPropertiesList));
}

void AboutDialog::fillThanks()
{
    QString lines = m_text(TextId::AboutThanks);
    m_thanksList->addItems(
        lines.replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n')));
}

void AboutDialog::showScreen(Screen screen)
{
    m_secondScreen->setVisible(screen == Screen::AppInfo);
    m_thanksList->setVisible(screen == Screen::Thanks);
    switch (screen) {
    case Screen::Version:
        m_versionLabel->setText(m_versionText);
        break;
    case Screen::AppInfo:
        m_versionLabel->setText(m_text(TextId::AboutAppInfoScreen));
        break;
    case Screen::Thanks:
        m_versionLabel->setText(m_text(TextId::AboutThanksScreen));
        break;
    }
}

// The name is the row's text before its first tab, the value the text after its last.
void AboutDialog::showProperty(const QListWidgetItem* item)
{
    const QString row = item->text();
    m_messages.show(row.section(QLatin1Char('\t'), -1), MessageService::Icon::None,
                    row.section(QLatin1Char('\t'), 0, 0));
}

void AboutDialog::keyPressEvent(QKeyEvent* event)
{
    constexpr auto shiftKeys = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if (!(event->modifiers() & shiftKeys)) {
        switch (event->key()) {
        case Qt::Key_F1:
            showScreen(Screen::Version);
            return;
        case Qt::Key_F2:
            showScreen(Screen::AppInfo);
            return;
        case Qt::Key_F3:
            showScreen(Screen::Thanks);
            return;
        default:
            break;
        }
    }
    QDialog::keyPressEvent(event);
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mailMeLabel && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        QDesktopServices::openUrl(QUrl(m_mailMeLabel->toolTip()));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
