#include "dialogs/input_box.h"

#include "core/twips.h"
#include "rules/input_box_layout.h"
#include "ui/page_fonts.h"
#include "ui/window_placement.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

constexpr int kFontPoints = 8;

// Rounded up, so the prompt converted back to pixels is never cut short.
int toTwips(int pixels)
{
    return static_cast<int>(std::ceil(Twips::fromPixels(pixels, WindowPlacement::logicalDpi())));
}

QRect toPixels(const QRect& twips)
{
    return Twips::toPixels(twips, WindowPlacement::logicalDpi());
}

} // namespace

InputBoxDialog::InputBoxDialog(const QString& prompt, const QString& title, const QString& preset,
                               const TextLookup& text, QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmInputBoxEx"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(QFont(PageFonts::defaultFamily(), kFontPoints));

    m_promptLabel = new QLabel(prompt, this);
    m_promptLabel->setObjectName(QStringLiteral("lblPrompt"));
    m_promptLabel->setTextFormat(Qt::PlainText);
    m_textEdit = new QLineEdit(preset, this);
    m_textEdit->setObjectName(QStringLiteral("txtText"));
    m_textEdit->installEventFilter(this);
    m_promptLabel->setBuddy(m_textEdit);
    m_okButton = new QPushButton(text(TextId::CommonOk), this);
    m_okButton->setObjectName(QStringLiteral("cmdOK"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(text(TextId::CommonCancel), this);
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    setWindowTitle(title);
    layOut();

    connect(m_okButton, &QPushButton::clicked, this, [this] {
        m_result = m_textEdit->text();
        accept();
    });
    // Cancel, like Esc and the frame, leaves `Result` empty.
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool InputBoxDialog::eventFilter(QObject* watched, QEvent* event)
{
    // However the text box gets the focus, typing replaces the whole text.
    if (watched == m_textEdit && event->type() == QEvent::FocusIn)
        m_textEdit->selectAll();
    return QDialog::eventFilter(watched, event);
}

// The one place where the layout in twips becomes pixels.
void InputBoxDialog::layOut()
{
    const QSize prompt = m_promptLabel->sizeHint();
    const InputBoxLayout::Geometry g =
        InputBoxLayout::fit(QSize(toTwips(prompt.width()), toTwips(prompt.height())));
    m_promptLabel->setGeometry(toPixels(g.prompt));
    m_textEdit->setGeometry(toPixels(g.text));
    m_okButton->setGeometry(toPixels(g.okButton));
    m_cancelButton->setGeometry(toPixels(g.cancelButton));
    setFixedSize(toPixels(QRect(QPoint(), g.clientSize)).size());
}

QString askText(const QString& prompt, const QString& title, const QString& preset, QWidget* owner,
                const InputBoxDialog::TextLookup& text)
{
    InputBoxDialog box(prompt, title, preset, text, owner);
    box.exec();
    return box.answer();
}
