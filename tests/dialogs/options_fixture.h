#pragma once

// The options dialog over a host that records what the dialog asks of it.

#include "core/options.h"
#include "dialog_child.h"
#include "dialogs/options_dialog.h"
#include "dialogs/options_host.h"
#include "styles/styles.h"

class RecordingOptionsHost : public OptionsHost
{
public:
    Options& options() override { return m_options; }
    Styles& appStyles() override { return m_styles; }
    QString currentPassword() const override { return m_password; }
    void setCurrentPassword(const QString& password) override { m_password = password; }
    QString filePath() const override { return m_filePath; }
    QString& browseStartFolder() override { return m_browseStart; }
    bool saveBook() override
    {
        calls << QStringLiteral("SaveBook");
        return m_saves;
    }
    FolderChangeOutcome changeStorageFolder(const QString& folder, QWidget*) override
    {
        calls << QStringLiteral("changeStorageFolder ") + folder;
        if (m_folderOutcome == FolderChangeOutcome::Done)
            m_filePath = folder;
        return m_folderOutcome;
    }
    void optionsApplied() override { calls << QStringLiteral("optionsApplied"); }
    bool bookEncrypted() const override { return m_encrypted; }
    bool setBookEncrypted(bool on, QWidget*) override
    {
        calls << QStringLiteral("encrypt %1").arg(on);
        m_encrypted = m_encryptionWorks ? on : m_encrypted;
        return m_encryptionWorks;
    }
    void showHelpTopic(int topic, QWidget*) override
    {
        calls << QStringLiteral("help %1").arg(topic);
    }

    Options m_options;
    Styles m_styles;
    QString m_password;
    QString m_filePath = QStringLiteral("/srv/books/");
    QString m_browseStart;
    bool m_saves = true;
    bool m_encrypted = false;
    bool m_encryptionWorks = true;
    FolderChangeOutcome m_folderOutcome = FolderChangeOutcome::Done;
    QStringList calls;
};

// Runs `answer` on the modal window the next action opens.
inline void whenModal(const std::function<void(QWidget*)>& answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        answer(modal);
    });
}

class OptionsDialogTest : public ::testing::Test
{
protected:
    void open()
    {
        m_dialog = new OptionsDialog(
            m_host, m_messages, [this](TextId id) { return text(id); }, nullptr);
        m_dialog->setAttribute(Qt::WA_DeleteOnClose);
        m_dialog->show();
        m_dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog));
    }
    ~OptionsDialogTest() override { delete m_dialog; }

    // What "language.ini" would give: the built-in text unless a test says otherwise.
    QString text(TextId id) const
    {
        return m_translated.contains(int(id)) ? m_translated.value(int(id))
                                              : BuiltInTexts::text(id);
    }

    template <typename T> T* child(const char* name) const { return ::child<T>(m_dialog, name); }
    void click(const char* name) const { clickOn(m_dialog, name); }
    void type(const char* field, const QString& text) const { typeInto(m_dialog, field, text); }
    void showPage(int row) const { child<QListWidget>("lstPages")->setCurrentRow(row); }
    bool isOpen() const { return m_dialog && m_dialog->isVisible(); }
    // Whether the dialog is open, then what it asked of the host and what it said.
    QStringList outcome() const
    {
        return QStringList{isOpen() ? "open" : "closed"} + m_host.calls + m_messages.texts();
    }

    RecordingOptionsHost m_host;
    RecordingMessageService m_messages;
    QHash<int, QString> m_translated;
    QPointer<OptionsDialog> m_dialog;
};
