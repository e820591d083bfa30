#include "core/built_in_text.h"

#include "core/localization.h"

#include <array>

namespace {

constexpr QStringView common = u"Common";
constexpr QStringView program = u"Velkaro";
constexpr QStringView mainForm = u"frmMain";
constexpr QStringView passwordForm = u"frmPassword";
constexpr QStringView findForm = u"frmFind";

// Indexed by TextId.
constexpr std::array<BuiltInText, 56> texts{{
    {TextId::CommonOk, common, u"OK", u"ОК"},
    {TextId::CommonCancel, common, u"Cancel", u"Отмена"},
    {TextId::TipFailure, common, u"TipFailure", u"Не удается отобразить совет."},

    {TextId::MainSave, mainForm, u"mnuMainSave", u"&Сохранить"},
    {TextId::MainRevert, mainForm, u"mnuMainRevert", u"&Отменить все"},
    {TextId::MainExit, mainForm, u"mnuMainExit", u"В&ыход"},
    {TextId::MainTipPlaceholder, mainForm, u"lblTip", u"Знаете ли вы, что..."},
    {TextId::MainSavedTip, mainForm, u"imgStatus.Saved", u"Сохранено"},
    {TextId::MainUnsavedTip, mainForm, u"imgStatus.Changed", u"Есть несохраненные изменения"},
    {TextId::MainInsert, mainForm, u"lblIns", u"Вставка"},
    {TextId::MainOverwrite, mainForm, u"Overwrite", u"Замена"},
    {TextId::TextUndo, mainForm, u"mnuTextUndo", u"&Отменить"},
    {TextId::TextCut, mainForm, u"mnuTextCut", u"&Вырезать"},
    {TextId::TextCopy, mainForm, u"mnuTextCopy", u"&Копировать"},
    {TextId::TextPaste, mainForm, u"mnuTextPaste", u"Вст&авить"},
    {TextId::TextSelectAll, mainForm, u"mnuTextSelectAll", u"Выделить вс&е"},
    {TextId::TextSize, mainForm, u"mnuTextSize", u"&Размер"},
    {TextId::TextColor, mainForm, u"mnuTextColor", u"&Цвет"},
    {TextId::StatusHideTip, mainForm, u"mnuStatusHideTip", u"&Скрыть совет"},
    {TextId::StatusHideBar, mainForm, u"mnuStatusHideBar", u"Скрыть с&троку состояния"},

    {TextId::PasswordLabel, passwordForm, u"Label1", u"&Пароль:"},
    {TextId::PasswordMask, passwordForm, u"chkMask", u"&Скрыть"},
    {TextId::PasswordOk, passwordForm, u"cmdOK", u"OK"},
    {TextId::PasswordCancel, passwordForm, u"cmdCancel", u"Отмена"},
    {TextId::PasswordExit, passwordForm, u"cmdExit", u"Выход"},
    {TextId::PasswordLoginCaption, passwordForm, u"@Login", u"Логин"},
    {TextId::PasswordChangeCaption, passwordForm, u"@Change", u"Смена пароля"},
    {TextId::InvalidPass, passwordForm, u"InvalidPass", u"Неверный пароль."},
    {TextId::EmptyPassWarn, passwordForm, u"EmptyPassWarn",
     u"Пустой пароль недопустим. Для снятия парольной защиты воспользуйтесь кнопкой "
     u"\"Удалить пароль\" на странице \"Конфиденциальность\" окна \"Параметры\"."},
    {TextId::UnsupportedPassChars, passwordForm, u"UnsupportedPassChars",
     u"Пароль содержит символы, которые нельзя сохранить. Используйте русские или латинские "
     u"буквы, цифры и знаки препинания."},

    {TextId::FindCaption, findForm, u"@", u"Найти"},
    {TextId::FindWhat, findForm, u"lblWhat", u"Чт&о:"},
    {TextId::FindWholeWord, findForm, u"chkWholeWord", u"&Только слово целиком"},
    {TextId::FindMatchCase, findForm, u"chkMatchCase", u"С &учетом регистра"},
    {TextId::FindAllPages, findForm, u"chkAllPages", u"Поиск на &всех страницах"},
    {TextId::FindNext, findForm, u"cmdFind", u"&Найти далее"},
    {TextId::FindCancel, findForm, u"cmdCancel", u"Отмена"},
    {TextId::FindWhatCue, findForm, u"WhatCue", u"Введите текст, который требуется найти"},
    {TextId::FindEnterSomethingTitle, findForm, u"EnterSomethingTitle", u"Введите искомый текст"},
    {TextId::FindEnterSomething, findForm, u"EnterSomething",
     u"Для выполнения поиска приложению требуется образец текста, который следует найти.\n"
     u"\nНапример, чтобы найти все записи о Петровых, введите \"Петров\"."},
    {TextId::FindCompleted, findForm, u"FindCompleted", u"Поиск завершен."},

    {TextId::DamagedPassword, program, u"DamagedPassword",
     u"Сохраненный пароль адресной книги поврежден, поэтому проверить пароль невозможно. "
     u"Книга не будет открыта.\n\nЗащищенный пароль хранится в настройках программы "
     u"(раздел \"%1\", параметр \"%2\"). Чтобы снять защиту, удалите этот параметр и "
     u"запустите программу снова."},
    {TextId::UnreadableBookKept, program, u"UnreadableBookKept",
     u"Файл адресной книги не удалось прочитать: %1\n\nОн сохранен без изменений под "
     u"именем\n%2\nи заменен новой книгой. Если у вас есть резервная копия книги, закройте "
     u"программу и скопируйте ее на место файла\n%3"},
    {TextId::UnreadableReason, program, u"UnreadableReason", u"строка %1: %2 (%3)"},
    {TextId::TrailingDataKept, program, u"TrailingDataKept",
     u"В файле адресной книги после последней страницы (строка %1) есть текст, который не "
     u"входит ни в одну страницу: файл поврежден или изменен вручную. Книга открыта без этого "
     u"текста.\n\nИсходный файл сохранен без изменений под именем\n%2"},
    {TextId::RescueCopyKept, program, u"RescueCopyKept",
     u"При прошлом завершении работы книгу не удалось сохранить в ее папку (%1). Все "
     u"изменения сохранены в копии\n%2\nОткройте ее вместо файла книги, чтобы вернуть их."},
    {TextId::SaveFailedWindowKept, program, u"SaveFailedWindowKept",
     u"Книгу не удалось сохранить, поэтому окно не закрыто. Освободите место на диске или "
     u"выберите другую папку в параметрах и закройте окно снова."},
    {TextId::UnencodableCharacters, program, u"UnencodableCharacters",
     u"Страница «%1» содержит символы, которые нельзя сохранить в кодировке Windows-1251: %2"},
    {TextId::BadSetting, program, u"BadSetting",
     u"Значение «%3» параметра «%2» в разделе «%1» настроек не подходит; взято значение по "
     u"умолчанию «%4»"},
    {TextId::BadLastIntPage, program, u"BadLastIntPage",
     u"Число встроенных страниц «%1» в файле \"language.ini\" не подходит; взято 14"},
    {TextId::BookChangedOnDisk, program, u"BookChangedOnDisk",
     u"Файл адресной книги\n%1\nизменен другой программой после того, как его открыли "
     u"здесь.\n\nЗагрузить его, отказавшись от изменений, сделанных здесь после последнего "
     u"сохранения? Сохранить обе книги (ваша будет сохранена рядом под другим именем, а "
     u"его книга будет открыта)? Или заменить его вашей книгой?"},
    {TextId::BookChangedReload, program, u"BookChangedReload", u"&Загрузить его"},
    {TextId::BookChangedKeepBoth, program, u"BookChangedKeepBoth", u"Сохранить &обе"},
    {TextId::BookChangedOverwrite, program, u"BookChangedOverwrite", u"&Заменить его"},
    {TextId::BookChangedKeptBoth, program, u"BookChangedKeptBoth",
     u"Файл адресной книги был изменен другой программой. Книга, которая была открыта здесь, "
     u"сохранена под именем\n%1"},
    {TextId::ShutdownNotices, program, u"ShutdownNotices",
     u"При прошлом завершении работы (%1) программа сообщила:"},
}};

constexpr bool indexedById()
{
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (static_cast<std::size_t>(texts[i].id) != i)
            return false;
    }
    return true;
}
static_assert(indexedById(), "the table must list every text in TextId order");
static_assert(texts.size() == static_cast<std::size_t>(TextId::ShutdownNotices) + 1);

} // namespace

const BuiltInText& BuiltInTexts::entry(TextId id)
{
    return texts[static_cast<std::size_t>(id)];
}

QString BuiltInTexts::text(TextId id)
{
    return Localization::ExpandNewlines(entry(id).text.toString());
}
