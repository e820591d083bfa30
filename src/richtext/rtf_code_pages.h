#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <array>
#include <memory>

// Byte-to-character decoding for the code pages RTF text may use. Single-byte
// code pages decode through a table built once per reader; double-byte ones
// (Chinese, Japanese, Korean) need whole byte runs.
class RtfCodePages
{
public:
    using Table = std::array<char16_t, 256>;

    static constexpr int Default = 1252;

    // The code page of a \fcharset value, or ansiCodePage when it has none.
    static int fromCharset(int charset, int ansiCodePage);
    static bool isDoubleByte(int codePage);
    // Whether the byte starts a two-byte character in the double-byte code page.
    static bool isLeadByte(int codePage, unsigned char lead);

    const Table& table(int codePage);
    static QString decodeDoubleByte(int codePage, QByteArrayView bytes);

private:
    static Table buildTable(int codePage);

    QHash<int, std::shared_ptr<Table>> m_tables;
};
