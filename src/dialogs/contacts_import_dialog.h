#pragma once

#include "core/built_in_text.h"

#include <QDialog>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// `frmImportContacts`: the entries an import of contacts will add to the
// page, shown as the page will hold them before anything changes. "Добавить"
// accepts, Cancel, Esc and the frame leave the page as it is.
class ContactsImportDialog : public QDialog
{
    Q_OBJECT

public:
    // A text of the built-in table as the user's language has it.
    using TextLookup = std::function<QString(TextId id)>;

    // `entries` has CR LF between lines; `count` entries go to `pageTitle`.
    ContactsImportDialog(const QString& entries, int count, const QString& pageTitle,
                         const TextLookup& text, QWidget* owner = nullptr);

    // One entry per contact, and which of them the page holds already:
    // those are listed apart, unticked, and are added only when ticked; the
    // summary counts them.
    void setEntries(const QStringList& entries, const std::vector<bool>& onPage);
    // The entries to add, CR LF between them.
    QString chosenEntries() const;

    // The file was not UTF-8 and was read in the code page `chosen` (0
    // Windows-1251, 1 Windows-1252): the user may switch, and `reread`
    // gives the entries and their marks in the other one at once.
    struct Entries
    {
        QStringList entries;
        std::vector<bool> onPage;
    };
    using Reread = std::function<Entries(int codePage)>;
    void offerCodePages(int chosen, Reread reread);

    // The page the entries go to chosen from `titles`, `chosen` (from 0) at
    // first; the summary follows the choice.
    void offerPages(const QStringList& titles, int chosen);
    int chosenPage() const;
    // The preview of a changed card: the entry `name` on `pageTitle` is to
    // be replaced by what the dialog shows.
    void proposeReplacing(const QString& name, const QString& pageTitle);
    // The preview of entries to be taken out of the book.
    void proposeRemoving();

private:
    // The preview, the count and the summary after a change of the entries,
    // the ticks or the page.
    void refresh();
    // Which of the entries go to the page.
    std::vector<bool> chosen() const;

    TextLookup m_text;
    int m_count;
    QString m_pageTitle;
    QStringList m_entries;
    std::vector<bool> m_onPage;
    QLabel* m_summaryLabel;
    QPlainTextEdit* m_entriesEdit;
    QPushButton* m_okButton;
    QComboBox* m_pageCombo = nullptr;
    QListWidget* m_onPageList = nullptr;
    QComboBox* m_codePageCombo = nullptr;
};
