#include "options_fixture.h"
#include "ui/cue_text_box.h"

namespace {

const QString kWidthMessage =
    u"Неверное значение поля.\nВведите значение в диапазоне от 300 до 2000 твипов."_qs;
const QString kSecondsMessage =
    u"Неверное значение поля.\nВведите значение в диапазоне от 1 до 30 секунд."_qs;
const QString kMinutesMessage =
    u"Неверное значение поля.\nВведите значение в диапазоне от 1 до 32767 минут."_qs;

} // namespace

// Also: Tab goes through the buttons as they are drawn, Help at the left, and
// the dialog keeps its size whichever page is shown.
TEST_F(OptionsDialogTest, SettingsOfZeroShowClearedBoxesWithTheDefaultsAndOkKeepsThemZero)
{
    m_host.m_options.tipsDuration = 0;
    m_host.m_options.autosaveDuration = 0;
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
        showPage(row);
        QCoreApplication::processEvents();
        EXPECT_EQ(m_dialog->size(), size) << row;
    }
    // Checked, enabled, text: of the tips and of the autosave.
    const auto field = [this](const char* box, const char* edit) {
        return QStringLiteral("%1 %2 %3")
            .arg(child<QCheckBox>(box)->isChecked())
            .arg(child<QLineEdit>(edit)->isEnabled())
            .arg(child<QLineEdit>(edit)->text());
    };
    EXPECT_EQ(field("chkTips", "txtDuration"), "0 0 10");
    EXPECT_EQ(field("chkAutosave", "txtAutosaveDuration"), "0 0 5");
    click("cmdHelp");
    EXPECT_EQ(m_host.calls.takeFirst(), u"help 7"_qs)
        << "the first page: list entry 7 from 0, topic 8";
    showPage(3);
    EXPECT_EQ(child<QLabel>("lblHeading")->text(), u" Стили"_qs);
    EXPECT_FALSE(child<QWidget>("Picture1")->isVisible());
    EXPECT_TRUE(child<QWidget>("Picture7")->isVisible());

    click("chkTips");
    EXPECT_TRUE(child<QLineEdit>("txtDuration")->isEnabled());
    click("chkTips");
    click("cmdOK");
    EXPECT_EQ(outcome(), QStringList({"closed", "SaveBook", "optionsApplied"}));
    EXPECT_EQ(std::tuple(m_host.m_options.tipsDuration, m_host.m_options.autosaveDuration),
              std::tuple(0, 0));
}

TEST_F(OptionsDialogTest, NumbersAreCheckedAtOkSecondsFirstAndFieldsTakeDigitsOnly)
{
    m_host.m_options.autosaveDuration = 5;
    open();
    for (const auto& [width, seconds, minutes, message] :
         {std::tuple{"299", "10", "5", kWidthMessage},
          {"2001", "10", "5", kWidthMessage},
          {"", "10", "5", kWidthMessage},
          {"600", "10", "0", kMinutesMessage},
          {"600", "10", "32768", kMinutesMessage},
          {"600", "10", "99999999999999999999", kMinutesMessage},
          {"600", "0", "5", kSecondsMessage},
          {"5", "31", "5", kSecondsMessage}}) {
        m_messages.clear();
        type("txtWidth", width);
        type("txtDuration", seconds);
        type("txtAutosaveDuration", minutes);
        click("cmdOK");
        EXPECT_EQ(outcome(), QStringList({"open", message}))
            << width << " " << seconds << " " << minutes;
    }
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>("txtDuration"));

    auto* width = child<QLineEdit>("txtWidth");
    width->clear();
    QTest::keyClicks(width, "1a2,5-");
    EXPECT_EQ(width->text(), "125");
    type("txtWidth", "7x");
    EXPECT_EQ(width->text(), "") << "a paste of other characters";

    type("txtWidth", "300");
    type("txtDuration", "1");
    type("txtAutosaveDuration", "32767");
    click("cmdOK");
    EXPECT_EQ(std::tuple(isOpen(), m_host.m_options.buttonWidth, m_host.m_options.tipsDuration,
                         m_host.m_options.autosaveDuration),
              std::tuple(false, 300.0f, 1, 32767));
}

TEST_F(OptionsDialogTest, SecondsTypedWhileTheBoxWasCheckedAreRefusedAfterItIsCleared)
{
    m_host.m_options.tipsDuration = 5;
    open();
    type("txtDuration", "31");
    click("chkTips");
    EXPECT_EQ(child<QLineEdit>("txtDuration")->text(), "31") << "only a 0 becomes 10";
    click("cmdOK");
    EXPECT_EQ(outcome(), QStringList({"open", kSecondsMessage}));
    type("txtWidth", "2000");
    click("chkTips");
    type("txtDuration", "30");
    click("chkTips");
    click("cmdOK");
    EXPECT_EQ(std::tuple(isOpen(), m_host.m_options.tipsDuration, m_host.m_options.buttonWidth),
              std::tuple(false, 0, 2000.0f))
        << "the box decides";
}

TEST_F(OptionsDialogTest, LeavingAFieldChecksItOnceButNeverHoldsUpCancelEscapeOrTheFrame)
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
    open();
    type("txtWidth", "5");
    QTest::keyClick(child<QLineEdit>("txtWidth"), Qt::Key_Escape);
    EXPECT_FALSE(isOpen());
    open();
    type("txtDuration", "99");
    m_dialog->close();
    EXPECT_EQ(outcome(), QStringList("closed"));
    EXPECT_EQ(m_host.m_options.buttonWidth, 600.0f);
}

// The balloon covers no button, at the dialog's own size or a wider one.
TEST_F(OptionsDialogTest, ClearingRtfWarnsInABalloonThatGoesWithTheFocus)
{
    open();
    showPage(1);
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
    const bool shownWhenChecked = anchor->balloonTip()->isVisible();
    click("chkUseRtf");
    child<QLineEdit>("txtFilePath")->setFocus();
    EXPECT_EQ(std::pair(shownWhenChecked, anchor->balloonTip()->isVisible()),
              std::pair(false, false))
        << "gone when checked, and with the check box's focus";
}

TEST_F(OptionsDialogTest, TheSystemColourIsStoredAsSuchAndACancelledColourDialogChangesNothing)
{
    m_host.m_options.pageColor = 0x00FFFF;
    m_host.m_options.moveToEnd = true;
    open();
    showPage(2);
    EXPECT_TRUE(child<QRadioButton>("optCustomColor")->isChecked() &&
                child<QRadioButton>("optPageEnd")->isChecked());
    const auto shown = [this] {
        return child<QLabel>("picPageColor")->palette().color(QPalette::Window);
    };
    whenModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    QTest::mouseClick(child<QLabel>("picPageColor"), Qt::LeftButton);
    EXPECT_EQ(shown(), QColor(255, 255, 0));
    whenModal([](QWidget* dialog) {
        auto* colors = qobject_cast<QColorDialog*>(dialog);
        ASSERT_NE(colors, nullptr);
        colors->setCurrentColor(Qt::red);
        colors->accept();
    });
    QTest::mouseClick(child<QLabel>("picPageColor"), Qt::LeftButton);
    EXPECT_EQ(shown(), QColor(Qt::red));
    click("optSystemColor");
    click("optPageStart");
    click("cmdOK");
    EXPECT_EQ(std::pair(quint32(m_host.m_options.pageColor), m_host.m_options.moveToEnd),
              std::pair(0x80000005u, false));
}

TEST_F(OptionsDialogTest, APasswordIsSetAndRemovedAtOnceAndEncryptionIsOfferedWithItAndActsAtOnce)
{
    open();
    showPage(4);
    // The password, the status line, whether it can be removed.
    const auto passwordState = [this] {
        return QStringList({m_host.m_password, child<QLabel>("lblStatus")->text(),
                            child<QPushButton>("cmdDeletePw")->isVisible() ? "remove" : ""});
    };
    const QStringList none{"", u"Парольная защита адресной книги не включена."_qs, ""};
    const QStringList set{u" тайна "_qs, u"Адресная книга защищена паролем."_qs, "remove"};
    EXPECT_EQ(passwordState(), none);
    whenModal([](QWidget* password) {
        password->findChild<QLineEdit*>("txtPassword")->setText(" тайна ");
        password->findChild<QPushButton*>("cmdOK")->click();
    });
    click("cmdEditPw");
    EXPECT_EQ(passwordState(), set);
    m_messages.queueAnswer(false);
    click("cmdDeletePw");
    EXPECT_EQ(passwordState(), set);
    m_messages.queueAnswer(true);
    click("cmdDeletePw");
    EXPECT_EQ(passwordState(), none);
    click("cmdCancel");
    EXPECT_TRUE(m_host.m_password.isEmpty()) << "acted at once, whatever closes the dialog";
    // The encryption choice appears with a password, acts at once, shows only
    // what the host did, and a password still encrypting the book goes only
    // after the book is decrypted.
    for (const QString& password : {QString(), u"тайна"_qs}) {
        m_host.m_password = password;
        open();
        showPage(4);
        EXPECT_EQ(child<QCheckBox>("chkEncrypt")->isVisible(), !password.isEmpty());
        m_dialog->close();
    }
    open();
    showPage(4);
    // Encrypted, its box shown and checked, the note that exports are off, the password.
    const auto state = [this] {
        return QStringLiteral("%1 %2 %3 %4 %5")
            .arg(m_host.m_encrypted)
            .arg(child<QCheckBox>("chkEncrypt")->isVisible())
            .arg(child<QCheckBox>("chkEncrypt")->isChecked())
            .arg(child<QLabel>("lblExportOff")->isVisible())
            .arg(m_host.m_password);
    };
    EXPECT_EQ(state(), u"0 1 0 0 тайна"_qs);
    // What is clicked, whether the host manages it (a password asked again can
    // be wrong), and the state after.
    const std::tuple<const char*, bool, QString> steps[] = {
        {"chkEncrypt", true, u"1 1 1 1 тайна"_qs},
        {"chkEncrypt", false, u"1 1 1 1 тайна"_qs},
        {"cmdDeletePw", false, u"1 1 1 1 тайна"_qs},
        {"cmdDeletePw", true, u"0 0 0 0 "_qs}};
    for (const auto& [button, works, after] : steps) {
        m_host.m_encryptionWorks = works;
        if (button == std::string_view("cmdDeletePw"))
            m_messages.queueAnswer(true);
        click(button);
        EXPECT_EQ(state(), after) << button << works;
    }
    EXPECT_EQ(m_host.calls, QStringList({"encrypt 1", "encrypt 0", "encrypt 0", "encrypt 0"}));
}

// A failed save and a cancelled move are driven through the real window in tests/app.
TEST_F(OptionsDialogTest, ARefusedFolderChangeKeepsTheTypedFolderAndSetsNothing)
{
    open();
    child<QCheckBox>("chkStatus")->setChecked(false);
    type("txtFilePath", "/srv/other");
    m_host.m_folderOutcome = OptionsHost::FolderChangeOutcome::Refused;
    click("cmdOK");
    EXPECT_EQ(std::tuple(isOpen(), child<QLineEdit>("txtFilePath")->text(),
                         m_host.calls.contains("optionsApplied"), m_host.m_options.status),
              std::tuple(true, QDir::toNativeSeparators("/srv/other/"), false, true))
        << "the folder kept for the user to correct, nothing set";
    m_host.m_folderOutcome = OptionsHost::FolderChangeOutcome::Done;
    click("cmdOK");
    EXPECT_EQ(std::pair(isOpen(), m_host.m_options.status), std::pair(false, false));
}

TEST_F(OptionsDialogTest, BrowsingStartsAtTheRememberedFolderAndTheFieldTakesAbsolutePaths)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "typed Unix paths; Windows' spellings are the storage folder's own test";
#endif
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + u"/Books/Новые"_qs);
    open();
    // What is typed, what the browser does, what the field then holds.
    for (const auto& [typed, chosen, expected] :
         {std::tuple{u"/Books/"_qs, QString(), u"/Books/"_qs},
          {u"/Books"_qs, u"/Books/Новые"_qs, u"/Books/Новые/"_qs},
          {u"/typed"_qs, QString(), u"/typed/"_qs}}) {
        type("txtFilePath", dir.path() + typed);
        QString started;
        whenModal([&, chosen = chosen](QWidget* modal) {
            auto* browser = static_cast<QFileDialog*>(modal);
            started = browser->directory().absolutePath();
            if (chosen.isEmpty())
                return browser->reject();
            browser->setDirectory(dir.path() + chosen);
            static_cast<QDialog*>(browser)->accept();
        });
        click("cmdBrowse");
        EXPECT_EQ(child<QLineEdit>("txtFilePath")->text(), dir.path() + expected)
            << "a cancelled browser still appends the separator";
        if (typed == u"/Books/"_qs) {
            EXPECT_EQ(std::pair(started, m_host.m_browseStart),
                      std::pair(dir.path() + "/Books", dir.path() + "/Books"))
                << "a Unix path keeps its case";
        }
    }
    // The folder field takes absolute paths with home for a tilde; the default is Documents.
    click("cmdDefPath");
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(
        child<QLineEdit>("txtFilePath")->text(),
        QDir::toNativeSeparators((documents.isEmpty() ? QDir::homePath() : documents) + u'/'));
    EXPECT_FALSE(child<QLineEdit>("txtFilePath")
                     ->text()
                     .startsWith(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())))
        << "never the program folder";

    type("txtFilePath", "books");
    click("cmdOK");
    EXPECT_TRUE(outcome().size() == 2 && outcome()[1].startsWith(u"Путь «books» неполный."_qs))
        << outcome().join('|') << ": refused before the book is saved";
    m_messages.clear();
    type("txtFilePath", "~/Книги");
    click("cmdOK");
    const QString folder = QDir::toNativeSeparators(QDir::homePath() + u"/Книги/"_qs);
    EXPECT_EQ(outcome(), QStringList({"closed", "SaveBook", "changeStorageFolder " + folder,
                                      "optionsApplied"}));
}

// An encrypted book's password is never shown: the current one is asked
// first, into an empty field, and the new one counts only when typed twice.
TEST_F(OptionsDialogTest, AnEncryptedBooksPasswordChangesOnlyAfterTheCurrentOneAndTypedTwice)
{
    struct Case
    {
        QString current, typed, again;
        QString after; // the host's password
        QString told;
    };
    const Case cases[] = {
        {u"неверный"_qs, {}, {}, u"старый"_qs, u"Неверный пароль."_qs},
        {u"старый"_qs, u"pass124"_qs, u"pass123"_qs, u"старый"_qs, u"Пароли не совпадают"_qs},
        {u"старый"_qs, u"pass123"_qs, u"pass123"_qs, u"pass123"_qs, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        m_host.m_password = u"старый"_qs;
        m_host.m_encrypted = true;
        m_messages.clear();
        open();
        showPage(4);
        // Each password window as it comes up: what it showed, then typed and OK.
        QStringList shown;
        std::vector<std::array<QString, 2>> answers{{c.current, {}}, {c.typed, c.again}};
        QPointer<QWidget> last; // the next window may take the same address
        QTimer poll;
        poll.setInterval(1);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == last || answers.empty())
                return;
            last = modal;
            auto* field = modal->findChild<QLineEdit*>("txtPassword");
            shown << field->text() + u'|' +
                         QString::number(modal->findChild<QLineEdit*>("txtAgain")->isVisible());
            field->setText(answers.front()[0]);
            modal->findChild<QLineEdit*>("txtAgain")->setText(answers.front()[1]);
            answers.erase(answers.begin());
            clickOn(modal, "cmdOK");
            if (modal->isVisible())
                clickOn(modal, "cmdCancel");
        });
        poll.start();
        click("cmdEditPw");
        poll.stop();
        EXPECT_EQ(m_host.m_password, c.after);
        EXPECT_EQ(shown.join(u','), c.current == u"старый"_qs ? u"|0,|1"_qs : u"|0"_qs);
        EXPECT_TRUE(c.told.isEmpty() ? m_messages.entries().empty()
                                     : m_messages.only().contains(c.told))
            << m_messages.only();
        m_dialog->close();
    }
}
