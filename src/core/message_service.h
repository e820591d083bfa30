#pragma once

#include "core/app_error.h"

#include <QString>
#include <QStringList>

// Every message box of the program goes through this interface, so logic below
// the widgets can report and ask, and tests can read the text and answer.
class MessageService
{
public:
    enum class Icon
    {
        None,
        Information,
        Exclamation,
        Critical
    };

    virtual ~MessageService() = default;

    // An OK-only box; an empty title means the application title.
    virtual void show(const QString& text, Icon icon = Icon::None, const QString& title = {}) = 0;
    // A Yes/No question with the exclamation icon; true for Yes.
    virtual bool ask(const QString& text, const QString& title = {}) = 0;
    // The same with No as the default answer, for a step that throws work away.
    virtual bool askDefaultNo(const QString& text) { return ask(text); }
    // A question with the given choices (the first is the default); the index
    // of the one taken, or -1 when the box was closed without a choice.
    virtual int choose(const QString& text, const QStringList& choices) = 0;

    // The standard error message: description, " (", number, ")", CR LF,
    // "in Velkaro." + module + "." + procedure + " ".
    static QString formatError(const AppError& error, const QString& module,
                               const QString& procedure)
    {
        return QStringLiteral("%1 (%2)\r\nin Velkaro.%3.%4 ")
            .arg(error.description, QString::number(error.number), module, procedure);
    }
};
