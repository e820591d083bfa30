#include "rules/page_keys.h"
#include "unit_test.h"

namespace {

using Command = PageKeys::Command;
using Action = PageKeys::Action;

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr PageKeys::KeyCodes kX11 = PageKeys::KeyCodes::X11;

PageKeys::Book book(int current, int count, int lastIntPage = 14, const QString& shortcuts = {})
{
    return {current, count, lastIntPage, shortcuts};
}

Action alt(int qtKey, const PageKeys::Book& b)
{
    return PageKeys::windowKey(qtKey, kAlt, PageKeys::virtualKey(qtKey, 0, 0, kX11), b);
}

} // namespace

TEST(PageKeys, PhysicalKeysAreTheSameWhateverTheLayoutAndAltArrowsWrapOrMovePages)
{
    // X11 key codes of F, comma, semicolon and the apostrophe key.
    EXPECT_EQ(PageKeys::virtualKey(0x0410, 41, 0, kX11), 'F');
    EXPECT_EQ(PageKeys::virtualKey(0x0411, 59, 0, kX11), 188);
    EXPECT_EQ(PageKeys::virtualKey(0, 48, 0, kX11), 222);
    // Without a scan code the Russian letters are read by their place.
    EXPECT_EQ(PageKeys::virtualKey(0x0431, 0, 0, kX11), 188); // б
    EXPECT_EQ(PageKeys::virtualKey(0x0401, 0, 0, kX11), 192); // Ё
    EXPECT_EQ(PageKeys::virtualKey(Qt::Key_F5, 0, 0, kX11), 0);
    // Alt with an arrow wraps; Alt with a page key moves the page.
    EXPECT_EQ(alt(Qt::Key_Up, book(1, 20)), (Action{Command::OpenPage, 20}));
    EXPECT_EQ(alt(Qt::Key_Down, book(5, 20)), (Action{Command::OpenPage, 6}));
    EXPECT_EQ(alt(Qt::Key_PageUp, book(16, 20)).command, Command::MovePageUp);
    EXPECT_EQ(alt(Qt::Key_PageDown, book(19, 20)).command, Command::MovePageDown);
}

TEST(PageKeys, WindowsKeysAreReadFromTheVirtualKeyNotFromTheScanCode)
{
    // Windows scan codes name other keys in the X11 table (0x1E, the A key,
    // would read as U there); the virtual key is the physical key already.
    struct Case
    {
        const char* what;
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        quint32 scanCode;
        quint32 virtualKey;
        Action expected;
    };
    const Case cases[] = {
        {"Alt+A, US layout", Qt::Key_A, kAlt, 0x1E, 'A', {Command::OpenPage, 10}},
        {"Alt+Ф, the same key", 0x0424, kAlt, 0x1E, 'A', {Command::OpenPage, 10}},
        {"Alt+А, the F key", 0x0410, kAlt, 0x21, 'F', {Command::OpenPage, 1}},
        {"Alt+1", Qt::Key_1, kAlt, 0x02, '1', {Command::OpenPage, 15}},
        {"Alt+1 of the number pad", Qt::Key_1, kAlt, 0x4F, 0x61, {Command::OpenPage, 15}},
        {"Ctrl+S", Qt::Key_S, kCtrl, 0x1F, 'S', {Command::Save}},
    };
    for (const Case& c : cases) {
        const int key =
            PageKeys::virtualKey(c.qtKey, c.scanCode, c.virtualKey, PageKeys::KeyCodes::Windows);
        EXPECT_EQ(PageKeys::windowKey(c.qtKey, c.modifiers, key, book(3, 20)), c.expected)
            << c.what;
    }
}

TEST(PageKeys, AltLettersOpenTheLetterPagesDigitsTheUserPagesOrWhatTheShortcutsEntrySays)
{
    const PageKeys::Book b = book(3, 20);
    EXPECT_EQ(alt(Qt::Key_F, b), (Action{Command::OpenPage, 1}));
    EXPECT_EQ(alt(0x0411, b), (Action{Command::OpenPage, 1})) << "Б on the comma key";
    EXPECT_EQ(alt(Qt::Key_Period, b), (Action{Command::OpenPage, 14}));
    EXPECT_EQ(alt(Qt::Key_1, b), (Action{Command::OpenPage, 15}));
    EXPECT_EQ(alt(Qt::Key_6, b), (Action{Command::OpenPage, 20}));
    // An Alt key that opens no page does nothing, and types nothing either.
    const Action nothing{Command::Ignore};
    EXPECT_EQ(alt(Qt::Key_7, b), nothing) << "past the last page";
    EXPECT_EQ(alt(Qt::Key_Q, b), nothing) << "Й names no page";
    EXPECT_EQ(PageKeys::windowKey(Qt::Key_Q, kAlt | kShift, 'Q', b), nothing);
    EXPECT_EQ(PageKeys::windowKey(Qt::Key_Q, kAlt | kCtrl, 'Q', b), Action{}) << "AltGr types";
    // The one-page fallback book: a letter key names no page there.
    EXPECT_EQ(alt(Qt::Key_D, book(1, 1)), nothing);
    // The shortcuts entry replaces letters and digits; spaces around its items are allowed.
    const PageKeys::Book custom = book(1, 20, 14, u" 70, 188 : 68,85 "_qs);
    EXPECT_EQ(alt(Qt::Key_Comma, custom), (Action{Command::OpenPage, 1}));
    EXPECT_EQ(alt(Qt::Key_U, custom), (Action{Command::OpenPage, 2}));
    // A later group wins; an item that is no number is skipped; no page past the end.
    EXPECT_EQ(alt(Qt::Key_F, book(1, 20, 14, u"70:x,70"_qs)), (Action{Command::OpenPage, 2}));
    EXPECT_EQ(alt(Qt::Key_F, book(1, 1, 14, u"68:70"_qs)), Action{Command::Ignore});
}

TEST(PageKeys, FunctionKeysGiveTheirCommandsAndTheEditorsKeysGiveShortcutsAndStyles)
{
    const auto key = [](int qtKey, Qt::KeyboardModifiers modifiers, int current) {
        return PageKeys::windowKey(qtKey, modifiers, 0, book(current, 20)).command;
    };
    EXPECT_EQ(key(Qt::Key_F5, kNone, 14), Command::AddPage);
    EXPECT_EQ(key(Qt::Key_F8, kNone, 15), Command::DeletePage);
    EXPECT_EQ(key(Qt::Key_F5, kCtrl, 14), Command::None) << "no shift key means none";
    EXPECT_EQ(key(Qt::Key_Escape, kCtrl | kShift, 1), Command::Exit);
    EXPECT_EQ(key(Qt::Key_F1, kShift, 1), Command::About);
    EXPECT_EQ(key(Qt::Key_F10, kShift, 1), Command::EditorMenu);
    EXPECT_EQ(key(Qt::Key_S, kCtrl | kShift, 1), Command::None);
    EXPECT_EQ(PageKeys::windowKey(Qt::Key_Insert, kNone, 0, book(1, 14)),
              (Action{Command::ToggleInsert, 0, true}));
    // The editor's own shortcuts and styles.
    EXPECT_EQ(PageKeys::editorKey(Qt::Key_B, kCtrl), (Action{Command::Bold}));
    EXPECT_EQ(PageKeys::editorKey(Qt::Key_3, kCtrl), (Action{Command::ApplyStyle, 3}));
    EXPECT_EQ(PageKeys::editorKey(Qt::Key_0, kCtrl), (Action{Command::ApplyStyle, 10}));
    EXPECT_EQ(PageKeys::editorKey(Qt::Key_Z, kCtrl | kShift), Action{});
    EXPECT_EQ(PageKeys::editorKey(Qt::Key_B, kNone), Action{});
}
