#include "app/options_command.h"

#include "app/command_handlers.h"

#include "app/book_encryption.h"
#include "app/book_session.h"
#include "app/login.h"
#include "app/notices.h"
#include "core/event_log.h"
#include "core/localization.h"
#include "core/option_table.h"
#include "core/options.h"
#include "core/settings_store.h"
#include "dialogs/help_window.h"
#include "dialogs/options_dialog.h"
#include "dialogs/replace_dialog.h"
#include "ui/book_view.h"
#include "styles/styles.h"
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
    OptionsDialog dialog(
        *this, m_notices.messages(), m_notices.textLookup(),
        [this](QWidget* form) { formLocalize(form); }, m_window.dialogParent());
    dialog.exec();
    // Style changes act at once: the style menu follows them however the
    // dialog closed.
    QStringList names;
    for (const Style& style : m_parts.styles)
        names << style.name();
    m_window.showStyleNames(names);
}

void OptionsCommand::formLocalize(QWidget* form)
{
    FormLocalizer::localize(form, m_parts.localization, {}, FormLocalizer::Tags::Localize);
}

Options& OptionsCommand::options()
{
    return m_parts.options;
}

Styles& OptionsCommand::appStyles()
{
    return m_parts.styles;
}

QString OptionsCommand::currentPassword() const
{
    return m_parts.login.password();
}

void OptionsCommand::setCurrentPassword(const QString& password)
{
    if (password.isEmpty())
        m_parts.login.setPassword(password);
    else
        m_parts.encryption.changePassword(password);
}

bool OptionsCommand::bookEncrypted() const
{
    return m_session.storage().encrypted();
}

bool OptionsCommand::setBookEncrypted(bool on, QWidget* owner)
{
    if (on == bookEncrypted())
        return true;
    return on ? m_parts.encryption.switchOn(owner) : m_parts.encryption.switchOff(owner);
}

QString OptionsCommand::filePath() const
{
    return m_session.storage().filePath();
}

bool OptionsCommand::saveBook()
{
    return m_session.save() == BookSession::SaveOutcome::Saved;
}

Outcome OptionsCommand::changeStorageFolder(const QString& folder, QWidget* owner)
{
    FolderChange change(m_session.storage(), folder);
    FolderChange::Check check = change.check();
    if (check.plan == FolderChange::Plan::CreateFolder) {
        if (!m_notices.messages().ask(
                m_notices.text(TextId::FolderCreateConfirm).arg(QDir::toNativeSeparators(folder))))
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
            change.newFile(), change.oldFile(), m_notices.textLookup(),
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
        m_session.rebuildTabs();
        m_window.setSavedState(true);
        return Outcome::Cancelled;
    case Kind::Failed:
        tell(*outcome.report);
        return Outcome::Refused;
    case Kind::Loaded:
        m_window.dropPageEdits();
        m_session.reportLoad();
        break;
    case Kind::Moved:
        break;
    }
    // The folder the user chose is the one the next start looks in, even
    // when this run had to fall back to another.
    m_session.folderChosen();
    if (outcome.report)
        tell(*outcome.report);
    if (outcome.exportReport)
        tell(*outcome.exportReport);
    if (outcome.saveError)
        m_notices.presentError(*outcome.saveError);
    return Outcome::Done;
}

void OptionsCommand::tell(const FolderChange::Report& report)
{
    QStringList args = report.args;
    if (report.cause)
        args << QStringLiteral("%1 (%2)").arg(m_notices.describe(*report.cause),
                                               QString::number(report.cause->number));
    if (report.unreadable)
        args << m_notices.unreadableReason(report.unreadable->fileError,
                                           report.unreadable->parseError);
    m_notices.present(fill(m_notices.text(report.message), args),
                      MessageService::Icon::Exclamation);
}

void OptionsCommand::optionsApplied()
{
    m_session.storage().setUseRtf(m_parts.options.useRtf);
    m_session.folders().fullDataPath = m_session.storage().fullDataPath();
    m_window.showStatusText(m_session.folders().fullDataPath);
    m_session.rebuildTabs();
    m_window.setSavedState(true);
}

void OptionsCommand::showHelpTopic(int topic, QWidget* owner)
{
    HelpWindow::showModal(m_parts.helpSetup(), owner, topic);
}

std::vector<LanguageCatalog::Language> OptionsCommand::languages() const
{
    return m_parts.languages.languages();
}

QString OptionsCommand::language() const
{
    return m_parts.languages.choiceInUse(m_parts.settings.read(
        OptionTable::languageSection.toString(), OptionTable::languageKey.toString(), QString()));
}

// Stored at once rather than at shutdown: it is read before anything else
// at the next start. A book that holds nothing takes the new language's
// letters then; one with entries keeps its pages, which the user is told in
// the language he chose.
QString OptionsCommand::setLanguage(const QString& choice)
{
    m_parts.settings.write(OptionTable::languageSection.toString(),
                            OptionTable::languageKey.toString(), choice);
    EventLog quiet;
    Localization chosen(m_parts.languages.folders(choice), quiet);
    return chosen.text(m_session.holdsOnlyEmptyLetterPages() ? TextId::LanguageNextStart
                                                            : TextId::LanguageKeepsPages);
}

void OptionsCommand::bind(CommandHandlers& handlers)
{
    handlers.bind(Command::Options, [this] { run(); });
}
