#pragma once

#include "core/built_in_text.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
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
    // `readAsWindows1251`: the file was not UTF-8, which the preview says.
    ContactsImportDialog(const QString& entries, int count, const QString& pageTitle,
                         const TextLookup& text, QWidget* owner = nullptr,
                         bool readAsWindows1251 = false);

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
    TextLookup m_text;
    int m_count;
    QLabel* m_lblSummary;
    QPushButton* m_cmdOK;
    QComboBox* m_cboPage = nullptr;
};
