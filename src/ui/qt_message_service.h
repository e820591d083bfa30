#pragma once

#include "core/message_service.h"

#include <QPointer>
#include <QWidget>

// The message service of the running program: modal message boxes over the
// window set as parent, titled with the application title unless a title is
// given.
class QtMessageService : public MessageService
{
public:
    explicit QtMessageService(QWidget* parent = nullptr);

    void setParentWindow(QWidget* parent) { m_parent = parent; }

    void show(const QString& text, Icon icon = Icon::None, const QString& title = {}) override;
    bool ask(const QString& text, const QString& title = {}) override;
    bool askDefaultNo(const QString& text) override;
    int choose(const QString& text, const QStringList& choices) override;

private:
    QPointer<QWidget> m_parent;
};
