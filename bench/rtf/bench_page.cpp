#include "bench_page.h"

#include "core/code_page.h"

#include <QString>
#include <QStringList>
#include <random>

namespace {

const QStringList kSurnames = {QStringLiteral("Иванов"),    QStringLiteral("Петрова"),
                               QStringLiteral("Сидоренко"), QStringLiteral("Кузнецов"),
                               QStringLiteral("Смирнова"),  QStringLiteral("Соловьёв"),
                               QStringLiteral("Фёдоров"),   QStringLiteral("Жуковская"),
                               QStringLiteral("Щербаков"),  QStringLiteral("Ёлкин")};
const QStringList kNames = {QStringLiteral("Иван"), QStringLiteral("Мария"),
                            QStringLiteral("Пётр"), QStringLiteral("Анна"),
                            QStringLiteral("Юрий"), QStringLiteral("Екатерина"),
                            QStringLiteral("Олег"), QStringLiteral("Наталья")};

void appendEscaped(QByteArray& out, const QString& text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    for (const char c : CodePage::encodeLossy(text)) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.append(c);
            continue;
        }
        out.append("\\'");
        out.append(kHex[b >> 4]);
        out.append(kHex[b & 0xF]);
    }
}

} // namespace

QByteArray BenchPage::generate(qsizetype minimumBytes)
{
    std::minstd_rand random(1049);
    const auto pick = [&random](const QStringList& list) {
        return list.at(qsizetype(random() % list.size()));
    };
    QByteArray out;
    out.reserve(minimumBytes + 1024);
    out.append("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fnil\\fcharset204 "
               "Tahoma;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\r\n"
               "\\viewkind4\\uc1\\pard\\tx300\\tx3325\\f0\\fs16 ");
    while (out.size() < minimumBytes) {
        const unsigned kind = random() % 8;
        if (kind == 0)
            out.append("\\b ");
        else if (kind == 1)
            out.append("\\cf1 ");
        appendEscaped(out, pick(kSurnames));
        if (kind == 0)
            out.append("\\b0 ");
        out.append(' ');
        appendEscaped(out, pick(kNames));
        out.append("\\tab ");
        out.append(QByteArray::number(qulonglong(100 + random() % 900)) + '-' +
                   QByteArray::number(qulonglong(10 + random() % 90)) + '-' +
                   QByteArray::number(qulonglong(10 + random() % 90)));
        if (kind == 1)
            out.append("\\cf0");
        out.append("\\par\r\n");
    }
    out.append("}\r\n");
    return out;
}
