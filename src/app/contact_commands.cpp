#include "app/contact_commands.h"

#include "app/command_handlers.h"

#include "app/book_session.h"
#include "app/file_dialogs.h"
#include "app/notices.h"
#include "app/termination_signals.h"
#include "contacts/contact_import.h"
#include "core/bounded_file.h"
#include "core/safe_file.h"
#include "dialogs/contacts_import_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

using Format = ContactExport::Format;
using Problem = ContactsRead::Problem;

// One entry per contact as the page would hold it, and which of them the
// page holds already.
ContactsImportDialog::Entries previewOf(const std::vector<Contact>& contacts,
                                        const PageRecord& page, const ContactEntry::Labels& labels,
                                        const StopRequest& stop)
{
    ContactsImportDialog::Entries shown;
    const std::vector<bool> onPage = ContactImport::alreadyOnPage(contacts, page, labels, stop);
    for (std::size_t i = 0; i < contacts.size() && !stop(); ++i) {
        const QString entry =
            ContactImport::entries(std::span(&contacts[i], 1), labels, page.title, stop);
        if (entry.isEmpty())
            continue;
        shown.entries << entry;
        shown.onPage.push_back(onPage[i]);
    }
    return shown;
}

// A page title as a file name: the characters file systems refuse become "_".
QString fileNameOf(const QString& title)
{
    QString name = title.trimmed();
    for (QChar& c : name) {
        if (QStringView(u"/\\:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = u'_';
    }
    return name.isEmpty() ? QStringLiteral("_") : name;
}

} // namespace

void ContactCommands::bind(CommandHandlers& handlers)
{
    handlers.bind(Command::ImportContacts, [this] { run(Command::ImportContacts); });
    handlers.bind(Command::ExportBookVCard, [this] { run(Command::ExportBookVCard); });
    handlers.bind(Command::ExportBookCsv, [this] { run(Command::ExportBookCsv); });
    handlers.bind(Command::ExportPageVCard, [this] { run(Command::ExportPageVCard); });
    handlers.bind(Command::ExportPageCsv, [this] { run(Command::ExportPageCsv); });
}

void ContactCommands::run(Command command)
{
    const Book& book = m_session.book();
    if (!book.hasPage(book.recentPage()))
        return;
    switch (command) {
    case Command::ExportBookVCard:
        exportContacts(Format::VCard, true);
        break;
    case Command::ExportBookCsv:
        exportContacts(Format::Csv, true);
        break;
    case Command::ExportPageVCard:
        exportContacts(Format::VCard, false);
        break;
    case Command::ExportPageCsv:
        exportContacts(Format::Csv, false);
        break;
    case Command::ImportContacts:
        importContacts();
        break;
    default:
        break;
    }
}

QString ContactCommands::text(TextId id)
{
    return m_notices.text(id);
}

void ContactCommands::warn(const QString& message)
{
    m_notices.warn(message);
}

// The open page's edits are taken first, so the file holds what the user sees.
void ContactCommands::exportContacts(Format format, bool wholeBook)
{
    m_session.flushOpenPage();
    const Book& book = m_session.book();
    const PageRecord& page = book.page(book.recentPage());
    const std::vector<Contact> contacts =
        wholeBook ? ContactExport::ofBook(book.pages()) : ContactExport::ofPage(page);
    if (contacts.empty()) {
        warn(wholeBook ? text(TextId::ExportBookEmpty)
                       : text(TextId::ExportPageEmpty).arg(page.title));
        return;
    }
    const QString baseName = wholeBook
                                 ? QFileInfo(m_session.storage().dataFileName()).completeBaseName()
                                 : fileNameOf(page.title);
    const QString path = askExportPath(format, baseName);
    if (path.isEmpty())
        return;
    if (const std::optional<AppError> error = SafeFile::writeWhole(
            path, ContactExport::write(contacts, format, text(TextId::ContactLabelCategories)),
            std::nullopt, SafeFile::Links::Follow)) {
        warn(text(TextId::ExportFailed)
                 .arg(QDir::toNativeSeparators(path), m_notices.describe(*error)));
        return;
    }
    m_window.showNotice(
        text(TextId::ExportDone)
            .arg(QString::number(contacts.size()), QDir::toNativeSeparators(path)));
}

QString ContactCommands::askExportPath(Format format, const QString& baseName)
{
    const bool vCard = format == Format::VCard;
    QFileDialog dialog(m_window.dialogParent(), text(vCard ? TextId::ExportVCardTitle : TextId::ExportCsvTitle));
    dialog.setObjectName(QStringLiteral("cdgExport"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(FileDialogs::nameFilters(
        text(vCard ? TextId::ExportVCardFilter : TextId::ExportCsvFilter)));
    const QString suffix = vCard ? QStringLiteral("vcf") : QStringLiteral("csv");
    dialog.setDefaultSuffix(suffix);
    dialog.setDirectory(m_session.storage().filePath());
    dialog.selectFile(baseName + u'.' + suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString ContactCommands::problemText(const ContactsRead& read)
{
    switch (read.problem) {
    case Problem::NoColon:
        return text(TextId::ContactsNoColon);
    case Problem::OutsideCard:
        return text(TextId::ContactsOutsideCard);
    case Problem::CardNotClosed:
        return text(TextId::ContactsCardNotClosed);
    case Problem::EndWithoutBegin:
        return text(TextId::ContactsEndWithoutBegin);
    case Problem::UnknownCharset:
        return text(TextId::ContactsUnknownCharset).arg(read.detail);
    case Problem::QuoteInValue:
        return text(TextId::ContactsQuoteInValue);
    case Problem::TextAfterQuote:
        return text(TextId::ContactsTextAfterQuote);
    case Problem::QuoteNotClosed:
        return text(TextId::ContactsQuoteNotClosed);
    case Problem::NoColumns:
        return text(TextId::ContactsNoColumns)
            .arg(m_notices.shortList(read.detail.split(QStringLiteral(", "))));
    case Problem::InvalidUtf8:
        return text(TextId::ContactsInvalidUtf8);
    case Problem::NoContacts:
    case Problem::Stopped:
    case Problem::None:
        break;
    }
    return {};
}

void ContactCommands::importContacts()
{
    QFileDialog dialog(m_window.dialogParent(), text(TextId::ImportContactsTitle));
    dialog.setObjectName(QStringLiteral("cdgImportContacts"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(FileDialogs::nameFilters(text(TextId::ImportContactsFilter)));
    dialog.setDirectory(m_session.storage().filePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    const QString shownPath = QDir::toNativeSeparators(path);
    const BoundedFile::Result file = BoundedFile::read(path, ContactImport::MaxFileBytes);
    if (!file.bytes) {
        warn(text(TextId::ImportUnreadable)
                 .arg(shownPath,
                      FileDialogs::unreadableReason(file, [this](TextId id) { return text(id); })));
        return;
    }
    // A termination waiting for the window stops the reading between records
    // and the building of the entries between lines; the preview then never
    // opens, and the event loop takes the termination up.
    const StopRequest stop = &TerminationSignals::pending;
    ContactsRead read = ContactImport::read(
        *file.bytes, stop, ContactImport::codePageOfLanguage(text(TextId::QtLanguage)));
    if (read.problem == Problem::Stopped)
        return;
    if (read.problem == Problem::NoContacts) {
        warn(text(TextId::ImportContactsEmpty).arg(shownPath));
        return;
    }
    if (!read.ok()) {
        warn(text(TextId::ImportContactsBadLine)
                 .arg(shownPath, QString::number(read.line), problemText(read)));
        return;
    }
    if (!storable(read.contacts, shownPath, stop))
        return;
    Book& book = m_session.book();
    const int target = book.recentPage();
    m_session.flushOpenPage();
    const PageRecord& page = book.page(target);
    const ContactEntry::Labels labels = m_notices.contactLabels();
    ContactsImportDialog preview(
        QString(), 0, page.title, [this](TextId id) { return text(id); }, m_window.dialogParent());
    const ContactsImportDialog::Entries shown = previewOf(read.contacts, page, labels, stop);
    if (stop())
        return;
    preview.setEntries(shown.entries, shown.onPage);
    const ContactsRead::Encoding first = read.encoding;
    if (first != ContactsRead::Encoding::Utf8) {
        preview.offerCodePages(first == ContactsRead::Encoding::Windows1252, [&](int codePage) {
            read = ContactImport::readAs(*file.bytes,
                                         codePage == 1 ? ContactsRead::Encoding::Windows1252
                                                       : ContactsRead::Encoding::Windows1251,
                                         stop);
            return previewOf(read.contacts, page, labels, stop);
        });
    }
    if (preview.exec() != QDialog::Accepted)
        return;
    if (read.encoding != first && (!read.ok() || !storable(read.contacts, shownPath, stop)))
        return;
    const QString entries = preview.chosenEntries();
    // On the open page the entries are an edit like a paste, which Undo
    // takes back.
    if (m_window.currentPage() == target) {
        m_window.appendEntries(entries);
        m_session.flushOpenPage();
        return;
    }
    book.setPageText(target, ContactImport::appendEntries(book.page(target).text, entries,
                                                          m_session.storage().useRtf()
                                                              ? ContactImport::Form::RichText
                                                              : ContactImport::Form::PlainText));
    m_session.rebuildTabs();
}

// Plain-text mode keeps the book in Windows-1251; a character it has no code
// for would be lost at the next save.
bool ContactCommands::storable(const std::vector<Contact>& contacts, const QString& shownPath,
                               const StopRequest& stop)
{
    if (m_session.storage().useRtf())
        return true;
    const auto unencodable =
        ContactImport::firstUnencodable(contacts, m_notices.contactLabels(), stop);
    if (!unencodable || stop())
        return !stop();
    warn(text(TextId::ImportContactsUnencodable)
             .arg(shownPath, QString::number(unencodable->line), unencodable->characters,
                  unencodable->name));
    return false;
}
