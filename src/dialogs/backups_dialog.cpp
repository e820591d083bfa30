#include "dialogs/backups_dialog.h"

#include "core/bounded_file.h"
#include "core/date_text.h"
#include "core/message_service.h"
#include "crypto/book_cipher.h"
#include "dialogs/password_dialog.h"
#include "ui/busy_wait.h"
#include "ui/form_localizer.h"
#include "ui/rich_text_edit.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column
{
    DateColumn,
    PagesColumn,
    SizeColumn,
    KindColumn
};

constexpr int kEntryRole = Qt::UserRole;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

BackupsDialog::BackupsDialog(RestoreTarget& target, MessageService& messages, Setup setup,
                             QWidget* parent)
    : QDialog(parent), m_target(target), m_messages(messages), m_setup(std::move(setup))
{
    setObjectName(QStringLiteral("frmBackups"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(BuiltInTexts::text(TextId::BackupsCaption));
    buildControls();
    if (m_setup.localize)
        m_setup.localize(this);
    m_backupList->setHeaderLabels(
        {m_setup.text(TextId::BackupsColumnDate), m_setup.text(TextId::BackupsColumnPages),
         m_setup.text(TextId::BackupsColumnSize), m_setup.text(TextId::BackupsColumnKind)});
    fillList();
    m_infoLabel->setText(m_entries.empty()
                             ? m_setup.text(TextId::BackupsNone).arg(native(m_setup.historyFolder))
                             : m_setup.text(TextId::BackupsChoose));
    updateButtons();
}

void BackupsDialog::buildControls()
{
    const auto button = [this](const char* name, TextId caption) {
        auto* cmd = new QPushButton(BuiltInTexts::text(caption), this);
        cmd->setObjectName(QString::fromLatin1(name));
        cmd->setAutoDefault(false);
        return cmd;
    };
    const auto label = [this](const char* name, TextId caption, QWidget* buddy) {
        auto* lbl = new QLabel(BuiltInTexts::text(caption), this);
        lbl->setObjectName(QString::fromLatin1(name));
        lbl->setBuddy(buddy);
        FormLocalizer::nameByLabel(lbl);
        return lbl;
    };

    m_backupList = new QTreeWidget(this);
    m_backupList->setObjectName(QStringLiteral("lstBackups"));
    m_backupList->setRootIsDecorated(false);
    m_backupList->setUniformRowHeights(true);
    m_backupList->setColumnCount(4);
    m_pageList = new QListWidget(this);
    m_pageList->setObjectName(QStringLiteral("lstPages"));
    // The largest book has 32,767 titles; rows of one height are laid out at once.
    m_pageList->setUniformItemSizes(true);
    m_previewEditor = new RichTextEdit(this);
    m_previewEditor->setObjectName(QStringLiteral("rtfPreview"));
    m_previewEditor->setReadOnly(true);
    m_infoLabel = new QLabel(this);
    m_infoLabel->setObjectName(QStringLiteral("lblInfo"));
    m_infoLabel->setWordWrap(true);
    // Room for the longest note (a kept book's name on a line of its own),
    // so the lists above do not jump as notes come and go.
    m_infoLabel->setMinimumHeight(3 * m_infoLabel->fontMetrics().lineSpacing());
    m_infoLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_infoLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_restorePageButton = button("cmdRestorePage", TextId::BackupsRestorePage);
    m_replacePageButton = button("cmdReplacePage", TextId::BackupsReplacePage);
    m_restoreBookButton = button("cmdRestoreBook", TextId::BackupsRestoreBook);
    QPushButton* closeButton = button("cmdClose", TextId::BackupsClose);

    auto* pages = new QVBoxLayout;
    pages->addWidget(label("lblPages", TextId::BackupsPagesLabel, m_pageList));
    pages->addWidget(m_pageList);
    auto* preview = new QVBoxLayout;
    preview->addWidget(label("lblPreview", TextId::BackupsPreviewLabel, m_previewEditor));
    preview->addWidget(m_previewEditor);
    auto* middle = new QHBoxLayout;
    middle->addLayout(pages, 1);
    middle->addLayout(preview, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_restorePageButton);
    buttons->addWidget(m_replacePageButton);
    buttons->addWidget(m_restoreBookButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label("lblBackups", TextId::BackupsListLabel, m_backupList));
    layout->addWidget(m_backupList, 2);
    layout->addLayout(middle, 3);
    layout->addWidget(m_infoLabel);
    layout->addLayout(buttons);
    resize(860, 600);

    connect(m_backupList, &QTreeWidget::currentItemChanged, this, &BackupsDialog::onBackupChosen);
    connect(m_pageList, &QListWidget::currentRowChanged, this, &BackupsDialog::onPageChosen);
    connect(m_restorePageButton, &QPushButton::clicked, this, [this] { restorePage(false); });
    connect(m_replacePageButton, &QPushButton::clicked, this, [this] { restorePage(true); });
    connect(m_restoreBookButton, &QPushButton::clicked, this, &BackupsDialog::restoreBook);
    connect(closeButton, &QPushButton::clicked, this, &BackupsDialog::reject);
}

QString BackupsDialog::kindText(const BackupCatalog::Entry& entry) const
{
    if (entry.kind == BackupCatalog::Kind::KeptBook)
        return m_setup.text(TextId::BackupsKindKept);
    return m_setup.text(TextId::BackupsKindBackup).arg(entry.period);
}

void BackupsDialog::fillList()
{
    m_entries =
        BackupCatalog::list(m_setup.historyFolder, m_setup.exeBaseName, m_setup.dataFilePath);
    const QLocale locale;
    QList<QTreeWidgetItem*> items;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const BackupCatalog::Entry& entry = m_entries[i];
        const QString pages = entry.pageCount   ? QString::number(*entry.pageCount)
                              : entry.encrypted ? QString()
                                                : m_setup.text(TextId::BackupsDamagedMark);
        const QString size =
            m_setup.text(TextId::BackupsSize).arg(locale.toString((entry.size + 1023) / 1024));
        auto* item =
            new QTreeWidgetItem({DateText::shown(entry.modified, m_setup.text(TextId::DateShown)),
                                 pages, size, kindText(entry)});
        item->setData(DateColumn, kEntryRole, static_cast<int>(i));
        item->setTextAlignment(PagesColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(KindColumn, native(entry.path));
        items << item;
    }
    m_backupList->addTopLevelItems(items);
    for (int column : {DateColumn, PagesColumn, SizeColumn})
        m_backupList->resizeColumnToContents(column);
    // A list without a current item makes its first item current when it
    // gets the focus, and a copy of 32,767 pages would be read as the window
    // opens. Nothing is chosen until the user chooses.
    m_backupList->setCurrentItem(nullptr);
}

void BackupsDialog::refresh()
{
    const BackupCatalog::Entry* chosen = chosenEntry();
    const QString chosenPath = chosen ? chosen->path : QString();
    // The chosen copy's pages stay as they were read; only the list is new.
    {
        const QSignalBlocker blocker(m_backupList);
        m_backupList->clear();
        fillList();
        for (int row = 0; row < m_backupList->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = m_backupList->topLevelItem(row);
            if (m_entries[static_cast<size_t>(item->data(DateColumn, kEntryRole).toInt())].path ==
                chosenPath)
                m_backupList->setCurrentItem(item);
        }
    }
    if (!chosenEntry())
        onBackupChosen();
}

const BackupCatalog::Entry* BackupsDialog::chosenEntry() const
{
    const QTreeWidgetItem* item = m_backupList->currentItem();
    if (!item)
        return nullptr;
    return &m_entries[static_cast<size_t>(item->data(DateColumn, kEntryRole).toInt())];
}

const PageRecord* BackupsDialog::chosenPage() const
{
    const int row = m_pageList->currentRow();
    if (!m_contents || row < 0 || row >= static_cast<int>(m_contents->pages.size()))
        return nullptr;
    return &m_contents->pages[static_cast<size_t>(row)];
}

void BackupsDialog::onBackupChosen()
{
    m_contents.reset();
    m_pageList->clear();
    m_previewEditor->clear();
    const BackupCatalog::Entry* entry = chosenEntry();
    if (!entry) {
        updateButtons();
        return;
    }
    m_contents = BackupCatalog::read(entry->path, m_setup.key.get());
    if (needsPassword() && unlock(entry->path))
        m_contents = BackupCatalog::read(entry->path, m_setup.key.get());
    if (!m_contents->ok()) {
        m_infoLabel->setText(damageText(*entry));
        updateButtons();
        return;
    }
    QStringList titles;
    titles.reserve(static_cast<qsizetype>(m_contents->pages.size()));
    for (const PageRecord& page : m_contents->pages)
        titles << page.title;
    m_infoLabel->clear();
    m_pageList->addItems(titles);
    m_pageList->setCurrentRow(0);
    updateButtons();
}

void BackupsDialog::onPageChosen()
{
    const PageRecord* page = chosenPage();
    if (!page) {
        m_previewEditor->clear();
    } else {
        m_previewEditor->setTextRTF(page->text, page->kind == PageRecord::AddressPage
                                                    ? m_setup.addressTabStops
                                                    : QList<int>());
    }
    updateButtons();
}

void BackupsDialog::updateButtons()
{
    const bool page = chosenPage() != nullptr;
    m_restorePageButton->setEnabled(page);
    m_replacePageButton->setEnabled(page);
    // A damaged copy can still be chosen for a restore: it is refused with
    // the reason, rather than the button merely being grey.
    m_restoreBookButton->setEnabled(chosenEntry() != nullptr);
}

QString BackupsDialog::damageText(const BackupCatalog::Entry& entry) const
{
    const QString path = native(entry.path);
    if (!m_contents->damage)
        return m_setup.text(TextId::BackupsUnreadable).arg(path, m_contents->fileError);
    const DataFile::Error& damage = *m_contents->damage;
    if (damage.line == 0 && damage.error.text)
        return m_setup.text(TextId::BackupsDamaged).arg(path, m_setup.text(*damage.error.text));
    const QString where = m_setup.text(TextId::UnreadableReason)
                              .arg(QString::number(damage.line), damage.error.description,
                                   QString::number(damage.error.number));
    return m_setup.text(TextId::BackupsDamaged).arg(path, where);
}

bool BackupsDialog::refuseDamaged()
{
    const BackupCatalog::Entry* entry = chosenEntry();
    if (!entry || !m_contents)
        return true;
    if (m_contents->ok())
        return false;
    m_messages.show(damageText(*entry), MessageService::Icon::Exclamation);
    return true;
}

void BackupsDialog::restorePage(bool overCurrent)
{
    if (refuseDamaged())
        return;
    const PageRecord* page = chosenPage();
    if (!page)
        return;
    const QDateTime made = chosenEntry()->modified;
    showOutcome(overCurrent ? m_target.replaceCurrentPage(*page, made)
                            : m_target.insertPage(*page, made));
}

void BackupsDialog::restoreBook()
{
    if (refuseDamaged())
        return;
    showOutcome(m_target.replaceBook(m_contents->pages, chosenEntry()->modified));
}

void BackupsDialog::showOutcome(const RestoreTarget::Outcome& outcome)
{
    if (!outcome.restored)
        return;
    if (outcome.keptAs.isEmpty()) {
        m_infoLabel->setText(m_setup.text(TextId::BackupsPageAdded).arg(outcome.pageTitle));
        return;
    }
    refresh();
    m_infoLabel->setText(m_setup.text(TextId::BackupsKeptAs).arg(native(outcome.keptAs)));
}

// A copy sealed under a key this session does not hold (a book opened
// without its encryption, a password changed since): its password is asked.
bool BackupsDialog::needsPassword() const
{
    return m_contents && m_contents->damage && m_contents->damage->line == 0 &&
           m_contents->damage->error.text == TextId::SealedOtherPassword;
}

bool BackupsDialog::unlock(const QString& path)
{
    const BoundedFile::Result head =
        BoundedFile::readHead(path, BookCipher::HeaderBytes + BookCipher::TagBytes);
    const std::optional<BookCipher::Header> header =
        head.bytes ? BookCipher::readHeader(*head.bytes).header : std::nullopt;
    if (!header)
        return false;
    std::shared_ptr<const BookKey> key;
    PasswordDialog dialog(PasswordDialog::Mode::Confirm, QString(), m_messages, m_setup.text,
                          m_setup.localize, this);
    dialog.setCheck([&](const QString& typed) {
        // The derivation runs aside; a key made after Cancel goes with `made`.
        auto made = std::make_shared<std::unique_ptr<BookKey>>();
        if (!BusyWait::run(&dialog, m_setup.text(TextId::PasswordDeriving),
                           m_setup.text(TextId::PasswordCancel),
                           [made, typed, params = header->params, check = header->check] {
                               *made = BookKey::derive(typed, params, check);
                           }))
            return PasswordDialog::Verdict::Abandoned;
        key = std::move(*made);
        return key ? PasswordDialog::Verdict::Right : PasswordDialog::Verdict::Wrong;
    });
    dialog.exec();
    if (!dialog.loginAccepted() || !key)
        return false;
    m_setup.key = std::move(key);
    return true;
}
