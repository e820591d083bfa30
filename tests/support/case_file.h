#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <gtest/gtest.h>
#include <string>

// Cases kept as data under tests/data: each starts with a line "=== name", its
// parts follow one another with a line "---" between them. A part keeps its
// bytes, lines joined by "\n" (a blank last line gives a line end at its
// end); what comes before the first case says what the file is for.
struct DataCase
{
    std::string name;
    QList<QByteArray> parts;

    QString text(qsizetype i) const { return QString::fromUtf8(parts.value(i)); }
    // The line ends the program writes.
    QString lines(qsizetype i) const { return text(i).replace(u'\n', QLatin1StringView("\r\n")); }
    // Bytes a line cannot hold (NUL, CR, a lone high byte) written as \xNN;
    // any other backslash stays, as RTF needs it.
    QByteArray bytes(qsizetype i) const
    {
        static const QRegularExpression escape(QStringLiteral("\\\\x([0-9A-Fa-f]{2})"));
        QByteArray out;
        const QString part = QString::fromLatin1(parts.value(i));
        qsizetype done = 0;
        for (const QRegularExpressionMatch& m : escape.globalMatch(part)) {
            out += parts.value(i).mid(done, m.capturedStart() - done);
            out += char(m.captured(1).toInt(nullptr, 16));
            done = m.capturedEnd();
        }
        return out + parts.value(i).mid(done);
    }
};

inline QList<DataCase> readCases(const char* name)
{
    QFile file(QStringLiteral(VELKARO_TEST_DATA "/") + QLatin1StringView(name));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << name;
        return {};
    }
    QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    QList<DataCase> cases;
    QList<QList<QByteArray>> parts;
    const auto close = [&cases, &parts] {
        for (const QList<QByteArray>& part : std::as_const(parts))
            cases.last().parts.append(part.join('\n'));
        parts.clear();
    };
    for (const QByteArray& line : std::as_const(lines)) {
        if (line.startsWith("=== ")) {
            if (!cases.isEmpty())
                close();
            cases.append({line.sliced(4).toStdString(), {}});
            parts = {{}};
        } else if (!cases.isEmpty()) {
            if (line == "---")
                parts.append(QList<QByteArray>());
            else
                parts.last().append(line);
        }
    }
    if (!cases.isEmpty())
        close();
    EXPECT_FALSE(cases.isEmpty()) << name;
    return cases;
}
