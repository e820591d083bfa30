#pragma once

#include "core/built_in_text.h"
#include "document/backup_catalog.h"
#include "document/restore_target.h"

#include <QDialog>
#include <QList>
#include <functional>
#include <optional>
#include <vector>

class MessageService;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class RichTextEdit;

// `frmBackups`: the dated backups of the history folder and the books kept
// before a restore (`lstBackups`: date, page count from the count line,
// size), the titles of the chosen copy's pages (`lstPages`), a read-only
// preview of the chosen page (`rtfPreview`), and the three restores. Opening
// it reads only count lines and sizes; a copy's pages are read when it is
// chosen; an encrypted copy the book's key cannot open asks its password.
// A damaged copy is refused with a message and never touched. The
// restores themselves are the target's: the window only says which page or
// book, and lists the book kept before a restore among the copies.
class BackupsDialog : public QDialog
{
    Q_OBJECT

public:
    // A text of the built-in table as the user's language has it.
    using TextLookup = std::function<QString(TextId id)>;
    // Gives each control its localized caption (by objectName, current caption as default).
    using FormLocalize = std::function<void(QWidget* form)>;

    struct Setup
    {
        QString historyFolder; // ends with a separator
        QString exeBaseName;
        QString dataFilePath;               // the books kept before a restore lie beside it
        QList<int> addressTabStops;         // twips, as the notebook shows address pages
        std::shared_ptr<const BookKey> key; // opens the copies of an encrypted book
        TextLookup text;
        FormLocalize localize;
    };

    BackupsDialog(RestoreTarget& target, MessageService& messages, Setup setup,
                  QWidget* parent = nullptr);

    // Lists the copies anew, keeping the chosen one chosen while it is there.
    void refresh();

private:
    void buildControls();
    void fillList();
    const BackupCatalog::Entry* chosenEntry() const;
    const PageRecord* chosenPage() const;
    void onBackupChosen();
    void onPageChosen();
    void updateButtons();
    // Tells why the chosen copy cannot be restored; true when it cannot.
    bool refuseDamaged();
    bool needsPassword() const;
    // Asks the password of the encrypted copy at `path`; its key opens the
    // copies from then on.
    bool unlock(const QString& path);
    QString damageText(const BackupCatalog::Entry& entry) const;
    void restorePage(bool overCurrent);
    void restoreBook();
    void showOutcome(const RestoreTarget::Outcome& outcome);
    QString kindText(const BackupCatalog::Entry& entry) const;

    RestoreTarget& m_target;
    MessageService& m_messages;
    Setup m_setup;
    std::vector<BackupCatalog::Entry> m_entries;
    // The chosen copy's pages, read when it was chosen.
    std::optional<BackupCatalog::Contents> m_contents;
    QTreeWidget* m_backupList = nullptr;
    QListWidget* m_pageList = nullptr;
    RichTextEdit* m_previewEditor = nullptr;
    QLabel* m_infoLabel = nullptr;
    QPushButton* m_restorePageButton = nullptr;
    QPushButton* m_replacePageButton = nullptr;
    QPushButton* m_restoreBookButton = nullptr;
};
