#include "rules/page_keys.h"

#include "rules/command_table.h"

#include <QStringList>
#include <array>
#include <string_view>
#include <utility>

namespace {

using Command = PageKeys::Command;
using Action = PageKeys::Action;

constexpr int kVkComma = 188;
constexpr int kVkPeriod = 190;
constexpr int kVkSemicolon = 186;
constexpr int kVkBracketLeft = 219;
constexpr int kVkBracketRight = 221;
constexpr int kVkApostrophe = 222;
constexpr int kVkGrave = 192;
constexpr int kVkSlash = 191;

// Two keys for each built-in page, in page order: the keys that carry the
// letters of the titles "АБ" ... "ЮЯ" on the Russian layout.
constexpr std::array<std::pair<int, int>, 14> kLetterPageKeys{{
    {70, 188},
    {68, 85},
    {76, 84},
    {80, 186},
    {66, 82},
    {75, 86},
    {89, 74},
    {71, 72},
    {67, 78},
    {69, 65},
    {87, 219},
    {88, 73},
    {79, 222},
    {90, 190},
}};

// X11 key codes (evdev codes + 8) of the main block, by row, with the
// virtual key each position has on a US layout.
struct Row
{
    quint32 firstScanCode;
    std::array<int, 13> keys;
};
constexpr std::array<Row, 4> kRows{{
    {10, {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0, 0, 0}},
    {24, {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', kVkBracketLeft, kVkBracketRight, 0}},
    {38, {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', kVkSemicolon, kVkApostrophe, kVkGrave, 0}},
    {52, {'Z', 'X', 'C', 'V', 'B', 'N', 'M', kVkComma, kVkPeriod, kVkSlash, 0, 0, 0}},
}};

// The Russian layout, letter by letter on the keys of the US one.
constexpr std::u16string_view kRussianLetters = u"ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮЁ";
constexpr std::array<int, 33> kRussianKeys{'Q',
                                           'W',
                                           'E',
                                           'R',
                                           'T',
                                           'Y',
                                           'U',
                                           'I',
                                           'O',
                                           'P',
                                           kVkBracketLeft,
                                           kVkBracketRight,
                                           'A',
                                           'S',
                                           'D',
                                           'F',
                                           'G',
                                           'H',
                                           'J',
                                           'K',
                                           'L',
                                           kVkSemicolon,
                                           kVkApostrophe,
                                           'Z',
                                           'X',
                                           'C',
                                           'V',
                                           'B',
                                           'N',
                                           'M',
                                           kVkComma,
                                           kVkPeriod,
                                           kVkGrave};

int fromScanCode(quint32 scanCode)
{
    for (const Row& row : kRows) {
        if (scanCode >= row.firstScanCode && scanCode < row.firstScanCode + row.keys.size())
            return row.keys[scanCode - row.firstScanCode];
    }
    return 0;
}

// A Windows virtual key of the letter and digit keys of the main block, 0
// for any other key (the digits of the number pad come from the key).
int fromWindowsVirtualKey(quint32 virtualKey)
{
    const int key = static_cast<int>(virtualKey);
    const bool letterOrDigit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    const bool punctuation = (key >= kVkSemicolon && key <= kVkGrave) ||
                             (key >= kVkBracketLeft && key <= kVkApostrophe);
    return letterOrDigit || punctuation ? key : 0;
}

int fromQtKey(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    switch (key) {
    case Qt::Key_Comma:
        return kVkComma;
    case Qt::Key_Period:
        return kVkPeriod;
    case Qt::Key_Semicolon:
        return kVkSemicolon;
    case Qt::Key_BracketLeft:
        return kVkBracketLeft;
    case Qt::Key_BracketRight:
        return kVkBracketRight;
    case Qt::Key_Apostrophe:
        return kVkApostrophe;
    case Qt::Key_QuoteLeft:
        return kVkGrave;
    case Qt::Key_Slash:
        return kVkSlash;
    default:
        break;
    }
    if (key <= 0 || key > 0xFFFF)
        return 0;
    const QChar upper = QChar(char16_t(key)).toUpper();
    const auto at = kRussianLetters.find(upper.unicode());
    return at == std::u16string_view::npos ? 0 : kRussianKeys[at];
}

bool only(Qt::KeyboardModifiers modifiers, Qt::KeyboardModifiers wanted)
{
    return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == wanted;
}

int wrapped(int page, int count)
{
    if (page < 1)
        return count;
    return page > count ? 1 : page;
}

int fromShortcuts(int virtualKey, const QString& shortcuts)
{
    int target = 0;
    const QStringList groups = shortcuts.split(u':');
    for (int group = 0; group < groups.size(); ++group) {
        for (const QString& item : groups[group].split(u',')) {
            bool ok = false;
            if (item.trimmed().toInt(&ok) == virtualKey && ok)
                target = group + 1;
        }
    }
    return target;
}

Action altKey(int key, int virtualKey, const PageKeys::Book& book)
{
    const int c = book.current;
    const int n = book.count;
    switch (key) {
    case Qt::Key_Down:
        return {Command::OpenPage, wrapped(c + 1, n)};
    case Qt::Key_Up:
        return {Command::OpenPage, wrapped(c - 1, n)};
    default:
        break;
    }
    const int page = PageKeys::pageForAltKey(virtualKey, book);
    return page > 0 ? Action{Command::OpenPage, page} : Action{Command::Ignore};
}

QKeyCombination pressed(int qtKey, Qt::KeyboardModifiers modifiers)
{
    return QKeyCombination(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier),
                           Qt::Key(qtKey));
}

} // namespace

int PageKeys::virtualKey(int qtKey, quint32 nativeScanCode, quint32 nativeVirtualKey,
                         KeyCodes codes)
{
    const int fromNative = codes == KeyCodes::Windows ? fromWindowsVirtualKey(nativeVirtualKey)
                                                      : fromScanCode(nativeScanCode);
    return fromNative ? fromNative : fromQtKey(qtKey);
}

int PageKeys::pageForAltKey(int virtualKey, const Book& book)
{
    int page = 0;
    if (!book.shortcuts.isEmpty()) {
        page = fromShortcuts(virtualKey, book.shortcuts);
    } else if (virtualKey >= '1' && virtualKey <= '9') {
        page = book.lastIntPage + (virtualKey - '0');
    } else {
        for (std::size_t k = 0; k < kLetterPageKeys.size(); ++k) {
            if (kLetterPageKeys[k].first == virtualKey || kLetterPageKeys[k].second == virtualKey)
                page = static_cast<int>(k) + 1;
        }
    }
    return page >= 1 && page <= book.count ? page : 0;
}

PageKeys::Action PageKeys::windowKey(int qtKey, Qt::KeyboardModifiers modifiers, int virtualKey,
                                     const Book& book)
{
    if (qtKey == Qt::Key_Escape)
        return {Command::Exit};
    if (const Command command =
            CommandTable::byKey(pressed(qtKey, modifiers), CommandRow::KeyRoute::Window);
        command != Command::None)
        return {command};
    if (only(modifiers, Qt::NoModifier) && qtKey == Qt::Key_Menu)
        return {Command::EditorMenu};
    if (only(modifiers, Qt::NoModifier) && qtKey == Qt::Key_Insert)
        return {Command::ToggleInsert, 0, true};
    if (only(modifiers, Qt::AltModifier))
        return altKey(qtKey, virtualKey, book);
    // Alt makes a command key, also with Shift; with Ctrl it is AltGr on
    // Windows, which types the letters of some layouts.
    if (modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier))
        return {Command::Ignore};
    return {};
}

PageKeys::Action PageKeys::editorKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (const Command command =
            CommandTable::byKey(pressed(qtKey, modifiers), CommandRow::KeyRoute::Editor);
        command != Command::None)
        return {command};
    if (!only(modifiers, Qt::ControlModifier))
        return {};
    if (qtKey == Qt::Key_0)
        return {Command::ApplyStyle, 10};
    if (qtKey >= Qt::Key_1 && qtKey <= Qt::Key_9)
        return {Command::ApplyStyle, qtKey - Qt::Key_0};
    return {};
}
