#include "dialogs/options_dialog.h"

#include "core/folders.h"
#include "core/message_service.h"
#include "core/options.h"
#include "core/storage_folder.h"
#include "dialogs/options_host.h"
#include "dialogs/password_dialog.h"
#include "dialogs/styles_page.h"
#include "richtext/win_color.h"
#include "styles/styles.h"
#include "ui/cue_text_box.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The narrowest tabs the splitter gives.
constexpr double kWidthMin = 300;
constexpr double kWidthMax = 2000;
constexpr double kDurationMin = 1;
constexpr double kDurationMax = 30;
constexpr double kAutosaveMin = 1;
constexpr double kAutosaveMax = 32767;
// Help topics of the pages follow the topics of the main window.
constexpr int kFirstPageTopic = 7;
constexpr int kPagesWidth = 150;
constexpr int kListPadding = 8;
const QString kDefaultAutosave = QStringLiteral("5");
const QString kDefaultDuration = QStringLiteral("10");

template <typename T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, TextId caption)
{
    return named(new QLabel(BuiltInTexts::text(caption), parent), name);
}

QCheckBox* checkBox(QWidget* parent, const char* name, TextId caption)
{
    return named(new QCheckBox(BuiltInTexts::text(caption), parent), name);
}

QPushButton* button(QWidget* parent, const char* name, TextId caption)
{
    return named(new QPushButton(BuiltInTexts::text(caption), parent), name);
}

QRadioButton* option(QWidget* parent, const char* name, TextId caption)
{
    return named(new QRadioButton(BuiltInTexts::text(caption), parent), name);
}

// A field that takes digits only, whatever way they come in.
QLineEdit* numberField(QWidget* parent, const char* name)
{
    auto* field = named(new QLineEdit(parent), name);
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    return field;
}

// A page of the dialog: the "Tag" starting with "@" names it in the page list.
QWidget* page(QWidget* parent, const char* name, TextId tag)
{
    auto* widget = named(new QWidget(parent), name);
    widget->setProperty("Tag", BuiltInTexts::text(tag));
    return widget;
}

bool isPage(const QWidget* widget)
{
    return widget->property("Tag").toString().startsWith(u'@');
}

} // namespace

OptionsDialog::OptionsDialog(OptionsHost& host, MessageService& messages, TextLookup text,
                             FormLocalize localize, QWidget* owner)
    : QDialog(owner), m_host(host), m_messages(messages), m_text(std::move(text)),
      m_localize(std::move(localize))
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(BuiltInTexts::text(TextId::OptionsCaption));
    buildControls();
    loadSettings();
    m_stylesPage->fillList();
    if (m_localize)
        m_localize(this);
    fillPageList();
    showPasswordState();
    m_useRtfEdit->setBalloonTipIcon(BalloonTip::Icon::Warning);
    m_useRtfEdit->setBalloonTipTitle(m_text(TextId::DisableRTFWarningTitle));
    m_useRtfEdit->setBalloonTipText(m_text(TextId::DisableRTFWarning));

    connect(m_pageList, &QListWidget::currentRowChanged, this, &OptionsDialog::showChosenPage);
    connect(m_autosaveCheck, &QCheckBox::toggled, this,
            [this] { onCheckedNumber(m_autosaveCheck, m_autosaveDurationEdit, kDefaultAutosave); });
    connect(m_tipsCheck, &QCheckBox::toggled, this,
            [this] { onCheckedNumber(m_tipsCheck, m_durationEdit, kDefaultDuration); });
    connect(m_useRtfCheck, &QCheckBox::toggled, this, &OptionsDialog::onUseRtfToggled);
    connect(m_okButton, &QPushButton::clicked, this, &OptionsDialog::onOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_helpButton, &QPushButton::clicked, this,
            [this] { m_host.showHelpTopic(m_pageList->currentRow() + kFirstPageTopic, this); });
    m_pageList->setCurrentRow(0);
}

void OptionsDialog::buildControls()
{
    m_pageList = named(new QListWidget(this), "lstPages");
    m_pageList->setFixedWidth(kPagesWidth);
    m_pageList->setAccessibleName(m_text(TextId::OptionsPagesName));
    m_pageList->setAccessibleDescription(m_text(TextId::OptionsPagesDescription));
    m_headingLabel = named(new QLabel(this), "lblHeading");
    QFont bold = m_headingLabel->font();
    bold.setBold(true);
    m_headingLabel->setFont(bold);
    m_pages = {buildGeneralPage(), buildBookPage(), buildEditingPage(),
               page(this, "Picture7", TextId::OptionsStylesTag), buildPrivacyPage()};
    m_stylesPage = new StylesPage(m_host.appStyles(), m_messages, m_text, m_localize, m_pages[3]);
    auto* stylesLayout = new QVBoxLayout(m_pages[3]);
    stylesLayout->setContentsMargins(0, 0, 0, 0);
    stylesLayout->addWidget(m_stylesPage);

    // Made in the order they are drawn, left to right, which Tab follows.
    m_helpButton = button(this, "cmdHelp", TextId::OptionsHelp);
    m_okButton = button(this, "cmdOK", TextId::OptionsOk);
    m_okButton->setDefault(true);
    m_cancelButton = button(this, "cmdCancel", TextId::OptionsCancel);

    // Every page keeps its room while hidden, so the dialog has the size of
    // its largest page whichever page is shown.
    auto* pages = new QGridLayout;
    for (QWidget* widget : m_pages) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
        pages->addWidget(widget, 0, 0, Qt::AlignTop);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_helpButton);
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    auto* right = new QVBoxLayout;
    right->addWidget(m_headingLabel);
    right->addLayout(pages, 1);
    right->addLayout(buttons);
    auto* grid = new QHBoxLayout(this);
    grid->addWidget(m_pageList);
    grid->addLayout(right, 1);
}

QWidget* OptionsDialog::buildGeneralPage()
{
    QWidget* picture = page(this, "Picture1", TextId::OptionsGeneralTag);
    m_enableSortCheck = checkBox(picture, "chkEnableSort", TextId::OptionsEnableSort);
    m_statusCheck = checkBox(picture, "chkStatus", TextId::OptionsStatus);
    QLabel* widthLabel = label(picture, "lblWidth", TextId::OptionsWidth);
    m_widthEdit = numberField(picture, "txtWidth");
    widthLabel->setBuddy(m_widthEdit);
    m_tipsCheck = checkBox(picture, "chkTips", TextId::OptionsTips);
    QLabel* durationLabel = label(picture, "lblDuration", TextId::OptionsDuration);
    m_durationEdit = numberField(picture, "txtDuration");
    durationLabel->setBuddy(m_durationEdit);
    m_languageLabel = label(picture, "lblLanguage", TextId::OptionsLanguage);
    m_languageCombo = named(new QComboBox(picture), "cboLanguage");
    m_languageLabel->setBuddy(m_languageCombo);

    auto* grid = new QGridLayout(picture);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_enableSortCheck, 0, 0, 1, 4);
    grid->addWidget(m_statusCheck, 1, 0, 1, 4);
    grid->addWidget(widthLabel, 2, 0);
    grid->addWidget(m_widthEdit, 2, 1);
    grid->addWidget(label(picture, "lblWidthUnit", TextId::OptionsWidthUnit), 2, 2);
    grid->addWidget(m_tipsCheck, 3, 0, 1, 4);
    grid->addWidget(durationLabel, 4, 0, Qt::AlignRight);
    grid->addWidget(m_durationEdit, 4, 1);
    grid->addWidget(label(picture, "lblDurationUnit", TextId::OptionsDurationUnit), 4, 2);
    grid->addWidget(m_languageLabel, 5, 0);
    grid->addWidget(m_languageCombo, 5, 1, 1, 3, Qt::AlignLeft);
    grid->setColumnStretch(3, 1);
    return picture;
}

QWidget* OptionsDialog::buildBookPage()
{
    QWidget* picture = page(this, "Picture2", TextId::OptionsBookTag);
    m_autosaveCheck = checkBox(picture, "chkAutosave", TextId::OptionsAutosave);
    QLabel* everyLabel = label(picture, "lblAutosaveDuration", TextId::OptionsAutosaveEvery);
    m_autosaveDurationEdit = numberField(picture, "txtAutosaveDuration");
    everyLabel->setBuddy(m_autosaveDurationEdit);
    QLabel* filePathLabel = label(picture, "lblFilePath", TextId::OptionsFilePath);
    m_filePathEdit = named(new QLineEdit(picture), "txtFilePath");
    filePathLabel->setBuddy(m_filePathEdit);
    QPushButton* browseButton = button(picture, "cmdBrowse", TextId::OptionsBrowse);
    QPushButton* defaultPathButton = button(picture, "cmdDefPath", TextId::OptionsDefPath);
    m_useRtfCheck = checkBox(picture, "chkUseRtf", TextId::OptionsUseRtf);
    // Only the anchor of the warning balloon; it takes neither focus nor text.
    m_useRtfEdit = named(new CueTextBox(picture), "txtUseRtf");
    m_useRtfEdit->setReadOnly(true);
    m_useRtfEdit->setFrame(false);
    m_useRtfEdit->setFocusPolicy(Qt::NoFocus);
    m_useRtfEdit->setFixedWidth(1);

    auto* grid = new QGridLayout(picture);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_autosaveCheck, 0, 0, 1, 4);
    grid->addWidget(everyLabel, 1, 0, Qt::AlignRight);
    grid->addWidget(m_autosaveDurationEdit, 1, 1);
    grid->addWidget(label(picture, "lblAutosaveUnit", TextId::OptionsAutosaveUnit), 1, 2);
    grid->addWidget(filePathLabel, 2, 0, 1, 4);
    grid->addWidget(m_filePathEdit, 3, 0, 1, 3);
    grid->addWidget(browseButton, 3, 3);
    grid->addWidget(defaultPathButton, 4, 3);
    auto* rtf = new QHBoxLayout;
    rtf->addWidget(m_useRtfCheck);
    rtf->addWidget(m_useRtfEdit);
    rtf->addStretch();
    grid->addLayout(rtf, 5, 0, 1, 4);
    grid->setColumnStretch(2, 1);

    connect(browseButton, &QPushButton::clicked, this, &OptionsDialog::browse);
    connect(defaultPathButton, &QPushButton::clicked, this, &OptionsDialog::defaultPath);
    return picture;
}

QWidget* OptionsDialog::buildEditingPage()
{
    QWidget* picture = page(this, "Picture5", TextId::OptionsEditingTag);
    m_pageStartRadio = option(picture, "optPageStart", TextId::OptionsPageStart);
    m_pageEndRadio = option(picture, "optPageEnd", TextId::OptionsPageEnd);
    m_systemColorRadio = option(picture, "optSystemColor", TextId::OptionsSystemColor);
    m_customColorRadio = option(picture, "optCustomColor", TextId::OptionsCustomColor);
    for (const auto& pair : {std::pair{m_pageStartRadio, m_pageEndRadio},
                             std::pair{m_systemColorRadio, m_customColorRadio}}) {
        auto* group = new QButtonGroup(picture);
        group->addButton(pair.first);
        group->addButton(pair.second);
    }
    m_pageColorSample = named(new QLabel(picture), "picPageColor");
    m_pageColorSample->setFrameShape(QFrame::Box);
    m_pageColorSample->setAutoFillBackground(true);
    m_pageColorSample->setFixedSize(48, 20);
    m_pageColorSample->setCursor(Qt::PointingHandCursor);
    m_pageColorSample->installEventFilter(this);

    auto* grid = new QGridLayout(picture);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(label(picture, "lblCursor", TextId::OptionsCursor), 0, 0, 1, 3);
    grid->addWidget(m_pageStartRadio, 1, 0, 1, 3);
    grid->addWidget(m_pageEndRadio, 2, 0, 1, 3);
    grid->addWidget(label(picture, "lblPageColor", TextId::OptionsPageColor), 3, 0, 1, 3);
    grid->addWidget(m_systemColorRadio, 4, 0, 1, 3);
    grid->addWidget(m_customColorRadio, 5, 0);
    grid->addWidget(m_pageColorSample, 5, 1);
    grid->setColumnStretch(2, 1);
    return picture;
}

QWidget* OptionsDialog::buildPrivacyPage()
{
    QWidget* picture = page(this, "Picture4", TextId::OptionsPrivacyTag);
    m_statusLabel = named(new QLabel(picture), "lblStatus");
    m_statusLabel->setWordWrap(true);
    m_editPasswordButton = button(picture, "cmdEditPw", TextId::OptionsEditPw);
    m_deletePasswordButton = button(picture, "cmdDeletePw", TextId::OptionsDeletePw);
    m_encryptCheck = checkBox(picture, "chkEncrypt", TextId::OptionsEncrypt);
    m_exportOffLabel = label(picture, "lblExportOff", TextId::ExportWhileEncrypted);
    m_exportOffLabel->setWordWrap(true);
    auto* grid = new QGridLayout(picture);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_statusLabel, 0, 0, 1, 3);
    grid->addWidget(m_editPasswordButton, 1, 0);
    grid->addWidget(m_deletePasswordButton, 1, 1);
    grid->addWidget(m_encryptCheck, 2, 0, 1, 3);
    grid->addWidget(m_exportOffLabel, 3, 0, 1, 3);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(2, 1);
    connect(m_encryptCheck, &QCheckBox::toggled, this, &OptionsDialog::encryptToggled);
    connect(m_editPasswordButton, &QPushButton::clicked, this, &OptionsDialog::editPassword);
    connect(m_deletePasswordButton, &QPushButton::clicked, this, &OptionsDialog::deletePassword);
    return picture;
}

// In the order the settings always loaded; the check box handlers run where
// they always ran, so a setting of 0 shows a cleared box with the default.
void OptionsDialog::loadSettings()
{
    const Options& options = m_host.options();
    const auto shown = [](qint16 value) { return QString::number(std::max<qint16>(value, 0)); };
    m_statusCheck->setChecked(options.status);
    m_widthEdit->setText(QString::number(std::lround(options.buttonWidth)));
    m_useRtfCheck->setChecked(options.useRtf);
    m_tipsCheck->setChecked(options.tipsDuration >= 1);
    m_durationEdit->setText(shown(options.tipsDuration));
    m_autosaveCheck->setChecked(options.autosaveDuration >= 1);
    m_autosaveDurationEdit->setText(shown(options.autosaveDuration));
    onCheckedNumber(m_autosaveCheck, m_autosaveDurationEdit, kDefaultAutosave);
    m_filePathEdit->setText(m_host.filePath());
    m_enableSortCheck->setChecked(options.enableSort);
    onCheckedNumber(m_tipsCheck, m_durationEdit, kDefaultDuration);
    m_pageEndRadio->setChecked(options.moveToEnd);
    m_pageStartRadio->setChecked(!options.moveToEnd);
    m_pageColor = static_cast<quint32>(options.pageColor);
    m_systemColorRadio->setChecked(m_pageColor == WinColor::window);
    m_customColorRadio->setChecked(m_pageColor != WinColor::window);
    showPageColor();
    fillLanguages();

    m_width = {m_widthEdit, kWidthMin, kWidthMax, TextId::WidthValidation};
    m_duration = {m_durationEdit, kDurationMin, kDurationMax, TextId::DurationValidation};
    m_autosave = {m_autosaveDurationEdit, kAutosaveMin, kAutosaveMax, TextId::AutosaveValidation};
    for (QLineEdit* field : {m_widthEdit, m_durationEdit, m_autosaveDurationEdit})
        field->installEventFilter(this);
    m_useRtfCheck->installEventFilter(this);
}

void OptionsDialog::fillPageList()
{
    for (const QWidget* picture : m_pages)
        m_pageList->addItem(
            picture->property("Tag").toString().replace(QStringLiteral("@ "), QStringLiteral(" ")));
    // A longer translation widens the list rather than hiding its titles.
    m_pageList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pageList->setFixedWidth(
        std::max(kPagesWidth,
                 m_pageList->sizeHintForColumn(0) + 2 * m_pageList->frameWidth() + kListPadding));
}

void OptionsDialog::showChosenPage()
{
    const QListWidgetItem* entry = m_pageList->currentItem();
    if (!entry)
        return;
    const QString tag = u'@' + entry->text();
    for (QWidget* picture : m_pages) {
        if (isPage(picture))
            picture->setVisible(picture->property("Tag").toString() == tag);
    }
    m_headingLabel->setText(entry->text());
}

// A field that must be corrected is brought into view, on its page.
void OptionsDialog::showField(QWidget* field)
{
    for (int i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i]->isAncestorOf(field))
            m_pageList->setCurrentRow(i);
    }
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
}

void OptionsDialog::onCheckedNumber(QCheckBox* box, QLineEdit* field, const QString& fallback)
{
    field->setEnabled(box->isChecked());
    if (field->text().trimmed() == QLatin1String("0"))
        field->setText(fallback);
}

void OptionsDialog::onUseRtfToggled(bool checked)
{
    if (checked)
        m_useRtfEdit->hideBalloonTip();
    else
        m_useRtfEdit->showBalloonTip();
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pageColorSample && event->type() == QEvent::MouseButtonPress) {
        choosePageColor();
        return true;
    }
    if (watched == m_useRtfCheck && event->type() == QEvent::FocusOut)
        m_useRtfEdit->hideBalloonTip();
    if (isNumberKey(watched, event))
        return true;
    if (event->type() == QEvent::FocusOut)
        leaveField(watched, event);
    return QDialog::eventFilter(watched, event);
}

// A typed character other than a digit is refused with a beep.
bool OptionsDialog::isNumberKey(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const bool numberField =
        watched == m_widthEdit || watched == m_durationEdit || watched == m_autosaveDurationEdit;
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (!numberField || text.isEmpty() || !text.at(0).isPrint() || text.at(0).isDigit())
        return false;
    QApplication::beep();
    return true;
}

// Leaving a number field checks it, except toward OK, which checks every
// field itself, and toward Cancel, which must always close the dialog; a
// change of window (a message box, the dialog closing) is no leaving.
void OptionsDialog::leaveField(QObject* watched, QEvent* event)
{
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (m_checking || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    const QWidget* next = QApplication::focusWidget();
    if (next == m_cancelButton || next == m_okButton || !isVisible())
        return;
    for (const NumberField& number : {m_width, m_duration, m_autosave}) {
        if (number.field == watched && number.field->isEnabled() && !check(number)) {
            // The focus is still moving; it comes back once it has arrived.
            QTimer::singleShot(0, this, [this, field = number.field] { showField(field); });
        }
    }
}

bool OptionsDialog::check(const NumberField& number)
{
    bool converted = false;
    const double value = QLocale::c().toDouble(number.field->text().trimmed(), &converted);
    if (converted && value >= number.minimum && value <= number.maximum)
        return true;
    m_checking = true;
    m_messages.show(m_text(number.message), MessageService::Icon::Exclamation);
    m_checking = false;
    return false;
}

// The seconds, then the width, whether or not a tip is shown; the minutes
// only when they are stored.
bool OptionsDialog::checkNumbers()
{
    for (const NumberField& number : {m_duration, m_width, m_autosave}) {
        if (number.field == m_autosaveDurationEdit && !m_autosaveCheck->isChecked())
            continue;
        if (!check(number)) {
            showField(number.field);
            return false;
        }
    }
    return true;
}

std::optional<QString> OptionsDialog::storageFolder()
{
    const QString typed = m_filePathEdit->text();
    const std::optional<QString> folder = StorageFolder::absoluteFolder(typed, QDir::homePath());
    if (folder) {
        m_filePathEdit->setText(*folder);
        return folder;
    }
    m_messages.show(m_text(TextId::FolderNotAbsolute)
                        .arg(typed, StorageFolder::defaultFolder({}, QDir::homePath())),
                    MessageService::Icon::Exclamation);
    showField(m_filePathEdit);
    return std::nullopt;
}

void OptionsDialog::choosePageColor()
{
    m_customColorRadio->setChecked(true);
    QColorDialog dialog(WinColor::toQColor(m_pageColor, palette()), this);
    dialog.setObjectName(QStringLiteral("cdgColor"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_pageColor = WinColor::fromQColor(dialog.selectedColor());
    showPageColor();
}

void OptionsDialog::showPageColor()
{
    const QColor color = WinColor::toQColor(m_pageColor, palette());
    QPalette swatch = m_pageColorSample->palette();
    swatch.setColor(QPalette::Window, color);
    m_pageColorSample->setPalette(swatch);
    m_stylesPage->setSampleBackground(color);
}

void OptionsDialog::browse()
{
    const QString typed = m_filePathEdit->text();
    QString& start = m_host.browseStartFolder();
    start = StorageFolder::setBrowseStartFolder(typed, StorageFolder::fileNameCase(typed));
    QFileDialog dialog(this, m_text(TextId::BrowseHint), start);
    dialog.setObjectName(QStringLiteral("dlgBrowse"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_filePathEdit->setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
    const QString chosen = m_filePathEdit->text();
    if (!chosen.isEmpty() && !chosen.endsWith(QDir::separator()))
        m_filePathEdit->setText(chosen + QDir::separator());
}

void OptionsDialog::defaultPath()
{
    m_filePathEdit->setText(
        StorageFolder::defaultFolder(Folders::documentsLocation(), QDir::homePath()));
}

void OptionsDialog::showPasswordState()
{
    const bool protectedBook = !m_host.currentPassword().isEmpty();
    m_statusLabel->setText(m_text(protectedBook ? TextId::PasswordSet : TextId::PasswordNotSet));
    m_deletePasswordButton->setVisible(protectedBook);
    m_editPasswordButton->setText(
        m_text(protectedBook ? TextId::OptionsEditPw : TextId::OptionsSetPw));
    const bool encrypted = m_host.bookEncrypted();
    m_encryptCheck->setVisible(protectedBook);
    const QSignalBlocker quiet(m_encryptCheck);
    m_encryptCheck->setChecked(encrypted);
    m_exportOffLabel->setVisible(encrypted);
}

// Acts at once, as the password buttons do: the book on disk changes now.
void OptionsDialog::encryptToggled(bool on)
{
    m_host.setBookEncrypted(on, this);
    showPasswordState();
}

void OptionsDialog::editPassword()
{
    // An encrypted book's password is asked before a new one replaces it,
    // and the new one is typed twice: anyone at an unlocked desk could
    // otherwise lock its owner out.
    const bool encrypted = m_host.bookEncrypted();
    if (encrypted) {
        PasswordDialog current(PasswordDialog::Mode::Confirm, m_host.currentPassword(), m_messages,
                               m_text, m_localize, this);
        if (current.exec() != QDialog::Accepted || !current.loginAccepted())
            return;
    }
    PasswordDialog dialog(encrypted ? PasswordDialog::Mode::NewPassword
                                    : PasswordDialog::Mode::Change,
                          m_host.currentPassword(), m_messages, m_text, m_localize, this);
    if (dialog.exec() == QDialog::Accepted)
        m_host.setCurrentPassword(dialog.password());
    showPasswordState();
}

void OptionsDialog::deletePassword()
{
    if (!m_messages.ask(m_text(TextId::RemoveConfirm)))
        return;
    // The book is decrypted first: a password it still needs never goes.
    if (m_host.bookEncrypted() && !m_host.setBookEncrypted(false, this))
        return;
    m_host.setCurrentPassword(QString());
    showPasswordState();
}

// Nothing is set before the book is safe in its folder: a failed save or a
// folder change the user cancels leaves every option as it was.
void OptionsDialog::onOk()
{
    if (!checkNumbers())
        return;
    const std::optional<QString> folder = storageFolder();
    if (!folder || !m_host.saveBook())
        return;
    // The stored folder may be written with either separator on Windows.
    if (*folder != QDir::toNativeSeparators(m_host.filePath())) {
        switch (m_host.changeStorageFolder(*folder, this)) {
        case OptionsHost::FolderChangeOutcome::Done:
            break;
        case OptionsHost::FolderChangeOutcome::Cancelled:
            m_filePathEdit->setText(m_host.filePath());
            return;
        case OptionsHost::FolderChangeOutcome::Refused:
            showField(m_filePathEdit);
            return;
        }
    }
    apply();
    m_host.optionsApplied();
    applyLanguage();
    accept();
}

// Windows already open keep their captions; a new language comes with the
// next start, as every text does.
void OptionsDialog::fillLanguages()
{
    const std::vector<LanguageCatalog::Language> languages = m_host.languages();
    for (const LanguageCatalog::Language& language : languages) {
        m_languageCombo->addItem(language.name.isEmpty() ? m_text(TextId::LanguageRussian)
                                                         : language.name,
                                 language.choice);
    }
    m_languageCombo->setCurrentIndex(m_languageCombo->findData(m_host.language()));
    const bool choice = languages.size() > 1;
    m_languageCombo->setVisible(choice);
    m_languageLabel->setVisible(choice);
}

void OptionsDialog::applyLanguage()
{
    const QString chosen = m_languageCombo->currentData().toString();
    if (m_languageCombo->currentIndex() < 0 || chosen == m_host.language())
        return;
    const QString told = m_host.setLanguage(chosen);
    m_messages.show(told.isEmpty() ? m_text(TextId::LanguageNextStart) : told,
                    MessageService::Icon::Information);
}

void OptionsDialog::apply()
{
    Options& options = m_host.options();
    const auto number = [](const QLineEdit* field) {
        return QLocale::c().toDouble(field->text().trimmed());
    };
    options.buttonWidth = static_cast<float>(number(m_widthEdit));
    options.status = m_statusCheck->isChecked();
    options.useRtf = m_useRtfCheck->isChecked();
    options.enableSort = m_enableSortCheck->isChecked();
    options.tipsDuration =
        m_tipsCheck->isChecked() ? static_cast<qint16>(number(m_durationEdit)) : qint16(0);
    options.autosaveDuration = m_autosaveCheck->isChecked()
                                   ? static_cast<qint16>(number(m_autosaveDurationEdit))
                                   : qint16(0);
    options.moveToEnd = m_pageEndRadio->isChecked();
    options.pageColor =
        static_cast<qint32>(m_systemColorRadio->isChecked() ? WinColor::window : m_pageColor);
}
