#include "dialogs/replace_dialog.h"

#include "rules/file_size_text.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int kIconSize = 32;

QLabel* icon(QWidget* parent, QStyle::StandardPixmap picture, int index)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("imgIcon"));
    label->setProperty("Index", index);
    label->setPixmap(parent->style()->standardIcon(picture).pixmap(kIconSize));
    return label;
}

} // namespace

ReplaceDialog::ReplaceDialog(const QString& NewFile, const QString& OldFile, const TextLookup& text,
                             const FormLocalize& localize, QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmReplace"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(BuiltInTexts::text(TextId::ReplaceCaption));

    QLabel* label1 = addLabel("Label1", BuiltInTexts::text(TextId::ReplaceLabel1));
    QLabel* label2 = addLabel("Label2", BuiltInTexts::text(TextId::ReplaceLabel2));
    QLabel* newLabel = addLabel("lblNew", {});
    QLabel* label3 = addLabel("Label3", BuiltInTexts::text(TextId::ReplaceLabel3));
    QLabel* oldLabel = addLabel("lblOld", {});
    const std::pair<const char*, TextId> buttonTexts[] = {{"cmdYes", TextId::ReplaceYes},
                                                          {"cmdNo", TextId::ReplaceNo},
                                                          {"cmdCancel", TextId::ReplaceCancel}};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(BuiltInTexts::text(buttonTexts[i].second), this);
        button->setObjectName(QString::fromLatin1(buttonTexts[i].first));
        const auto result = static_cast<Result>(i + 1);
        connect(button, &QPushButton::clicked, this, [this, result] {
            m_result = result;
            accept();
        });
        buttons->addWidget(button);
    }

    auto* grid = new QGridLayout(this);
    grid->addWidget(icon(this, QStyle::SP_MessageBoxWarning, 0), 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(label1, 0, 1);
    grid->addWidget(label2, 1, 1);
    grid->addWidget(icon(this, QStyle::SP_FileIcon, 1), 2, 0, Qt::AlignTop);
    grid->addWidget(newLabel, 2, 1);
    grid->addWidget(label3, 3, 1);
    grid->addWidget(icon(this, QStyle::SP_FileIcon, 2), 4, 0, Qt::AlignTop);
    grid->addWidget(oldLabel, 4, 1);
    grid->addLayout(buttons, 5, 0, 1, 2);

    if (localize)
        localize(this);
    newLabel->setText(describeFile(NewFile, text));
    oldLabel->setText(describeFile(OldFile, text));
}

QLabel* ReplaceDialog::addLabel(const char* name, const QString& caption)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString ReplaceDialog::describeFile(const QString& path, const TextLookup& text)
{
    const QFileInfo file(path);
    const FileSizeText::Units units{text(TextId::ReplaceBytes), text(TextId::ReplaceKb),
                                    text(TextId::ReplaceMb), text(TextId::ReplaceGb),
                                    text(TextId::ReplaceTb)};
    return FileSizeText::formatFileSize(file.size(), units) + u'\n' + text(TextId::ReplaceDateMod) +
           u' ' + QLocale().toString(file.lastModified(), QLocale::ShortFormat);
}
