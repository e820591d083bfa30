#include "dialogs/find_dialog.h"

#include "core/message_service.h"
#include "richtext/text_finder.h"
#include "ui/cue_text_box.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FindDialog::FindDialog(SearchTarget& target, MessageService& messages, TextLookup text,
                       const FormLocalize& localize, QWidget* parent)
    : QDialog(parent), m_walk(target), m_messages(messages), m_text(std::move(text))
{
    setObjectName(QStringLiteral("frmFind"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(BuiltInTexts::text(TextId::FindCaption));

    auto* whatLabel = new QLabel(BuiltInTexts::text(TextId::FindWhat), this);
    whatLabel->setObjectName(QStringLiteral("lblWhat"));
    m_whatEdit = new CueTextBox(this);
    m_whatEdit->setObjectName(QStringLiteral("txtWhat"));
    whatLabel->setBuddy(m_whatEdit);
    m_wholeWordCheck = new QCheckBox(BuiltInTexts::text(TextId::FindWholeWord), this);
    m_wholeWordCheck->setObjectName(QStringLiteral("chkWholeWord"));
    m_matchCaseCheck = new QCheckBox(BuiltInTexts::text(TextId::FindMatchCase), this);
    m_matchCaseCheck->setObjectName(QStringLiteral("chkMatchCase"));
    m_allPagesCheck = new QCheckBox(BuiltInTexts::text(TextId::FindAllPages), this);
    m_allPagesCheck->setObjectName(QStringLiteral("chkAllPages"));
    // Off by default: the search matches letter for letter unless asked to forgive.
    m_yoCheck = new QCheckBox(BuiltInTexts::text(TextId::FindYoAsYe), this);
    m_yoCheck->setObjectName(QStringLiteral("chkYo"));
    m_digitsCheck = new QCheckBox(BuiltInTexts::text(TextId::FindDigitsOnly), this);
    m_digitsCheck->setObjectName(QStringLiteral("chkDigits"));
    auto* findButton = new QPushButton(BuiltInTexts::text(TextId::FindNext), this);
    findButton->setObjectName(QStringLiteral("cmdFind"));
    findButton->setDefault(true);
    auto* cancelButton = new QPushButton(BuiltInTexts::text(TextId::FindCancel), this);
    cancelButton->setObjectName(QStringLiteral("cmdCancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(whatLabel, 0, 0);
    grid->addWidget(m_whatEdit, 0, 1);
    auto* checks = new QVBoxLayout;
    checks->addWidget(m_wholeWordCheck);
    checks->addWidget(m_matchCaseCheck);
    checks->addWidget(m_allPagesCheck);
    checks->addWidget(m_yoCheck);
    checks->addWidget(m_digitsCheck);
    grid->addLayout(checks, 1, 0, 2, 2);
    grid->addWidget(findButton, 0, 2);
    grid->addWidget(cancelButton, 1, 2, Qt::AlignTop);
    grid->setColumnMinimumWidth(1, 200);

    if (localize)
        localize(this);
    m_whatEdit->setCueBanner(m_text(TextId::FindWhatCue));

    // A new sample or option starts the search afresh from the caret.
    connect(m_whatEdit, &QLineEdit::textChanged, this, [this] { m_walk.reset(); });
    for (QCheckBox* box :
         {m_wholeWordCheck, m_matchCaseCheck, m_allPagesCheck, m_yoCheck, m_digitsCheck})
        connect(box, &QCheckBox::clicked, this, [this] { m_walk.reset(); });
    connect(findButton, &QPushButton::clicked, this, &FindDialog::onFind);
    connect(cancelButton, &QPushButton::clicked, this, &FindDialog::close);
}

void FindDialog::bringForward()
{
    show();
    raise();
    activateWindow();
}

void FindDialog::pageListChanged()
{
    m_walk.reset();
}

int FindDialog::options() const
{
    return (m_matchCaseCheck->isChecked() ? TextFinder::matchCase : 0) |
           (m_wholeWordCheck->isChecked() ? TextFinder::wholeWord : 0) |
           (m_yoCheck->isChecked() ? TextFinder::yoAsYe : 0) |
           (m_digitsCheck->isChecked() ? TextFinder::digitsOnly : 0);
}

void FindDialog::onFind()
{
    const QString sample = m_whatEdit->text();
    if (sample.isEmpty()) {
        showEnterSomething();
        return;
    }
    if (m_walk.findNext(sample, options(), m_allPagesCheck->isChecked()) ==
        SearchWalk::Result::Completed)
        m_messages.show(m_text(TextId::FindCompleted), MessageService::Icon::Information);
}

void FindDialog::showEnterSomething()
{
    m_whatEdit->setBalloonTipIcon(BalloonTip::Icon::Information);
    m_whatEdit->setBalloonTipTitle(m_text(TextId::FindEnterSomethingTitle));
    m_whatEdit->setBalloonTipText(m_text(TextId::FindEnterSomething));
    m_whatEdit->showBalloonTip();
}
