#include "dialogs/style_mask_dialog.h"

#include "styles/style.h"
#include "ui/form_localizer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

namespace {

// In the order of the mask's bits 1, 2, 4 ... 64.
constexpr std::array kItems{TextId::UnusedFont,   TextId::UnusedSize,      TextId::UnusedBold,
                            TextId::UnusedItalic, TextId::UnusedUnderline, TextId::UnusedStrikeout,
                            TextId::UnusedColor};

} // namespace

QStringList StyleMaskDialog::listItems(const QString& translated)
{
    const QStringList pieces = translated.isEmpty() ? QStringList() : translated.split(u'|');
    QStringList items;
    for (std::size_t i = 0; i < kItems.size(); ++i) {
        const qsizetype piece = static_cast<qsizetype>(i);
        items << (piece < pieces.size() ? pieces[piece] : BuiltInTexts::text(kItems[i]));
    }
    return items;
}

StyleMaskDialog::StyleMaskDialog(Style& CurrentStyle, const TextLookup& text,
                                 const FormLocalize& localize, QWidget* owner)
    : QDialog(owner), m_style(CurrentStyle)
{
    setObjectName(QStringLiteral("frmUnused"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(BuiltInTexts::text(TextId::UnusedCaption));

    auto* descriptionLabel = new QLabel(BuiltInTexts::text(TextId::UnusedDesc), this);
    descriptionLabel->setObjectName(QStringLiteral("lblDesc"));
    descriptionLabel->setWordWrap(true);
    m_attributeList = new QListWidget(this);
    m_attributeList->setObjectName(QStringLiteral("lstList"));
    descriptionLabel->setBuddy(m_attributeList);
    FormLocalizer::nameByLabel(descriptionLabel);
    auto* okButton = new QPushButton(BuiltInTexts::text(TextId::UnusedOk), this);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(BuiltInTexts::text(TextId::UnusedCancel), this);
    cancelButton->setObjectName(QStringLiteral("cmdCancel"));

    auto* column = new QVBoxLayout(this);
    column->addWidget(descriptionLabel);
    column->addWidget(m_attributeList);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    column->addLayout(buttons);

    if (localize)
        localize(this);
    const QStringList items = listItems(text(TextId::UnusedList));
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QListWidgetItem(items[i], m_attributeList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState((m_style.unused() & (1 << i)) ? Qt::Checked : Qt::Unchecked);
    }

    connect(okButton, &QPushButton::clicked, this, &StyleMaskDialog::onOk);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void StyleMaskDialog::onOk()
{
    int mask = 0;
    for (int i = 0; i < m_attributeList->count(); ++i) {
        if (m_attributeList->item(i)->checkState() == Qt::Checked)
            mask |= 1 << i;
    }
    m_style.setUnused(static_cast<qint16>(mask));
    accept();
}
