#pragma once

#include <QStringView>

// Every text the program shows that no window design carries: messages,
// captions set from code and the choices of questions. Each has its section
// and key in "language.ini" and its built-in Russian default; "\n" in a
// default is a line break, as in a translation. Nothing else spells these
// texts, so a translator finds every one of them here.
enum class TextId
{
    CommonOk,
    CommonCancel,
    TipFailure,

    MainSave,
    MainRevert,
    MainExit,
    MainTipPlaceholder,
    MainSavedTip,
    MainUnsavedTip,
    MainInsert,
    MainOverwrite,
    TextUndo,
    TextCut,
    TextCopy,
    TextPaste,
    TextSelectAll,
    TextSize,
    TextColor,
    TextStyle,
    TextStylesEmpty,
    TextBold,
    TextItalics,
    TextUnderline,
    TextStrikeout,
    TextFont,
    TextColorOther,
    StatusHideTip,
    StatusHideBar,
    MainAdd,
    MainSort,
    MainRename,
    MainDelete,
    MainUp,
    MainDown,
    MainConvert,
    MainConvertAddress,
    MainConvertText,
    MainImport,
    MainFind,
    NewPage,
    NewPageTitle,
    NewPageDef,
    DeletePageConfirm,
    RenamePagePrompt,
    CommonRename,
    ImportTitle,
    ImportFilter,
    TitleLeadingTilde,
    TitleApostrophes,
    TitleNoCodePage,
    BookFull,
    SortLosesFormatting,
    ImportUnreadable,
    ImportNotAFile,
    ImportTooLarge,
    FontNameNotStorable,

    PasswordLabel,
    PasswordMask,
    PasswordOk,
    PasswordCancel,
    PasswordExit,
    PasswordLoginCaption,
    PasswordChangeCaption,
    InvalidPass,
    EmptyPassWarn,
    UnsupportedPassChars,

    AboutCaption,
    AboutVersion,
    AboutDescription,
    AboutMailMe,
    AboutMailMeLeft,
    AboutMailMeTop,
    AboutMailLink,
    AboutMailSubject,
    AboutMailBody,
    AboutDisclaimer,
    AboutOk,
    AboutAppInfoScreen,
    AboutThanksScreen,
    AboutAlpha,
    AboutBeta,
    AboutThanks,
    AboutComments,
    AboutCompanyName,
    AboutFileDescription,
    AboutLegalCopyright,
    AboutLegalTrademarks,
    AboutYes,
    AboutNo,
    AboutLogOn,
    AboutLogOff,
    FindCaption,
    FindWhat,
    FindWholeWord,
    FindMatchCase,
    FindAllPages,
    FindNext,
    FindCancel,
    FindWhatCue,
    FindEnterSomethingTitle,
    FindEnterSomething,
    FindCompleted,
    FindYoAsYe,
    FindDigitsOnly,

    DamagedPassword,
    UnreadableBookKept,
    UnreadableReason,
    TrailingDataKept,
    RescueCopyKept,
    SaveFailedWindowKept,
    UnencodableCharacters,
    BadSetting,
    BadLastIntPage,
    BookChangedOnDisk,
    BookChangedReload,
    BookChangedKeepBoth,
    BookChangedOverwrite,
    BookChangedKeptBoth,
    ShutdownNotices,
    StylesNotSaved,
    StylesUnreadableKept,

    UnstorableStyleName,
    UnstorableStyleFont,

    MainPrint,
    MainHelp,
    MainAbout,
    PrintFailed,
    HelpCaption,
    HelpFailure,
    HelpCopy,

    Count // not a text: the number of texts
};

struct BuiltInText
{
    TextId id;
    QStringView section;
    QStringView key;
    QStringView text;
};

namespace BuiltInTexts {

const BuiltInText& entry(TextId id);
// The default with its "\n" pairs as line breaks, for a caption set before
// a window is localized.
QString text(TextId id);

} // namespace BuiltInTexts
