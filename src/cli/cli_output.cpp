#include "cli/cli_output.h"

#include <cstdio>

void CliOutput::out(const QString& text)
{
    outBytes(text.toUtf8());
}

void CliOutput::outBytes(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

void CliOutput::err(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}
