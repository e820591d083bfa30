#include "app/options_command.h"

#include "app/application.h"
#include "core/option_table.h"
#include "dialogs/help_window.h"
#include "dialogs/options_dialog.h"
#include "dialogs/replace_dialog.h"
#include "ui/form_localizer.h"

#include <QDir>

namespace {

using Outcome = OptionsHost::FolderChangeOutcome;

// "%1" ... "%9" replaced in one pass, so a folder name holding "%2" stays as
// it is.
QString fill(const QString& text, const QStringList& args)
{
    QString filled;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int n = i + 1 < text.size() ? text[i + 1].digitValue() : -1;
        if (text[i] == u'%' && n >= 1 && n <= args.size()) {
            filled += args[n - 1];
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

} // namespace

void OptionsCommand::run()
{
    MainWindow* window = m_app.mainWindow();
    OptionsDialog dialog(
        *this, m_app.messages(), [this](TextId id) { return m_app.localizedText(id); },
        [this](QWidget* form) { formLocalize(form); }, window);
    dialog.exec();
    // Style changes act at once: the style menu follows them however the
    // dialog closed.
    window->showStyleNames(m_app.display().styleNames);
}

void OptionsCommand::formLocalize(QWidget* form)
{
    FormLocalizer::localize(form, m_app.localization(), {}, FormLocalizer::Tags::Localize);
}

Options& OptionsCommand::options()
{
    return m_app.m_options;
}

Styles& OptionsCommand::AppStyles()
{
    return m_app.m_styles;
}

QString OptionsCommand::CurrentPassword() const
{
    return m_app.m_currentPassword;
}

void OptionsCommand::setCurrentPassword(const QString& password)
{
    if (password.isEmpty())
        m_app.m_currentPassword = password;
    else
        m_app.m_encryption.changePassword(password);
}

bool OptionsCommand::bookEncrypted() const
{
    return m_app.m_storage.encrypted();
}

bool OptionsCommand::setBookEncrypted(bool on, QWidget* owner)
{
    if (on == bookEncrypted())
        return true;
    return on ? m_app.m_encryption.switchOn() : m_app.m_encryption.switchOff(owner);
}

QString OptionsCommand::FilePath() const
{
    return m_app.m_storage.FilePath();
}

bool OptionsCommand::SaveBook()
{
    return m_app.saveBook() == Application::SaveOutcome::Saved;
}

Outcome OptionsCommand::changeStorageFolder(const QString& folder, QWidget* owner)
{
    FolderChange change(m_app.m_storage, folder);
    FolderChange::Check check = change.check();
    if (check.plan == FolderChange::Plan::CreateFolder) {
        if (!m_app.messages().ask(m_app.localizedText(TextId::FolderCreateConfirm)
                                      .arg(QDir::toNativeSeparators(folder))))
            return Outcome::Refused;
        if (const std::optional<FolderChange::Report> report = change.createFolder()) {
            tell(*report);
            return Outcome::Refused;
        }
        check = change.check();
    }
    switch (check.plan) {
    case FolderChange::Plan::NoChange:
        return Outcome::Done;
    case FolderChange::Plan::Move:
        return finish(change.moveBook());
    case FolderChange::Plan::Replace: {
        ReplaceDialog dialog(
            change.newFile(), change.oldFile(),
            [this](TextId id) { return m_app.localizedText(id); },
            [this](QWidget* form) { formLocalize(form); }, owner);
        dialog.exec();
        return finish(
            change.replace(static_cast<FolderChange::ReplaceResult>(dialog.ReplaceResult())));
    }
    case FolderChange::Plan::CreateFolder:
    case FolderChange::Plan::Unusable:
        break;
    }
    if (check.report)
        tell(*check.report);
    return Outcome::Refused;
}

Outcome OptionsCommand::finish(const FolderChange::Outcome& outcome)
{
    using Kind = FolderChange::Outcome::Kind;
    switch (outcome.kind) {
    case Kind::Cancelled:
        m_app.RebuildTabs();
        m_app.mainWindow()->setSavedState(true);
        return Outcome::Cancelled;
    case Kind::Failed:
        tell(*outcome.report);
        return Outcome::Refused;
    case Kind::Loaded:
        m_app.mainWindow()->dropPageEdits();
        m_app.reportLoad();
        break;
    case Kind::Moved:
        break;
    }
    // The folder the user chose is the one the next start looks in, even
    // when this run had to fall back to another.
    m_app.m_filePathAsStored = m_app.m_storage.FilePath();
    m_app.m_folders.FilePath = m_app.m_storage.FilePath();
    m_app.m_folders.FullDataPath = m_app.m_storage.FullDataPath();
    if (outcome.report)
        tell(*outcome.report);
    if (outcome.exportReport)
        tell(*outcome.exportReport);
    if (outcome.saveError)
        m_app.presentError(*outcome.saveError);
    return Outcome::Done;
}

void OptionsCommand::tell(const FolderChange::Report& report)
{
    QStringList args = report.args;
    if (report.cause)
        args << QStringLiteral("%1 (%2)")
                    .arg(m_app.describe(*report.cause))
                    .arg(report.cause->number);
    if (report.unreadable)
        args << m_app.unreadableReason(report.unreadable->fileError, report.unreadable->parseError);
    m_app.present(fill(m_app.localizedText(report.message), args),
                  MessageService::Icon::Exclamation);
}

void OptionsCommand::optionsApplied()
{
    m_app.m_storage.setUseRtf(m_app.m_options.UseRtf);
    m_app.m_folders.FullDataPath = m_app.m_storage.FullDataPath();
    m_app.mainWindow()->showStatusText(m_app.m_folders.FullDataPath);
    m_app.RebuildTabs();
    m_app.mainWindow()->setSavedState(true);
}

void OptionsCommand::showHelpTopic(int topic, QWidget* owner)
{
    HelpWindow::showModal(m_app.helpSetup(), owner, topic);
}

std::vector<LanguageCatalog::Language> OptionsCommand::languages() const
{
    return m_app.m_languages.languages();
}

QString OptionsCommand::language() const
{
    return m_app.m_languages.choiceInUse(m_app.m_settings->Read(
        OptionTable::languageSection.toString(), OptionTable::languageKey.toString(), QString()));
}

// Stored at once rather than at shutdown: it is read before anything else
// at the next start.
void OptionsCommand::setLanguage(const QString& choice)
{
    m_app.m_settings->Write(OptionTable::languageSection.toString(),
                            OptionTable::languageKey.toString(), choice);
}
