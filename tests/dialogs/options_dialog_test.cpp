// frmOptions over a recording host: loading, the number checks on leaving a
// field and at OK, the RTF balloon, the page colour, the password buttons,
// the folder field and the order of OK.

#include "options_fixture.h"
#include "richtext/win_color.h"
#include "ui/cue_text_box.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>

namespace {

const QString kWidthMessage =
    u"Неверное значение поля.\nВведите значение в диапазоне от 400 до 2000 твипов."_qs;
const QString kSecondsMessage =
    u"Неверное значение поля.\nВведите значение в диапазоне от 1 до 30 секунд."_qs;
const QString kMinutesMessage =
    u"Неверное значение поля.\nВведите значение в диапазоне от 1 до 32767 минут."_qs;

using Outcome = OptionsHost::FolderChangeOutcome;

} // namespace

// Also: Tab goes through the buttons as they are drawn, Help at the left, and
// the dialog keeps its size whichever page is shown.
TEST_F(OptionsDialogTest, SettingsOfZeroShowClearedBoxesWithTheDefaultsAndOkKeepsThemZero)
{
    m_host.m_options.TipsDuration = 0;
    m_host.m_options.AutosaveDuration = 0;
    open();
    EXPECT_EQ(unnamedControls(m_dialog), QStringList());
    child<QListWidget>("lstPages")->setFocus();
    QStringList buttons;
    for (int presses = 0; presses < 20 && buttons.size() < 3; ++presses) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget()))
            buttons << button->objectName();
    }
    EXPECT_EQ(buttons, QStringList({"cmdHelp", "cmdOK", "cmdCancel"}));
    const QSize size = m_dialog->size();
    for (int row : {3, 4, 1, 2, 0}) {
        child<QListWidget>("lstPages")->setCurrentRow(row);
        QCoreApplication::processEvents();
        EXPECT_EQ(m_dialog->size(), size) << row;
    }
    EXPECT_FALSE(child<QCheckBox>("chkTips")->isChecked());
    EXPECT_FALSE(child<QLineEdit>("txtDuration")->isEnabled());
    EXPECT_EQ(child<QLineEdit>("txtDuration")->text(), "10");
    EXPECT_FALSE(child<QCheckBox>("chkAutosave")->isChecked());
    EXPECT_FALSE(child<QLineEdit>("txtAutosaveDuration")->isEnabled());
    EXPECT_EQ(child<QLineEdit>("txtAutosaveDuration")->text(), "5");
    child<QPushButton>("cmdHelp")->click();
    EXPECT_EQ(m_host.calls.takeFirst(), u"help 7"_qs)
        << "the first page: list entry 7 from 0, topic 8";
    m_dialog->findChild<QListWidget*>("lstPages")->setCurrentRow(3);
    EXPECT_EQ(child<QLabel>("lblHeading")->text(), u" Стили"_qs);
    EXPECT_FALSE(child<QWidget>("Picture1")->isVisible());
    EXPECT_TRUE(child<QWidget>("Picture7")->isVisible());

    click("chkTips");
    EXPECT_TRUE(child<QLineEdit>("txtDuration")->isEnabled());
    click("chkTips");
    click("cmdOK");
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(m_host.m_options.TipsDuration, 0);
    EXPECT_EQ(m_host.m_options.AutosaveDuration, 0);
    EXPECT_EQ(m_host.calls, QStringList({"SaveBook", "optionsApplied"}));
    EXPECT_TRUE(m_messages.entries().empty());
}

TEST_F(OptionsDialogTest, WidthAndSecondsAreCheckedAtOkSecondsFirst)
{
    open();
    for (const auto& [width, seconds, message] :
         {std::tuple{"399", "10", kWidthMessage}, std::tuple{"2001", "10", kWidthMessage},
          std::tuple{"", "10", kWidthMessage}, std::tuple{"600", "0", kSecondsMessage},
          std::tuple{"5", "31", kSecondsMessage}}) {
        m_messages.clear();
        type("txtWidth", width);
        type("txtDuration", seconds);
        click("cmdOK");
        ASSERT_TRUE(isOpen()) << width << " " << seconds;
        ASSERT_FALSE(m_messages.entries().empty());
        EXPECT_EQ(m_messages.entries().back().text, message) << width << " " << seconds;
    }
    EXPECT_TRUE(m_host.calls.isEmpty()) << "nothing saved or set";
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>("txtDuration"));

    type("txtWidth", "400");
    type("txtDuration", "1");
    click("cmdOK");
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(m_host.m_options.ButtonWidth, 400.0f);
    EXPECT_EQ(m_host.m_options.TipsDuration, 1);
}

TEST_F(OptionsDialogTest, SecondsTypedWhileTheBoxWasCheckedAreRefusedAfterItIsCleared)
{
    m_host.m_options.TipsDuration = 5;
    open();
    type("txtDuration", "31");
    click("chkTips");
    EXPECT_EQ(child<QLineEdit>("txtDuration")->text(), "31") << "only a 0 becomes 10";
    click("cmdOK");
    EXPECT_TRUE(isOpen());
    EXPECT_EQ(m_messages.texts(), QStringList{kSecondsMessage});

    type("txtWidth", "2000");
    click("chkTips");
    type("txtDuration", "30");
    click("chkTips");
    click("cmdOK");
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(m_host.m_options.TipsDuration, 0) << "the box decides";
    EXPECT_EQ(m_host.m_options.ButtonWidth, 2000.0f);
}

TEST_F(OptionsDialogTest, AutosaveMinutesMustFitBeforeTheyAreStored)
{
    m_host.m_options.AutosaveDuration = 5;
    open();
    for (const char* minutes : {"0", "32768", "99999999999999999999"}) {
        m_messages.clear();
        type("txtAutosaveDuration", minutes);
        click("cmdOK");
        EXPECT_TRUE(isOpen()) << minutes;
        EXPECT_EQ(m_messages.texts(), QStringList{kMinutesMessage}) << minutes;
    }
    type("txtAutosaveDuration", "32767");
    click("cmdOK");
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(m_host.m_options.AutosaveDuration, 32767);
}

TEST_F(OptionsDialogTest, NumberFieldsTakeDigitsOnly)
{
    open();
    child<QLineEdit>("txtWidth")->clear();
    QTest::keyClicks(child<QLineEdit>("txtWidth"), "1a2,5-");
    EXPECT_EQ(child<QLineEdit>("txtWidth")->text(), "125");
    child<QLineEdit>("txtWidth")->clear();
    child<QLineEdit>("txtWidth")->insert("7x");
    EXPECT_EQ(child<QLineEdit>("txtWidth")->text(), "") << "a paste of other characters";
}

TEST_F(OptionsDialogTest, LeavingAFieldChecksItOnceButNeverHoldsUpCancel)
{
    open();
    child<QLineEdit>("txtWidth")->setFocus();
    type("txtWidth", "5");
    child<QCheckBox>("chkStatus")->setFocus();
    EXPECT_EQ(m_messages.texts(), QStringList{kWidthMessage});
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>("txtWidth")) << "the focus is back";

    // Enter checks at OK; its message box takes the focus from the field it
    // is about, which is no leaving of the field.
    QWidget box;
    m_messages.onShow = [&box] {
        box.show();
        box.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
    };
    m_messages.clear();
    QTest::keyClick(child<QLineEdit>("txtWidth"), Qt::Key_Return);
    EXPECT_EQ(m_messages.texts(), QStringList{kWidthMessage});
    m_messages.onShow = nullptr;
    box.hide();
    m_dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_messages.texts(), QStringList{kWidthMessage});

    m_messages.clear();
    click("cmdCancel");
    EXPECT_FALSE(isOpen());
    EXPECT_TRUE(m_messages.entries().empty());
    EXPECT_EQ(m_host.m_options.ButtonWidth, 600.0f);
}

TEST_F(OptionsDialogTest, EscapeAndTheFrameCloseTheDialogWhateverTheFieldsHold)
{
    open();
    type("txtWidth", "5");
    QTest::keyClick(child<QLineEdit>("txtWidth"), Qt::Key_Escape);
    EXPECT_FALSE(isOpen());
    open();
    type("txtDuration", "99");
    m_dialog->close();
    EXPECT_FALSE(isOpen());
    EXPECT_TRUE(m_messages.entries().empty());
    EXPECT_TRUE(m_host.calls.isEmpty());
}

// The balloon covers no button, at the dialog's own size or a wider one.
TEST_F(OptionsDialogTest, ClearingRtfWarnsInABalloonThatGoesWithTheFocus)
{
    open();
    m_dialog->findChild<QListWidget*>("lstPages")->setCurrentRow(1);
    auto* anchor = child<CueTextBox>("txtUseRtf");
    const auto coveredButtons = [this, anchor] {
        const BalloonTip* balloon = anchor->balloonTip();
        const QRegion shape = balloon->mask().translated(balloon->pos());
        QStringList covered;
        for (const QPushButton* button : m_dialog->findChildren<QPushButton*>()) {
            if (button->isVisible() &&
                shape.intersects(QRect(button->mapToGlobal(QPoint()), button->size())))
                covered << button->objectName();
        }
        return covered;
    };
    for (const int wider : {0, 250}) {
        m_dialog->resize(m_dialog->width() + wider, m_dialog->height());
        QCoreApplication::processEvents();
        child<QCheckBox>("chkUseRtf")->setChecked(true);
        click("chkUseRtf");
        ASSERT_TRUE(anchor->balloonTip()->isVisible());
        EXPECT_EQ(coveredButtons(), QStringList()) << wider;
    }
    click("chkUseRtf");
    EXPECT_FALSE(anchor->balloonTip()->isVisible());
    click("chkUseRtf");
    child<QLineEdit>("txtFilePath")->setFocus();
    EXPECT_FALSE(anchor->balloonTip()->isVisible()) << "gone with the check box's focus";
}

TEST_F(OptionsDialogTest, TheSystemColourIsStoredAsSuchAndACancelledColourDialogChangesNothing)
{
    m_host.m_options.PageColor = 0x00FFFF;
    m_host.m_options.MoveToEnd = true;
    open();
    m_dialog->findChild<QListWidget*>("lstPages")->setCurrentRow(2);
    EXPECT_TRUE(child<QRadioButton>("optCustomColor")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optPageEnd")->isChecked());
    whenModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    QTest::mouseClick(child<QLabel>("picPageColor"), Qt::LeftButton);
    EXPECT_EQ(child<QLabel>("picPageColor")->palette().color(QPalette::Window),
              QColor(255, 255, 0));
    whenModal([](QWidget* dialog) {
        auto* colors = qobject_cast<QColorDialog*>(dialog);
        ASSERT_NE(colors, nullptr);
        colors->setCurrentColor(Qt::red);
        colors->accept();
    });
    QTest::mouseClick(child<QLabel>("picPageColor"), Qt::LeftButton);
    EXPECT_EQ(child<QLabel>("picPageColor")->palette().color(QPalette::Window), QColor(Qt::red));

    click("optSystemColor");
    click("optPageStart");
    click("cmdOK");
    EXPECT_EQ(quint32(m_host.m_options.PageColor), 0x80000005u);
    EXPECT_FALSE(m_host.m_options.MoveToEnd);
}

TEST_F(OptionsDialogTest, APasswordIsSetAndRemovedAtOnce)
{
    open();
    m_dialog->findChild<QListWidget*>("lstPages")->setCurrentRow(4);
    EXPECT_EQ(child<QLabel>("lblStatus")->text(),
              u"Парольная защита адресной книги не включена."_qs);
    EXPECT_FALSE(child<QPushButton>("cmdDeletePw")->isVisible());

    whenModal([](QWidget* password) {
        password->findChild<QLineEdit*>("txtPassword")->setText(" тайна ");
        password->findChild<QPushButton*>("cmdOK")->click();
    });
    click("cmdEditPw");
    EXPECT_EQ(m_host.m_password, u" тайна "_qs);
    EXPECT_EQ(child<QLabel>("lblStatus")->text(), u"Адресная книга защищена паролем."_qs);
    EXPECT_TRUE(child<QPushButton>("cmdDeletePw")->isVisible());

    m_messages.queueAnswer(false);
    click("cmdDeletePw");
    EXPECT_EQ(m_host.m_password, u" тайна "_qs);
    m_messages.queueAnswer(true);
    click("cmdDeletePw");
    EXPECT_TRUE(m_host.m_password.isEmpty());
    EXPECT_FALSE(child<QPushButton>("cmdDeletePw")->isVisible());
    click("cmdCancel");
    EXPECT_TRUE(m_host.m_password.isEmpty()) << "acted at once, whatever closes the dialog";
}

TEST_F(OptionsDialogTest, TheFolderFieldTakesAbsolutePathsWithHomeForTilde)
{
    open();
    type("txtFilePath", "books");
    click("cmdOK");
    EXPECT_TRUE(isOpen());
    EXPECT_TRUE(m_messages.only().startsWith(u"Путь «books» неполный."_qs)) << m_messages.only();
    EXPECT_TRUE(m_host.calls.isEmpty()) << "refused before the book is saved";

    type("txtFilePath", "~/Книги");
    click("cmdOK");
    EXPECT_FALSE(isOpen());
    const QString folder = QDir::toNativeSeparators(QDir::homePath() + u"/Книги/"_qs);
    EXPECT_EQ(m_host.calls,
              QStringList({"SaveBook", "changeStorageFolder " + folder, "optionsApplied"}));
}

// A failed save and a cancelled move are driven through the real window in tests/app.
TEST_F(OptionsDialogTest, ARefusedFolderChangeKeepsTheTypedFolderAndSetsNothing)
{
    open();
    child<QCheckBox>("chkStatus")->setChecked(false);
    type("txtFilePath", "/srv/other");
    m_host.m_folderOutcome = Outcome::Refused;
    click("cmdOK");
    EXPECT_TRUE(isOpen());
    EXPECT_EQ(child<QLineEdit>("txtFilePath")->text(), QDir::toNativeSeparators("/srv/other/"))
        << "kept for the user to correct";
    EXPECT_FALSE(m_host.calls.contains("optionsApplied"));
    EXPECT_TRUE(m_host.m_options.Status) << "nothing set";

    m_host.m_folderOutcome = Outcome::Done;
    click("cmdOK");
    EXPECT_FALSE(isOpen());
    EXPECT_FALSE(m_host.m_options.Status);
}

TEST_F(OptionsDialogTest, BrowsingStartsAtTheRememberedFolderAndEndsWithASeparator)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/Books/Новые");
    open();
    type("txtFilePath", dir.path() + "/Books/");
    whenModal([&dir](QWidget* modal) {
        auto* browser = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser->directory().absolutePath(), dir.path() + "/Books");
        browser->reject();
    });
    click("cmdBrowse");
    EXPECT_EQ(m_host.m_browseStart, dir.path() + "/Books") << "a Unix path keeps its case";
    EXPECT_EQ(child<QLineEdit>("txtFilePath")->text(), dir.path() + "/Books/");

    type("txtFilePath", dir.path() + "/Books");
    whenModal([&dir](QWidget* modal) {
        auto* browser = static_cast<QFileDialog*>(modal);
        browser->setDirectory(dir.path() + u"/Books/Новые"_qs);
        static_cast<QDialog*>(browser)->accept();
    });
    click("cmdBrowse");
    EXPECT_EQ(child<QLineEdit>("txtFilePath")->text(), dir.path() + u"/Books/Новые/"_qs);

    type("txtFilePath", dir.path() + "/typed");
    whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    click("cmdBrowse");
    EXPECT_EQ(child<QLineEdit>("txtFilePath")->text(), dir.path() + "/typed/")
        << "a cancelled browser still appends the separator";
}

TEST_F(OptionsDialogTest, TheDefaultFolderIsTheDocumentsFolderNeverTheProgramFolder)
{
    open();
    click("cmdDefPath");
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(
        child<QLineEdit>("txtFilePath")->text(),
        QDir::toNativeSeparators((documents.isEmpty() ? QDir::homePath() : documents) + u'/'));
    EXPECT_FALSE(child<QLineEdit>("txtFilePath")
                     ->text()
                     .startsWith(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())));
}
