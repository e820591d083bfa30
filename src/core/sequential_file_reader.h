#pragma once

#include "core/bounded_file.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// Reads fields the way the classic BASIC "Input #" statement reads a sequential
// file; the notes files of version 3.0 and the first line of the help topic
// list are written in that syntax.
//
// - A field ends at a comma or a line end (CR LF, LF or CR); a blank line is an
//   empty field.
// - Spaces before a field are skipped. Tabs are content: address pages line
//   their columns up with them, and a continuation line starts with one.
// - A field that starts with a double quote runs to the next double quote,
//   commas and line breaks included; the quotes are not part of it. Without a
//   closing quote it runs to the end of the text.
// - After the closing quote, spaces are skipped and a comma or line end there
//   is the field's separator. Any other character starts the next field, so
//   "1,2""X" is the two fields 1,2 and X, as "Input #" reads it.
// - An unquoted field runs to the next comma or line end; its trailing spaces
//   are dropped, as "Input #" drops them.
class SequentialFileReader
{
public:
    explicit SequentialFileReader(QString text);

    // UTF-8 when the bytes start with its byte-order mark, else Windows-1251,
    // the code page every file of the earlier versions was written in.
    static QString decode(QByteArrayView bytes);

    // Every field of the file at `path`, read through BoundedFile with the
    // ceiling `maxBytes`. nullopt, with what went wrong in `failure`, when the
    // file cannot be read or is over the ceiling.
    static std::optional<QStringList> readFields(const QString& path, qint64 maxBytes,
                                                 BoundedFile::Result* failure = nullptr);

    // No field is left; a text that ends with a separator has no empty field after it.
    bool atEnd() const { return m_pos >= m_text.size(); }
    // The next field; an empty string at the end.
    QString readField();
    // The rest of the current line as it stands, quotes, commas and spaces
    // included, as "Line Input #" reads it; its line end is consumed.
    QString readLine();

private:
    QString readQuoted();
    QString readUnquoted();
    void skipSpaces();
    bool isLineEnd() const;
    // Consumes one comma or line end at the current position, if there is one.
    void takeSeparator();
    void takeLineEnd();

    QString m_text;
    qsizetype m_pos = 0;
};
