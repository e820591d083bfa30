#pragma once

#include "core/folders.h"
#include "core/settings_store.h"
#include "document/data_file.h"
#include "mainwindow/main_menus.h"
#include "mainwindow/main_window.h"
#include "recording_message_service.h"
#include "richtext/rtf_plain_text.h"
#include "shell/application.h"
#include "ui/rich_text_edit.h"
#include "ui/status_bar.h"
#include "ui/tab_column.h"
#include "window_driver.h"

// Values joined by spaces, lists by commas and no value as "none", so that
// several results are compared at once.
inline QString field(const QStringList& list)
{
    return list.join(u',');
}
template <typename Value> QString field(const Value& value)
{
    const QVariant variant = QVariant::fromValue(value);
    if (!variant.canConvert<QString>())
        ADD_FAILURE() << "no text for a " << variant.typeName();
    return variant.toString();
}
template <typename Value> QString field(const std::optional<Value>& value)
{
    return value ? field(*value) : QStringLiteral("none");
}
template <typename... Values> QString fields(const Values&... values)
{
    return QStringList{field(values)...}.join(u' ');
}

// Replaces the open page's text as a user typing it would.
inline void typeOver(Application& app, const QString& text)
{
    RichTextEdit* editor = app.mainWindow()->editor();
    editor->selectAll();
    QTextCursor cursor = editor->textCursor();
    cursor.insertText(text);
}

// What page `page` (from 1) of a data file says, as plain text.
inline QString pageText(const QByteArray& dataFile, int page)
{
    const std::vector<PageRecord> pages = DataFile::parse(dataFile).pages;
    if (page < 1 || page > static_cast<int>(pages.size()))
        return {};
    return RtfPlainText::extract(pages[static_cast<std::size_t>(page - 1)].text);
}

// An application whose settings, program folder, data folder and home all
// live in one temporary folder, so no test meets another's files.
struct AppFixture
{
    QTemporaryDir dir;
    RecordingMessageService messages;
    QString iniPath = dir.filePath(QStringLiteral("settings.ini"));
    // As the program keeps it: on Windows with backslashes.
    QString dataFolder = QDir::toNativeSeparators(dir.filePath(QStringLiteral("data")) + u'/');
    QByteArray savedHome = qgetenv("HOME");
    QByteArray savedProfile = qgetenv("USERPROFILE"); // Windows' home: AppData, Documents
    // The day every application of a test believes it is.
    static inline const QDate today{2026, 3, 15};

    AppFixture()
    {
        qputenv("HOME", dir.path().toLocal8Bit());
        qputenv("USERPROFILE", QDir::toNativeSeparators(dir.path()).toLocal8Bit());
        QDir().mkpath(dataFolder);
        write(QStringLiteral("Адресная книга"), QStringLiteral("FilePath"), dataFolder);
        write(QStringLiteral("Общие"), QStringLiteral("TipsDuration"), QStringLiteral("0"));
    }
    ~AppFixture()
    {
        qputenv("HOME", savedHome);
        qputenv("USERPROFILE", savedProfile);
    }

    std::unique_ptr<SettingsStore> store() const
    {
        return std::make_unique<SettingsStore>(
            std::make_unique<QSettings>(iniPath, QSettings::IniFormat));
    }
    void write(const QString& section, const QString& key, const QString& value) const
    {
        store()->write(section, key, value);
    }
    QString read(const QString& section, const QString& key) const
    {
        return store()->read(section, key, QStringLiteral("<absent>"));
    }
    std::unique_ptr<Application> makeApp(bool keepLogOn = false)
    {
        Application::Environment env{dir.path() + QLatin1Char('/'), keepLogOn, [] { return today; },
                                     BookKey::Limits::fastest()};
        return std::make_unique<Application>(std::move(env), store(), messages);
    }
    // An application through its start-up, its window not shown.
    std::unique_ptr<Application> started(bool keepLogOn = false)
    {
        std::unique_ptr<Application> app = makeApp(keepLogOn);
        EXPECT_TRUE(app->startUp()) << "start-up ended early";
        return app;
    }
    // The data file is named after the running executable, here the test binary.
    QString dataFile() const
    {
        return dataFolder + Folders::exeBaseNameOf(QCoreApplication::applicationFilePath()) +
               QStringLiteral(".dat");
    }
};

// A test of the notebook window, shown at a usual size, over a book written
// the way the program writes it: the letter pages, then the user's.
class WindowTest : public ::testing::Test
{
protected:
    static constexpr int kLetters = 14;

    void writeBook(const std::vector<PageRecord>& userPages = {}, const QString& firstPage = {})
    {
        std::vector<PageRecord> pages = DataFile::defaultPages();
        if (!firstPage.isNull())
            pages[0].text = firstPage;
        pages.insert(pages.end(), userPages.begin(), userPages.end());
        writeAll(f.dataFile(), DataFile::serialize(pages));
    }
    // Starts the program, open at `page` when one is given.
    void start(int page = 0)
    {
        if (page)
            f.write(QStringLiteral("Options"), QStringLiteral("RecentPage"), QString::number(page));
        app = f.started();
        window()->resize(800, 600);
        window()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window()));
    }
    MainWindow* window() const { return app->mainWindow(); }
    RichTextEdit* editor() const { return window()->editor(); }
    TabColumn* tabs() const { return window()->tabColumn(); }
    Book& book() const { return app->book(); }
    QAction* item(const char* name) const { return window()->menus()->item(name); }
    const PageRecord& page(int index) const { return book().page(index); }
    void open(int page) const { app->session().selectPage(page); }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) const
    {
        press(editor(), key, modifiers);
    }
    void type(const QString& text) const { typeOver(*app, text); }
    void select(int start, int length) const
    {
        editor()->setSelStart(start);
        editor()->setSelLength(length);
    }
    void clickTab(int page, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(tabs(), button, {}, tabs()->tabRect(page).center());
    }
    QStringList titles() const
    {
        QStringList out;
        for (const PageRecord& record : book().pages())
            out << record.title;
        return out;
    }
    QStringList userTitles() const { return titles().mid(kLetters); }
    // Runs `act` on the modal window the main popup's item `name` opens; what
    // `act` leaves open is cancelled.
    void withItem(const char* name, const std::function<void(QDialog*)>& act) const
    {
        EXPECT_TRUE(withModal([&] { item(name)->trigger(); }, act)) << name;
    }
    QString told() const { return f.messages.texts().join(QStringLiteral("\n---\n")); }
    // "page tab changed saved": the open page in the book and in the tabs,
    // whether the book is changed and whether the status bar shows it saved.
    QString state() const
    {
        return QStringLiteral("%1 %2 %3 %4")
            .arg(book().recentPage())
            .arg(tabs()->currentPage())
            .arg(int(book().isChanged()))
            .arg(int(window()->statusBar()->isSaved()));
    }

    AppFixture f;
    std::unique_ptr<Application> app;
};
