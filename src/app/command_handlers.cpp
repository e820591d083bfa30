#include "app/command_handlers.h"

void CommandHandlers::bind(Command command, Handler handler)
{
    bindWithArgument(command, [handler = std::move(handler)](int) { handler(); });
}

void CommandHandlers::bindWithArgument(Command command, HandlerOf handler)
{
    m_handlers[command] = std::move(handler);
}

bool CommandHandlers::run(Command command, int argument) const
{
    const auto found = m_handlers.find(command);
    if (found == m_handlers.end())
        return false;
    // A copy: the handler may bind anew while it runs.
    const HandlerOf handler = found->second;
    handler(argument);
    return true;
}
