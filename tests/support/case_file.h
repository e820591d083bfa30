#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
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
