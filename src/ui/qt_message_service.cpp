#include "ui/qt_message_service.h"

#include "core/app_info.h"

#include <QMessageBox>

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

int runBox(QWidget* parent, const QString& text, MessageService::Icon icon, const QString& title,
           QMessageBox::StandardButtons buttons)
{
    QMessageBox box(boxIcon(icon), title.isEmpty() ? AppInfo::title() : title,
                    QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")), buttons,
                    parent);
    // Messages quote page titles and file names; never read them as markup.
    box.setTextFormat(Qt::PlainText);
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
