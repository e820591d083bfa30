#include "dialogs/contacts_import_dialog.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

// Wide enough for a name column and a line of details.
constexpr int kPreviewColumns = 80;
constexpr int kPreviewLines = 20;
// An address page's tab stops: a narrow one where continuation lines (two
// tabs) pass, then the name column, about this many characters wide.
constexpr int kFirstTabTwips = 300;
constexpr int kTabColumns = 24;
// A line of millions of characters (a note of a whole file) would take the
// text box many seconds to lay out, and only its start can be seen: the
// preview cuts it here, and a note of millions of lines after as many lines
// as anyone reads. The entries added are whole.
constexpr qsizetype kLongestPreviewLine = 1000;
constexpr qsizetype kMostPreviewLines = 2000;

QString previewText(QStringView entries)
{
    QString shown;
    qsizetype lines = 0;
    for (QStringView line : entries.tokenize(u"\r\n")) {
        if (lines++ == kMostPreviewLines)
            return shown.append(QStringView(u"\n…"));
        if (lines > 1)
            shown += u'\n';
        shown += line.size() > kLongestPreviewLine
                     ? line.first(kLongestPreviewLine).toString() + u'…'
                     : line.toString();
    }
    return shown;
}

} // namespace

ContactsImportDialog::ContactsImportDialog(const QString& entries, int count,
                                           const QString& pageTitle, const TextLookup& text,
                                           QWidget* owner, bool readAsWindows1251)
    : QDialog(owner), m_text(text), m_count(count)
{
    setObjectName(QStringLiteral("frmImportContacts"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(text(TextId::ImportContactsCaption));

    auto* lblSummary =
        new QLabel(text(TextId::ImportContactsSummary).arg(pageTitle, QString::number(count)), this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setTextFormat(Qt::PlainText);
    lblSummary->setWordWrap(true);
    m_lblSummary = lblSummary;
    auto* txtEntries = new QPlainTextEdit(this);
    txtEntries->setObjectName(QStringLiteral("txtEntries"));
    txtEntries->setReadOnly(true);
    lblSummary->setBuddy(txtEntries);
    txtEntries->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtEntries->setPlainText(previewText(entries));
    const QFontMetrics metrics(txtEntries->font());
    const qreal nameColumn = metrics.horizontalAdvance(u'x') * kTabColumns;
    txtEntries->setTabStopDistance(nameColumn);
    QTextOption stops = txtEntries->document()->defaultTextOption();
    stops.setTabs({QTextOption::Tab(kFirstTabTwips * txtEntries->logicalDpiX() / 1440.0,
                                    QTextOption::LeftTab),
                   QTextOption::Tab(nameColumn, QTextOption::LeftTab)});
    txtEntries->document()->setDefaultTextOption(stops);
    txtEntries->setMinimumSize(metrics.horizontalAdvance(u'x') * kPreviewColumns,
                               metrics.lineSpacing() * kPreviewLines);
    auto* cmdOK = new QPushButton(text(TextId::ImportContactsAdd), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    m_cmdOK = cmdOK;
    auto* cmdCancel = new QPushButton(text(TextId::CommonCancel), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    if (readAsWindows1251) {
        auto* lblCharset = new QLabel(text(TextId::ImportContactsNotUtf8), this);
        lblCharset->setObjectName(QStringLiteral("lblCharset"));
        lblCharset->setWordWrap(true);
        layout->addWidget(lblCharset);
    }
    layout->addWidget(txtEntries);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ContactsImportDialog::offerPages(const QStringList& titles, int chosen)
{
    m_cboPage = new QComboBox(this);
    m_cboPage->setObjectName(QStringLiteral("cboPage"));
    m_cboPage->addItems(titles);
    m_cboPage->setCurrentIndex(chosen);
    auto* lblPage = new QLabel(m_text(TextId::CardDavPageLabel), this);
    lblPage->setObjectName(QStringLiteral("lblPage"));
    lblPage->setBuddy(m_cboPage);
    auto* row = new QHBoxLayout;
    row->addWidget(lblPage);
    row->addWidget(m_cboPage, 1);
    static_cast<QVBoxLayout*>(layout())->insertLayout(0, row);
    const auto summarize = [this](int index) {
        m_lblSummary->setText(
            m_text(TextId::ImportContactsSummary)
                .arg(m_cboPage->itemText(index), QString::number(m_count)));
    };
    connect(m_cboPage, &QComboBox::currentIndexChanged, this, summarize);
    summarize(chosen);
}

int ContactsImportDialog::chosenPage() const
{
    return m_cboPage ? m_cboPage->currentIndex() : -1;
}

void ContactsImportDialog::proposeReplacing(const QString& name, const QString& pageTitle)
{
    m_lblSummary->setText(m_text(TextId::CardDavReplaceSummary).arg(name, pageTitle));
    m_cmdOK->setText(m_text(TextId::CardDavReplace));
}

void ContactsImportDialog::proposeRemoving()
{
    m_lblSummary->setText(m_text(TextId::CardDavRemoveSummary).arg(QString::number(m_count)));
    m_cmdOK->setText(m_text(TextId::CardDavRemove));
}
