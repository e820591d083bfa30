// The Windows settings store: values earlier versions wrote into the registry
// are found as they are; the program writes text values (REG_SZ) under
// application name / section / key.
#include "core/settings_store.h"
#include "unit_test.h"

#ifdef Q_OS_WIN
#include <QUuid>
#include <windows.h>

TEST(RegistryStore, StoredTextAndNumbersAreFoundAndEveryValueIsWrittenAsText)
{
    const QString key = "Software\\Velkaro Tests\\" + QUuid::createUuid().toString();
    const auto path = [&](const QString& section) { return (key + '\\' + section).toStdWString(); };
    const std::wstring width = L"900";
    const DWORD page = 3;
    RegSetKeyValueW(HKEY_CURRENT_USER, path("Общие").c_str(), L"ButtonWidth", REG_SZ, width.c_str(),
                    DWORD(width.size() + 1) * 2);
    RegSetKeyValueW(HKEY_CURRENT_USER, path("Options").c_str(), L"RecentPage", REG_DWORD, &page, 4);
    SettingsStore settings(
        std::make_unique<QSettings>("HKEY_CURRENT_USER\\" + key, QSettings::NativeFormat));
    EXPECT_EQ(QStringList({settings.read("Общие", "ButtonWidth", "600"),
                           settings.read("Options", "RecentPage", "1"),
                           settings.read("Options", "TabStop", "3400")}),
              QStringList({"900", "3", "3400"}));

    settings.write("Адресная книга", "FilePath", "C:\\Книги\\");
    settings.write("Options", "RecentPage", "4");
    settings.remove("Общие", "ButtonWidth");
    settings.sync();
    QStringList stored;
    for (const auto& [section, name] : {std::pair{"Адресная книга", L"FilePath"},
                                        {"Options", L"RecentPage"}, {"Общие", L"ButtonWidth"}}) {
        wchar_t data[256] = {};
        DWORD type = REG_NONE;
        DWORD size = sizeof(data);
        const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, path(section).c_str(), name,
                                            RRF_RT_ANY, &type, data, &size);
        stored << QString::number(status == ERROR_SUCCESS ? type : REG_NONE) + ':' +
                      QString::fromWCharArray(data);
    }
    EXPECT_EQ(stored, QStringList({"1:C:\\Книги\\", "1:4", "0:"}));
    RegDeleteTreeW(HKEY_CURRENT_USER, key.toStdWString().c_str());
}
#endif
