#include "ui/qt_message_service.h"

#include "core/app_info.h"

#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <vector>

namespace {

QMessageBox::Icon boxIcon(MessageService::Icon icon)
{
    switch (icon) {
    case MessageService::Icon::Information:
        return QMessageBox::Information;
    case MessageService::Icon::Exclamation:
        return QMessageBox::Warning;
    case MessageService::Icon::Critical:
        return QMessageBox::Critical;
    case MessageService::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString plain(const QString& text)
{
    return QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

int runBox(QWidget* parent, const QString& text, MessageService::Icon icon, const QString& title,
           QMessageBox::StandardButtons buttons,
           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton)
{
    QMessageBox box(boxIcon(icon), title.isEmpty() ? AppInfo::title() : title, plain(text), buttons,
                    parent);
    // Messages quote page titles and file names; never read them as markup.
    box.setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return box.exec();
}

} // namespace

QtMessageService::QtMessageService(QWidget* parent) : m_parent(parent) {}

void QtMessageService::show(const QString& text, Icon icon, const QString& title)
{
    runBox(m_parent, text, icon, title, QMessageBox::Ok);
}

bool QtMessageService::ask(const QString& text, const QString& title)
{
    return runBox(m_parent, text, Icon::Exclamation, title, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool QtMessageService::askDefaultNo(const QString& text)
{
    return runBox(m_parent, text, Icon::Exclamation, {}, QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::No) == QMessageBox::Yes;
}

int QtMessageService::choose(const QString& text, const QStringList& choices)
{
    QMessageBox box(QMessageBox::Warning, AppInfo::title(), plain(text), QMessageBox::NoButton,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    std::vector<QAbstractButton*> buttons;
    for (const QString& choice : choices)
        buttons.push_back(box.addButton(choice, QMessageBox::AcceptRole));
    if (!buttons.empty())
        box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
    box.exec();
    const auto taken = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return taken == buttons.end() ? -1 : static_cast<int>(taken - buttons.begin());
}
