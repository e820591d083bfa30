#pragma once

#include <QStringView>
#include <array>

// Every key the program keeps in the settings store. Nothing else spells a
// section or key name, so a renamed key cannot drift between reader and
// writer.
enum class OptionId
{
    ButtonWidth,
    Status,
    UseRtf,
    TipsDuration,
    AutosaveDuration,
    RecentPage,
    EnableSort,
    MoveToEnd,
    PageColor,
    TabStop,
    FilePath,
    Password,
};

enum class OptionType
{
    Float,
    Boolean,
    Int16,
    Int32,
    Text
};

struct OptionKey
{
    OptionId id;
    QStringView section;
    QStringView key;
    OptionType type;
    QStringView defaultText;
};

namespace OptionTable {

inline constexpr QStringView generalSection = u"Общие";
inline constexpr QStringView bookSection = u"Адресная книга";
inline constexpr QStringView editSection = u"Правка";
inline constexpr QStringView optionsSection = u"Options";
inline constexpr QStringView privacySection = u"Privacy";

// Indexed by OptionId.
inline constexpr std::array<OptionKey, 12> keys{{
    {OptionId::ButtonWidth, generalSection, u"ButtonWidth", OptionType::Float, u"600"},
    {OptionId::Status, generalSection, u"Status", OptionType::Boolean, u"True"},
    {OptionId::UseRtf, bookSection, u"UseRtf", OptionType::Boolean, u"True"},
    {OptionId::TipsDuration, generalSection, u"TipsDuration", OptionType::Int16, u"10"},
    {OptionId::AutosaveDuration, bookSection, u"AutosaveDuration", OptionType::Int16, u"5"},
    {OptionId::RecentPage, optionsSection, u"RecentPage", OptionType::Int16, u"1"},
    {OptionId::EnableSort, generalSection, u"EnableSort", OptionType::Boolean, u"False"},
    {OptionId::MoveToEnd, editSection, u"MoveToEnd", OptionType::Boolean, u"False"},
    // The system colour reference 0x80000005, the window background.
    {OptionId::PageColor, editSection, u"PageColor", OptionType::Int32, u"-2147483643"},
    {OptionId::TabStop, optionsSection, u"TabStop", OptionType::Float, u"3400"},
    {OptionId::FilePath, bookSection, u"FilePath", OptionType::Text, u""},
    {OptionId::Password, privacySection, u"Password", OptionType::Text, u""},
}};

constexpr const OptionKey& key(OptionId id)
{
    return keys[static_cast<std::size_t>(id)];
}

constexpr bool indexedById()
{
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (static_cast<std::size_t>(keys[i].id) != i)
            return false;
    }
    return true;
}
static_assert(indexedById(), "OptionTable::keys must follow the order of OptionId");

// Start-up reads the options in this order ...
inline constexpr std::array<OptionId, 11> readOrder{
    OptionId::ButtonWidth,      OptionId::Status,     OptionId::UseRtf,     OptionId::TipsDuration,
    OptionId::AutosaveDuration, OptionId::RecentPage, OptionId::EnableSort, OptionId::MoveToEnd,
    OptionId::PageColor,        OptionId::TabStop,    OptionId::FilePath,
};

// ... and shutdown writes them, with the enciphered password, in this one.
inline constexpr std::array<OptionId, 12> writeOrder{
    OptionId::ButtonWidth, OptionId::Status,       OptionId::Password,         OptionId::UseRtf,
    OptionId::FilePath,    OptionId::TipsDuration, OptionId::AutosaveDuration, OptionId::EnableSort,
    OptionId::RecentPage,  OptionId::TabStop,      OptionId::MoveToEnd,        OptionId::PageColor,
};

// Keys outside the option variables.
// A plain-text password left by old versions, migrated once at start-up.
inline constexpr QStringView legacyPasswordSection = optionsSection;
inline constexpr QStringView legacyPasswordKey = u"FileLocation";
// "True" once an encrypted book has been opened here: from then on no plain
// book is written in its place until the user switches encryption off. No
// password, key or check value is ever kept beside it.
inline constexpr QStringView encryptedSection = privacySection;
inline constexpr QStringView encryptedKey = u"Encrypted";
// The book last opened, "<size>;<modification time, ISO 8601>": a book that
// was there and is gone is asked about, never silently replaced.
inline constexpr QStringView lastBookSection = bookSection;
inline constexpr QStringView lastBookKey = u"LastBook";
// The main window's caption, for a second instance to find the first.
inline constexpr QStringView captionSection = u"frmMain";
inline constexpr QStringView captionKey = u"Caption";
// The language chosen in the options, read at the next start (LanguageCatalog).
inline constexpr QStringView languageSection = generalSection;
inline constexpr QStringView languageKey = u"Language";
// The CardDAV account, stored when the account dialog closes with OK: the
// address book (or the server it is found on) and the user name. The
// password is kept in the desktop's secret store only.
inline constexpr QStringView cardDavSection = u"CardDAV";
inline constexpr QStringView cardDavUrlKey = u"Url";
inline constexpr QStringView cardDavUserKey = u"User";
// The account's own trust: the plain-HTTP address the user agreed to send
// the password to, and the SHA-256 fingerprint of the one certificate he
// chose to trust; both go when the address changes.
inline constexpr QStringView cardDavAllowHttpKey = u"AllowHttp";
inline constexpr QStringView cardDavCertificateKey = u"TrustedCertificate";
// The address book the user chose among several at the account's address;
// it goes when the address changes.
inline constexpr QStringView cardDavAddressBookKey = u"AddressBook";
// Window placements: one section per window, "StartUp-" + its name.
inline constexpr QStringView placementSectionPrefix = u"StartUp-";

} // namespace OptionTable
