#include "dialogs/contacts_import_dialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Wide enough for a name column and a line of details.
constexpr int kPreviewColumns = 80;
constexpr int kPreviewLines = 20;
// The name column of an address page is about this many characters wide.
constexpr int kTabColumns = 24;

} // namespace

ContactsImportDialog::ContactsImportDialog(const QString& entries, int count,
                                           const QString& pageTitle, const TextLookup& text,
                                           QWidget* owner, bool readAsWindows1251)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmImportContacts"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(text(TextId::ImportContactsCaption));

    auto* lblSummary =
        new QLabel(text(TextId::ImportContactsSummary).arg(pageTitle).arg(count), this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setTextFormat(Qt::PlainText);
    lblSummary->setWordWrap(true);
    auto* txtEntries = new QPlainTextEdit(this);
    txtEntries->setObjectName(QStringLiteral("txtEntries"));
    txtEntries->setReadOnly(true);
    lblSummary->setBuddy(txtEntries);
    txtEntries->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtEntries->setPlainText(
        QString(entries).replace(QLatin1StringView("\r\n"), QLatin1StringView("\n")));
    const QFontMetrics metrics(txtEntries->font());
    txtEntries->setTabStopDistance(metrics.horizontalAdvance(u'x') * kTabColumns);
    txtEntries->setMinimumSize(metrics.horizontalAdvance(u'x') * kPreviewColumns,
                               metrics.lineSpacing() * kPreviewLines);
    auto* cmdOK = new QPushButton(text(TextId::ImportContactsAdd), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdCancel = new QPushButton(text(TextId::CommonCancel), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    if (readAsWindows1251) {
        auto* lblCharset = new QLabel(text(TextId::ImportContactsWindows1251), this);
        lblCharset->setObjectName(QStringLiteral("lblCharset"));
        lblCharset->setWordWrap(true);
        layout->addWidget(lblCharset);
    }
    layout->addWidget(txtEntries);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}
