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

    auto* lblWhat = new QLabel(BuiltInTexts::text(TextId::FindWhat), this);
    lblWhat->setObjectName(QStringLiteral("lblWhat"));
    m_txtWhat = new CueTextBox(this);
    m_txtWhat->setObjectName(QStringLiteral("txtWhat"));
    lblWhat->setBuddy(m_txtWhat);
    m_chkWholeWord = new QCheckBox(BuiltInTexts::text(TextId::FindWholeWord), this);
    m_chkWholeWord->setObjectName(QStringLiteral("chkWholeWord"));
    m_chkMatchCase = new QCheckBox(BuiltInTexts::text(TextId::FindMatchCase), this);
    m_chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    m_chkAllPages = new QCheckBox(BuiltInTexts::text(TextId::FindAllPages), this);
    m_chkAllPages->setObjectName(QStringLiteral("chkAllPages"));
    // Off by default: the search matches letter for letter unless asked to forgive.
    m_chkYo = new QCheckBox(BuiltInTexts::text(TextId::FindYoAsYe), this);
    m_chkYo->setObjectName(QStringLiteral("chkYo"));
    m_chkDigits = new QCheckBox(BuiltInTexts::text(TextId::FindDigitsOnly), this);
    m_chkDigits->setObjectName(QStringLiteral("chkDigits"));
    auto* cmdFind = new QPushButton(BuiltInTexts::text(TextId::FindNext), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdFind->setDefault(true);
    auto* cmdCancel = new QPushButton(BuiltInTexts::text(TextId::FindCancel), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblWhat, 0, 0);
    grid->addWidget(m_txtWhat, 0, 1);
    auto* checks = new QVBoxLayout;
    checks->addWidget(m_chkWholeWord);
    checks->addWidget(m_chkMatchCase);
    checks->addWidget(m_chkAllPages);
    checks->addWidget(m_chkYo);
    checks->addWidget(m_chkDigits);
    grid->addLayout(checks, 1, 0, 2, 2);
    grid->addWidget(cmdFind, 0, 2);
    grid->addWidget(cmdCancel, 1, 2, Qt::AlignTop);
    grid->setColumnMinimumWidth(1, 200);

    if (localize)
        localize(this);
    m_txtWhat->setCueBanner(m_text(TextId::FindWhatCue));

    // A new sample or option starts the search afresh from the caret.
    connect(m_txtWhat, &QLineEdit::textChanged, this, [this] { m_walk.reset(); });
    for (QCheckBox* box : {m_chkWholeWord, m_chkMatchCase, m_chkAllPages, m_chkYo, m_chkDigits})
        connect(box, &QCheckBox::clicked, this, [this] { m_walk.reset(); });
    connect(cmdFind, &QPushButton::clicked, this, &FindDialog::onFind);
    connect(cmdCancel, &QPushButton::clicked, this, &FindDialog::close);
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
    return (m_chkMatchCase->isChecked() ? TextFinder::matchCase : 0) |
           (m_chkWholeWord->isChecked() ? TextFinder::wholeWord : 0) |
           (m_chkYo->isChecked() ? TextFinder::yoAsYe : 0) |
           (m_chkDigits->isChecked() ? TextFinder::digitsOnly : 0);
}

void FindDialog::onFind()
{
    const QString sample = m_txtWhat->text();
    if (sample.isEmpty()) {
        showEnterSomething();
        return;
    }
    if (m_walk.findNext(sample, options(), m_chkAllPages->isChecked()) ==
        SearchWalk::Result::Completed)
        m_messages.show(m_text(TextId::FindCompleted), MessageService::Icon::Information);
}

void FindDialog::showEnterSomething()
{
    m_txtWhat->setBalloonTipIcon(BalloonTip::Icon::Information);
    m_txtWhat->setBalloonTipTitle(m_text(TextId::FindEnterSomethingTitle));
    m_txtWhat->setBalloonTipText(m_text(TextId::FindEnterSomething));
    m_txtWhat->showBalloonTip();
}
