#pragma once

// A failed assertion, or a note streamed after one, shows Qt's strings and
// byte arrays as text.

#include <QByteArray>
#include <QString>
#include <ostream>

inline std::ostream& operator<<(std::ostream& out, const QString& text)
{
    return out << '"' << text.toStdString() << '"';
}

inline std::ostream& operator<<(std::ostream& out, const QByteArray& bytes)
{
    return out << '"' << bytes.toStdString() << '"';
}
