#pragma once

#include "app/application.h"
#include "core/folders.h"
#include "core/settings_store.h"
#include "document/data_file.h"
#include "mainwindow/main_window.h"
#include "recording_message_service.h"
#include "richtext/rtf_plain_text.h"
#include "ui/rich_text_edit.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <memory>

// Replaces the open page's text as a user typing it would.
inline void typeOver(Application& app, const QString& text)
{
    RichTextEdit* editor = app.mainWindow()->editor();
    editor->selectAll();
    QTextCursor cursor = editor->textCursor();
    cursor.insertText(text);
}

// Starts the application and shows its window, exposed, at a usual size.
inline bool startAndShow(Application& app)
{
    if (!app.StartUp())
        return false;
    app.mainWindow()->resize(800, 600);
    app.mainWindow()->show();
    return QTest::qWaitForWindowExposed(app.mainWindow());
}

// What page `page` (from 1) of a data file says, as plain text.
inline QString pageText(const QByteArray& dataFile, int page)
{
    const std::vector<PageRecord> pages = DataFile::parse(dataFile).pages;
    if (page < 1 || page > static_cast<int>(pages.size()))
        return {};
    return RtfPlainText::extract(pages[static_cast<std::size_t>(page - 1)].Text);
}

// An application whose settings, program folder and data folder all live in
// one temporary folder.
struct AppFixture
{
    QTemporaryDir dir;
    RecordingMessageService messages;
    QString iniPath = dir.filePath(QStringLiteral("settings.ini"));
    QString dataFolder = dir.filePath(QStringLiteral("data")) + QLatin1Char('/');

    QByteArray savedHome = qgetenv("HOME");

    // Each test gets its own home, so settings folders, backups and rescue
    // copies of one test never meet another's.
    AppFixture()
    {
        qputenv("HOME", dir.path().toLocal8Bit());
        QDir().mkpath(dataFolder);
        write(QStringLiteral("Адресная книга"), QStringLiteral("FilePath"), dataFolder);
        write(QStringLiteral("Общие"), QStringLiteral("TipsDuration"), QStringLiteral("0"));
    }

    ~AppFixture() { qputenv("HOME", savedHome); }

    std::unique_ptr<SettingsStore> store() const
    {
        return std::make_unique<SettingsStore>(
            std::make_unique<QSettings>(iniPath, QSettings::IniFormat));
    }
    void write(const QString& section, const QString& key, const QString& value) const
    {
        store()->Write(section, key, value);
    }
    QString read(const QString& section, const QString& key) const
    {
        return store()->Read(section, key, QStringLiteral("<absent>"));
    }
    std::unique_ptr<Application> makeApp()
    {
        Application::Environment env{dir.path() + QLatin1Char('/'), false};
        return std::make_unique<Application>(env, store(), messages);
    }
    // The data file is named after the running executable, here the test binary.
    QString dataFile() const
    {
        return dataFolder + Folders::exeBaseName(QCoreApplication::applicationFilePath()) +
               QStringLiteral(".dat");
    }
};
