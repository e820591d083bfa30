#pragma once

#include "rules/command.h"

#include <functional>
#include <map>

// What each command does: the command object that carries a command out
// binds its handler here, once. The window hands every command it does not
// carry out itself to `run`, after its one check of the page rule.
class CommandHandlers
{
public:
    using Handler = std::function<void()>;
    // For the commands with an argument: the page of OpenPage, the style
    // (from 1) of ApplyStyle.
    using HandlerOf = std::function<void(int argument)>;

    void bind(Command command, Handler handler);
    void bindWithArgument(Command command, HandlerOf handler);
    // False when no handler is bound to `command`.
    bool run(Command command, int argument) const;

private:
    std::map<Command, HandlerOf> m_handlers;
};
