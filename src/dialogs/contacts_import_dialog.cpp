#include "dialogs/contacts_import_dialog.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
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
                                           QWidget* owner)
    : QDialog(owner), m_text(text), m_count(count), m_pageTitle(pageTitle)
{
    setObjectName(QStringLiteral("frmImportContacts"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(text(TextId::ImportContactsCaption));

    auto* summaryLabel = new QLabel(
        text(TextId::ImportContactsSummary).arg(pageTitle, QString::number(count)), this);
    summaryLabel->setObjectName(QStringLiteral("lblSummary"));
    summaryLabel->setTextFormat(Qt::PlainText);
    summaryLabel->setWordWrap(true);
    m_summaryLabel = summaryLabel;
    auto* entriesEdit = new QPlainTextEdit(this);
    m_entriesEdit = entriesEdit;
    entriesEdit->setObjectName(QStringLiteral("txtEntries"));
    entriesEdit->setReadOnly(true);
    summaryLabel->setBuddy(entriesEdit);
    entriesEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    entriesEdit->setPlainText(previewText(entries));
    const QFontMetrics metrics(entriesEdit->font());
    const qreal nameColumn = metrics.horizontalAdvance(u'x') * kTabColumns;
    entriesEdit->setTabStopDistance(nameColumn);
    QTextOption stops = entriesEdit->document()->defaultTextOption();
    stops.setTabs({QTextOption::Tab(kFirstTabTwips * entriesEdit->logicalDpiX() / 1440.0,
                                    QTextOption::LeftTab),
                   QTextOption::Tab(nameColumn, QTextOption::LeftTab)});
    entriesEdit->document()->setDefaultTextOption(stops);
    entriesEdit->setMinimumSize(metrics.horizontalAdvance(u'x') * kPreviewColumns,
                                metrics.lineSpacing() * kPreviewLines);
    auto* okButton = new QPushButton(text(TextId::ImportContactsAdd), this);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    okButton->setDefault(true);
    m_okButton = okButton;
    auto* cancelButton = new QPushButton(text(TextId::CommonCancel), this);
    cancelButton->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summaryLabel);
    layout->addWidget(entriesEdit);
    layout->addLayout(buttons);

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ContactsImportDialog::offerPages(const QStringList& titles, int chosen)
{
    m_pageCombo = new QComboBox(this);
    m_pageCombo->setObjectName(QStringLiteral("cboPage"));
    m_pageCombo->addItems(titles);
    m_pageCombo->setCurrentIndex(chosen);
    auto* pageLabel = new QLabel(m_text(TextId::CardDavPageLabel), this);
    pageLabel->setObjectName(QStringLiteral("lblPage"));
    pageLabel->setBuddy(m_pageCombo);
    auto* row = new QHBoxLayout;
    row->addWidget(pageLabel);
    row->addWidget(m_pageCombo, 1);
    static_cast<QVBoxLayout*>(layout())->insertLayout(0, row);
    connect(m_pageCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_pageTitle = m_pageCombo->itemText(index);
        refresh();
    });
    m_pageTitle = m_pageCombo->itemText(chosen);
    refresh();
}

void ContactsImportDialog::setEntries(const QStringList& entries, const std::vector<bool>& onPage)
{
    m_entries = entries;
    m_onPage = onPage;
    m_onPage.resize(std::size_t(entries.size()));
    if (!m_onPageList) {
        m_onPageList = new QListWidget(this);
        m_onPageList->setObjectName(QStringLiteral("lstOnPage"));
        static_cast<QVBoxLayout*>(layout())->insertWidget(layout()->indexOf(m_entriesEdit) + 1,
                                                          m_onPageList);
        connect(m_onPageList, &QListWidget::itemChanged, this, &ContactsImportDialog::refresh);
    }
    const QSignalBlocker quiet(m_onPageList);
    m_onPageList->clear();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!m_onPage[std::size_t(i)])
            continue;
        auto* item =
            new QListWidgetItem(previewText(entries[i]).section(u'\n', 0, 0), m_onPageList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(Qt::UserRole, int(i));
    }
    m_onPageList->setVisible(m_onPageList->count() > 0);
    refresh();
}

std::vector<bool> ContactsImportDialog::chosen() const
{
    std::vector<bool> chosen(m_onPage.size());
    for (std::size_t i = 0; i < m_onPage.size(); ++i)
        chosen[i] = !m_onPage[i];
    for (int row = 0; m_onPageList && row < m_onPageList->count(); ++row) {
        const QListWidgetItem* item = m_onPageList->item(row);
        chosen[std::size_t(item->data(Qt::UserRole).toInt())] = item->checkState() == Qt::Checked;
    }
    return chosen;
}

QString ContactsImportDialog::chosenEntries() const
{
    const std::vector<bool> chosen = this->chosen();
    QStringList entries;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (chosen[std::size_t(i)])
            entries << m_entries[i];
    }
    return entries.join(QLatin1StringView("\r\n"));
}

void ContactsImportDialog::refresh()
{
    const auto onPage = std::count(m_onPage.begin(), m_onPage.end(), true);
    if (m_onPageList) { // the entries were set one by one
        const std::vector<bool> chosen = this->chosen();
        m_count = int(std::count(chosen.begin(), chosen.end(), true));
        m_entriesEdit->setPlainText(previewText(chosenEntries()));
        m_okButton->setEnabled(m_count > 0);
    }
    m_summaryLabel->setText(
        onPage > 0
            ? m_text(TextId::ImportContactsDuplicates)
                  .arg(m_pageTitle, QString::number(m_count), QString::number(onPage))
            : m_text(TextId::ImportContactsSummary).arg(m_pageTitle, QString::number(m_count)));
}

void ContactsImportDialog::offerCodePages(int chosen, Reread reread)
{
    auto* charsetLabel = new QLabel(m_text(TextId::ImportContactsNotUtf8), this);
    charsetLabel->setObjectName(QStringLiteral("lblCharset"));
    charsetLabel->setWordWrap(true);
    m_codePageCombo = new QComboBox(this);
    m_codePageCombo->setObjectName(QStringLiteral("cboEncoding"));
    m_codePageCombo->addItems(
        {m_text(TextId::ImportContactsCyrillic), m_text(TextId::ImportContactsWestern)});
    m_codePageCombo->setCurrentIndex(chosen);
    auto* encodingLabel = new QLabel(m_text(TextId::ImportContactsEncodingLabel), this);
    encodingLabel->setObjectName(QStringLiteral("lblEncoding"));
    encodingLabel->setBuddy(m_codePageCombo);
    auto* row = new QHBoxLayout;
    row->addWidget(encodingLabel);
    row->addWidget(m_codePageCombo, 1);
    auto* box = static_cast<QVBoxLayout*>(layout());
    const int at = box->indexOf(m_summaryLabel) + 1;
    box->insertWidget(at, charsetLabel);
    box->insertLayout(at + 1, row);
    connect(m_codePageCombo, &QComboBox::currentIndexChanged, this,
            [this, reread = std::move(reread)](int index) {
                const Entries read = reread(index);
                setEntries(read.entries, read.onPage);
            });
}

int ContactsImportDialog::chosenPage() const
{
    return m_pageCombo ? m_pageCombo->currentIndex() : -1;
}

void ContactsImportDialog::proposeReplacing(const QString& name, const QString& pageTitle)
{
    m_summaryLabel->setText(m_text(TextId::CardDavReplaceSummary).arg(name, pageTitle));
    m_okButton->setText(m_text(TextId::CardDavReplace));
}

void ContactsImportDialog::proposeRemoving()
{
    m_summaryLabel->setText(m_text(TextId::CardDavRemoveSummary).arg(QString::number(m_count)));
    m_okButton->setText(m_text(TextId::CardDavRemove));
}
