#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// Reads single values from a Windows-style INI file with the rules of the
// platform's profile-string reader: section and key names match without
// regard to case, the first section of a name and the first key of a name
// win, ";" starts a comment line, whitespace around names and values and one
// pair of enclosing quotes are dropped, and a value is cut at 1023
// characters. The file is Windows-1251, or UTF-8 when it starts with a
// UTF-8 byte-order mark.
class IniFile
{
public:
    static constexpr qsizetype maxValueLength = 1023;

    // Reads the file afresh, so an edited file takes effect at once; the
    // default when the file, the section or the key is missing.
    static QString readString(const QString& path, QStringView section, QStringView key,
                              const QString& defaultValue);
    // The same, nothing when the file, the section or the key is missing.
    static std::optional<QString> read(const QString& path, QStringView section,
                                       QStringView key);

    // The raw value, before the length cut; nothing when the key is missing.
    static std::optional<QString> findValue(QByteArrayView content, QStringView section,
                                            QStringView key);

private:
    static QString trimSpaces(const QString& text);
};
