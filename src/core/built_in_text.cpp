#include "core/built_in_text.h"

#include "core/localization.h"

#include <array>

namespace {

constexpr QStringView common = u"Common";
constexpr QStringView program = u"Velkaro";
constexpr QStringView mainForm = u"frmMain";
constexpr QStringView passwordForm = u"frmPassword";
constexpr QStringView optionsForm = u"frmOptions";
constexpr QStringView aboutForm = u"frmAbout";
constexpr QStringView findForm = u"frmFind";
constexpr QStringView helpForm = u"frmHelp";
constexpr QStringView replaceForm = u"frmReplace";
constexpr QStringView unusedForm = u"frmUnused";
constexpr QStringView importContactsForm = u"frmImportContacts";
constexpr QStringView backupsForm = u"frmBackups";
constexpr QStringView cardDavForm = u"frmCardDavAccount";

// Indexed by TextId.
constexpr auto texts = std::to_array<BuiltInText>({
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
    // What a screen reader says of the window's controls.
    {TextId::MainTabsName, mainForm, u"picTabs.Name", u"Закладки страниц"},
    {TextId::MainTabsDescription, mainForm, u"picTabs.Description",
     u"Щелчок открывает страницу, правая кнопка мыши — ее меню, двойной щелчок — печать"},
    {TextId::MainTabDescription, mainForm, u"picTabs.Tab", u"Страница %1 из %2"},
    {TextId::MainPageName, mainForm, u"rtfPage.Name", u"Текст страницы"},
    {TextId::MainPageDescription, mainForm, u"rtfPage.Description",
     u"Записи открытой страницы; правая кнопка мыши открывает меню оформления"},
    {TextId::MainStatusName, mainForm, u"picStatus.Name", u"Строка состояния"},
    {TextId::MainStatusDescription, mainForm, u"picStatus.Description",
     u"Файл книги или совет дня, режим ввода"},
    {TextId::MainMarkerName, mainForm, u"picTabStop.Name", u"Маркер табуляции"},
    {TextId::MainMarkerDescription, mainForm, u"picTabStop.Description",
     u"Перетащите, чтобы сдвинуть вторую колонку адресной страницы"},
    {TextId::MainSplitterName, mainForm, u"picResizeTop.Name", u"Разделитель"},
    {TextId::MainSplitterDescription, mainForm, u"picResizeTop.Description",
     u"Перетащите, чтобы изменить ширину вкладок"},
    {TextId::TextUndo, mainForm, u"mnuTextUndo", u"&Отменить"},
    {TextId::TextCut, mainForm, u"mnuTextCut", u"&Вырезать"},
    {TextId::TextCopy, mainForm, u"mnuTextCopy", u"&Копировать"},
    {TextId::TextPaste, mainForm, u"mnuTextPaste", u"Вст&авить"},
    {TextId::TextSelectAll, mainForm, u"mnuTextSelectAll", u"Выделить вс&е"},
    {TextId::TextSize, mainForm, u"mnuTextSize", u"&Размер"},
    {TextId::TextColor, mainForm, u"mnuTextColor", u"&Цвет"},
    {TextId::TextStyle, mainForm, u"mnuTextStyle", u"&Стиль"},
    {TextId::TextStylesEmpty, mainForm, u"mnuTextStyles", u"(пусто)"},
    {TextId::TextBold, mainForm, u"mnuTextBold", u"Полу&жирный"},
    {TextId::TextItalics, mainForm, u"mnuTextItalics", u"К&урсив"},
    {TextId::TextUnderline, mainForm, u"mnuTextUnderline", u"Под&черкнутый"},
    {TextId::TextStrikeout, mainForm, u"mnuTextStrikeout", u"&Зачеркнутый"},
    {TextId::TextFont, mainForm, u"mnuTextFont", u"&Шрифт..."},
    {TextId::TextColorOther, mainForm, u"mnuTextColorOther", u"&Другой..."},
    {TextId::StatusHideTip, mainForm, u"mnuStatusHideTip", u"&Скрыть совет"},
    {TextId::StatusHideBar, mainForm, u"mnuStatusHideBar", u"Скрыть с&троку состояния"},
    {TextId::MainAdd, mainForm, u"mnuMainAdd", u"Добавить..."},
    {TextId::MainSort, mainForm, u"mnuMainSort", u"Сор&тировка"},
    {TextId::MainRename, mainForm, u"mnuMainRename", u"Переименовать..."},
    {TextId::MainDelete, mainForm, u"mnuMainDelete", u"Удалить"},
    {TextId::MainUp, mainForm, u"mnuMainUp", u"Вверх"},
    {TextId::MainDown, mainForm, u"mnuMainDown", u"Вниз"},
    {TextId::MainConvert, mainForm, u"mnuMainConvert", u"Преобразовать в"},
    {TextId::MainConvertAddress, mainForm, u"mnuMainConvertAddress", u"Адресную страницу"},
    {TextId::MainConvertText, mainForm, u"mnuMainConvertText", u"Текстовую страницу"},
    {TextId::MainImport, mainForm, u"mnuMainImport", u"&Импорт..."},
    {TextId::MainFind, mainForm, u"mnuMainFind", u"&Найти..."},
    {TextId::NewPage, mainForm, u"NewPage", u"Новая страница:"},
    {TextId::NewPageTitle, mainForm, u"NewPageTitle", u"Новая страница"},
    {TextId::NewPageDef, mainForm, u"NewPageDef", u"Новая страница"},
    {TextId::DeletePageConfirm, mainForm, u"DeletePageConfirm",
     u"Вы действительно хотите удалить эту страницу?"},
    {TextId::RenamePagePrompt, mainForm, u"RenamePagePrompt", u"Новое имя:"},
    {TextId::CommonRename, common, u"Rename", u"Переименование"},
    {TextId::ImportTitle, mainForm, u"ImportTitle", u"Импорт файла версии 3.0"},
    // Pairs of description and pattern, as the translations written for version 3.0 give them.
    {TextId::ImportFilter, mainForm, u"ImportFilter",
     u"Файлы версии 3.0|telnotes.txt|Все файлы|*.*"},
    {TextId::TitleLeadingTilde, mainForm, u"TitleLeadingTilde",
     u"Имя «%1» не подходит: имя страницы не может начинаться со знака «~», им в файле книги "
     u"отмечаются текстовые страницы."},
    {TextId::TitleApostrophes, mainForm, u"TitleApostrophes",
     u"Имя «%1» не подходит: в файле книги два апострофа подряд означают кавычку, поэтому "
     u"апостроф не может стоять рядом с другим апострофом или с кавычкой."},
    {TextId::TitleNoCodePage, mainForm, u"TitleNoCodePage",
     u"Имя «%1» не подходит: символы %2 нельзя сохранить в кодировке Windows-1251."},
    {TextId::BookFull, mainForm, u"BookFull",
     u"В книге уже %1 страниц, больше она вместить не может. Чтобы добавить страницу, "
     u"удалите ненужную."},
    {TextId::SortLosesFormatting, mainForm, u"SortLosesFormatting",
     u"После сортировки на странице останется только текст: оформление и рисунки будут "
     u"потеряны. Вернуть страницу можно сразу после сортировки командой «Отменить» "
     u"(Ctrl+Z).\n\nОтсортировать страницу?"},
    {TextId::ImportUnreadable, mainForm, u"ImportUnreadable",
     u"Файл\n%1\nне удалось прочитать: %2\n\nКнига не изменена."},
    {TextId::ImportNotAFile, mainForm, u"ImportNotAFile", u"это не обычный файл"},
    {TextId::ImportTooLarge, mainForm, u"ImportTooLarge", u"файл слишком велик"},
    {TextId::FontNameNotStorable, mainForm, u"FontNameNotStorable",
     u"Название шрифта «%1» нельзя сохранить в кодировке Windows-1251, поэтому выбран шрифт "
     u"«%2»."},
    // %1 the size chosen, %2 the size the text takes instead.
    {TextId::FontSizeLimited, mainForm, u"FontSizeLimited",
     u"Размер шрифта может быть от 6 до 15 пунктов. Вместо размера %1 текст получил размер "
     u"%2."},
    // %1 how many pages have changes not yet saved.
    {TextId::RevertConfirm, mainForm, u"RevertConfirm",
     u"Страниц с несохраненными изменениями: %1.\nОтменить все изменения, сделанные после "
     u"последнего сохранения?"},

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

    {TextId::AboutCaption, aboutForm, u"@", u"О программе %apptitle"},
    {TextId::AboutVersion, aboutForm, u"lblVersion", u"Версия %major.%minor %inter(сборка %build)"},
    {TextId::AboutDescription, aboutForm, u"lblDescription",
     u"Если вы нашли ошибку в программе или у вас есть идеи по ее улучшению, напишите мне."},
    {TextId::AboutMailMe, aboutForm, u"lblMailMe", u"напишите мне"},
    // Position of the link in twips. Empty: over its own words in the description.
    {TextId::AboutMailMeLeft, aboutForm, u"lblMailMe.Left", u""},
    {TextId::AboutMailMeTop, aboutForm, u"lblMailMe.top", u""},
    // The link opened by a click. Empty: the feedback address with the subject
    // and body below.
    {TextId::AboutMailLink, aboutForm, u"Me.lblMailMe.ToolTipText", u""},
    {TextId::AboutMailSubject, aboutForm, u"MailSubject", u"Отчет об ошибке/Пожелание/Вопрос"},
    // %1 the system, %2 the program's version.
    {TextId::AboutMailBody, aboutForm, u"MailBody", u"Система: %1\nВерсия программы: %2\n\n"},
    {TextId::AboutDisclaimer, aboutForm, u"lblDisclaimer",
     u"Программа предоставляется «как есть», без каких-либо гарантий. Автор не отвечает за "
     u"потерю данных; храните резервные копии книги."},
    {TextId::AboutOk, aboutForm, u"cmdOK", u"ОК"},
    {TextId::AboutAppInfoScreen, aboutForm, u"AppInfoScreen", u"Информация о приложении"},
    {TextId::AboutThanksScreen, aboutForm, u"ThanksScreen", u"Благодарности:"},
    {TextId::AboutAlpha, aboutForm, u"alpha", u"альфа %no"},
    {TextId::AboutBeta, aboutForm, u"beta", u"бета %no"},
    // One acknowledgement a line.
    {TextId::AboutThanks, aboutForm, u"Thanks",
     u"Qt 6 — библиотека, на которой построена программа:\nThe Qt Company Ltd. и участники "
     u"проекта Qt (лицензия GNU LGPL 3)"},
    // %1 the Qt the program was built with, %2 the one it runs on.
    {TextId::AboutComments, aboutForm, u"Comments", u"Собрана с Qt %1, работает с Qt %2"},
    {TextId::AboutCompanyName, aboutForm, u"CompanyName", u"Разработчики Velkaro Pro"},
    {TextId::AboutFileDescription, aboutForm, u"FileDescription", u"Адресная книга"},
    {TextId::AboutLegalCopyright, aboutForm, u"LegalCopyright", u"© Разработчики Velkaro Pro"},
    {TextId::AboutLegalTrademarks, aboutForm, u"LegalTrademarks",
     u"Qt — товарный знак The Qt Company Ltd."},
    {TextId::AboutYes, aboutForm, u"Yes", u"Да"},
    {TextId::AboutNo, aboutForm, u"No", u"Нет"},
    {TextId::AboutLogOn, aboutForm, u"LogOn", u"запись включена"},
    {TextId::AboutLogOff, aboutForm, u"LogOff", u"запись выключена"},
    {TextId::AboutPropertiesName, aboutForm, u"lstAppProperties.Name", u"Сведения о программе"},
    {TextId::AboutPropertiesDescription, aboutForm, u"lstAppProperties.Description",
     u"Свойства запущенной программы; двойной щелчок показывает строку целиком"},
    {TextId::AboutThanksName, aboutForm, u"lstThanks.Name", u"Благодарности"},
    {TextId::AboutThanksDescription, aboutForm, u"lstThanks.Description",
     u"Те, кто помог сделать программу"},
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
    {TextId::FindYoAsYe, findForm, u"chkYo", u"&Е и Ё не различать"},
    {TextId::FindDigitsOnly, findForm, u"chkDigits", u"Только &цифры (номер телефона)"},

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
    {TextId::UnencodableWindowKept, program, u"UnencodableWindowKept",
     u"Книгу не удалось сохранить, поэтому окно не закрыто: страница «%1» содержит символы, "
     u"которые нельзя сохранить в кодировке Windows-1251: %2\nВключите «Использовать формат "
     u"RTF» в параметрах или удалите эти символы со страницы и закройте окно снова."},
    {TextId::UnencodableCharacters, program, u"UnencodableCharacters",
     u"Страница «%1» содержит символы, которые нельзя сохранить в кодировке Windows-1251: "
     u"%2\nЧтобы сохранить книгу, включите «Использовать формат RTF» в параметрах или удалите "
     u"эти символы со страницы."},
    {TextId::ReasonDiskFull, program, u"ReasonDiskFull", u"Недостаточно места на диске"},
    {TextId::ReasonReadOnly, program, u"ReasonReadOnly", u"Диск доступен только для чтения"},
    {TextId::ReasonNoPermission, program, u"ReasonNoPermission", u"Нет прав доступа"},
    {TextId::ReasonNotFound, program, u"ReasonNotFound", u"Файл или папка не найдены"},
    {TextId::ReasonTooLarge, program, u"ReasonTooLarge", u"Файл слишком велик"},
    {TextId::ReasonSymbolicLink, program, u"ReasonSymbolicLink",
     u"На месте файла символическая ссылка, которую создала не программа"},
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
    {TextId::StylesNotSaved, program, u"StylesNotSaved",
     u"Стили не удалось сохранить в файл\n%1\n(%2). Прежний файл стилей остался без "
     u"изменений."},
    {TextId::StylesUnreadableKept, program, u"StylesUnreadableKept",
     u"Файл стилей не удалось прочитать: %1\n\nОн сохранен без изменений под именем\n%2\nи "
     u"заменен пустым списком стилей."},
    {TextId::StylesLinesKept, program, u"StylesLinesKept",
     u"Строк файла стилей, которые не удалось прочитать: %1 (первая — строка %2). Файл "
     u"сохранен без изменений под именем\n%3\nпрежде чем программа запишет его без них."},
    {TextId::ForeignLinkNotFollowed, program, u"ForeignLinkNotFollowed",
     u"%1 — ссылка, созданная другой учетной записью; программа не пишет через нее"},
    {TextId::BookLinkNotFollowed, program, u"BookLinkNotFollowed",
     u"Файл адресной книги\n%1\n— ссылка, созданная другой учетной записью. Программа не "
     u"открывает и не изменяет ее; до конца работы открыта временная книга\n%2"},
    {TextId::BookFolderLinkNotFollowed, program, u"BookFolderLinkNotFollowed",
     u"Папка адресной книги\n%1\n— ссылка, созданная другой учетной записью. Программа не "
     u"открывает и не изменяет книгу в ней; до конца работы открыта временная книга\n%2"},
    {TextId::UnsavedTemporaryKept, program, u"UnsavedTemporaryKept",
     u"Рядом с файлом книги найден временный файл незавершенного сохранения, более новый, чем "
     u"книга. Он сохранен под именем\n%1\nОткройте его вместо файла книги, если в нем есть "
     u"нужные изменения."},
    {TextId::BackupNotSaved, program, u"BackupNotSaved",
     u"Книга сохранена, но ее резервную копию\n%1\nзаписать не удалось: %2"},
    {TextId::ListMore, program, u"ListMore", u"…и еще %1"},

    {TextId::UnstorableStyleName, optionsForm, u"UnstorableStyleName",
     u"Имя стиля содержит символы, которые нельзя сохранить в кодировке Windows-1251: %1\n"
     u"Введите другое имя."},
    {TextId::UnstorableStyleFont, optionsForm, u"UnstorableStyleFont",
     u"Имя шрифта «%1» нельзя сохранить в файле стилей, поэтому для стиля выбран шрифт %2."},

    {TextId::MainPrint, mainForm, u"mnuMainPrint", u"&Печать..."},
    {TextId::MainHelp, mainForm, u"mnuMainHelp", u"&Вызов справки"},
    {TextId::MainAbout, mainForm, u"mnuMainAbout", u"О про&грамме..."},
    {TextId::PrintFailed, program, u"PrintFailed",
     u"Страницу не удалось напечатать на «%1». Проверьте принтер (при печати в файл — папку "
     u"и имя файла) и повторите печать."},
    {TextId::HelpCaption, common, u"Help", u"Справка"},
    {TextId::HelpFailure, common, u"HelpFailure", u"Не удается открыть справочный файл."},
    {TextId::HelpCopy, helpForm, u"imgCopy.ToolTipText", u"Копировать"},
    {TextId::HelpContentsName, helpForm, u"cboContents.Name", u"Раздел справки"},
    {TextId::HelpContentsDescription, helpForm, u"cboContents.Description",
     u"Выберите раздел, чтобы прочитать его"},
    {TextId::HelpTextName, helpForm, u"rtfHelp.Name", u"Текст раздела"},
    {TextId::HelpTextDescription, helpForm, u"rtfHelp.Description",
     u"Текст выбранного раздела справки"},
    {TextId::MainOptons, mainForm, u"mnuMainOptons", u"Па&раметры..."},
    {TextId::OptionsCaption, optionsForm, u"@", u"Параметры"},
    {TextId::OptionsPagesName, optionsForm, u"lstPages.Name", u"Разделы параметров"},
    {TextId::OptionsPagesDescription, optionsForm, u"lstPages.Description",
     u"Выберите раздел, чтобы увидеть его параметры"},
    {TextId::OptionsGeneralTag, optionsForm, u"Picture1.Tag", u"@ Общие"},
    {TextId::OptionsBookTag, optionsForm, u"Picture2.Tag", u"@ Адресная книга"},
    {TextId::OptionsEditingTag, optionsForm, u"Picture5.Tag", u"@ Правка"},
    {TextId::OptionsStylesTag, optionsForm, u"Picture7.Tag", u"@ Стили"},
    {TextId::OptionsPrivacyTag, optionsForm, u"Picture4.Tag", u"@ Конфиденциальность"},
    {TextId::OptionsEnableSort, optionsForm, u"chkEnableSort", u"&Включить сортировку"},
    {TextId::OptionsStatus, optionsForm, u"chkStatus", u"&Строка состояния"},
    {TextId::OptionsWidth, optionsForm, u"lblWidth", u"Ширина &кнопок:"},
    {TextId::OptionsWidthUnit, optionsForm, u"lblWidthUnit", u"твипов"},
    {TextId::OptionsTips, optionsForm, u"chkTips", u"Отображать &полезный совет при запуске"},
    {TextId::OptionsDuration, optionsForm, u"lblDuration", u"в &течение"},
    {TextId::OptionsDurationUnit, optionsForm, u"lblDurationUnit", u"сек."},
    {TextId::OptionsAutosave, optionsForm, u"chkAutosave", u"Выполнять &автосохранение"},
    {TextId::OptionsAutosaveEvery, optionsForm, u"lblAutosaveDuration", u"&каждые"},
    {TextId::OptionsAutosaveUnit, optionsForm, u"lblAutosaveUnit", u"мин."},
    {TextId::OptionsFilePath, optionsForm, u"lblFilePath", u"&Сохранять адресную книгу в папке:"},
    {TextId::OptionsBrowse, optionsForm, u"cmdBrowse", u"Об&зор..."},
    {TextId::OptionsDefPath, optionsForm, u"cmdDefPath", u"По &умолчанию"},
    {TextId::OptionsUseRtf, optionsForm, u"chkUseRtf", u"Использовать &формат RTF"},
    {TextId::OptionsCursor, optionsForm, u"lblCursor", u"Устанавливать курсор в:"},
    {TextId::OptionsPageStart, optionsForm, u"optPageStart", u"&Начало страницы"},
    {TextId::OptionsPageEnd, optionsForm, u"optPageEnd", u"&Конец страницы"},
    {TextId::OptionsPageColor, optionsForm, u"lblPageColor", u"Цвет фона страницы:"},
    {TextId::OptionsSystemColor, optionsForm, u"optSystemColor", u"&Системный"},
    {TextId::OptionsCustomColor, optionsForm, u"optCustomColor", u"&Другой:"},
    {TextId::OptionsStyles, optionsForm, u"lblStyles", u"&Стили:"},
    {TextId::OptionsStyleSample, optionsForm, u"lblStyleSample", u"Образец:"},
    {TextId::OptionsNewStyle, optionsForm, u"cmdNewStyle", u"Созд&ать..."},
    {TextId::OptionsEditStyle, optionsForm, u"cmdEditStyle", u"&Изменить »"},
    {TextId::OptionsDeleteStyle, optionsForm, u"cmdDeleteStyle", u"&Удалить"},
    {TextId::OptionsMoveUpStyle, optionsForm, u"cmdMoveUpStyle", u"В&верх"},
    {TextId::OptionsMoveDownStyle, optionsForm, u"cmdMoveDownStyle", u"В&низ"},
    {TextId::OptionsEditStyleName, optionsForm, u"mnuEditStyleName", u"&Имя..."},
    {TextId::OptionsEditStyleFont, optionsForm, u"mnuEditStyleFont", u"&Шрифт..."},
    {TextId::OptionsEditStyleBold, optionsForm, u"mnuEditStyleBold", u"Полу&жирный"},
    {TextId::OptionsEditStyleItalic, optionsForm, u"mnuEditStyleItalic", u"К&урсив"},
    {TextId::OptionsEditStyleUnused, optionsForm, u"mnuEditStyleUnused", u"&Параметры..."},
    {TextId::OptionsEditStyleColor, optionsForm, u"mnuEditStyleColor", u"&Цвет..."},
    {TextId::OptionsEditPw, optionsForm, u"cmdEditPw", u"&Изменить пароль"},
    {TextId::OptionsDeletePw, optionsForm, u"cmdDeletePw", u"&Удалить пароль"},
    {TextId::OptionsOk, optionsForm, u"cmdOK", u"ОК"},
    {TextId::OptionsCancel, optionsForm, u"cmdCancel", u"Отмена"},
    {TextId::OptionsHelp, optionsForm, u"cmdHelp", u"Справка"},
    {TextId::PasswordSet, optionsForm, u"PasswordSet", u"Адресная книга защищена паролем."},
    {TextId::PasswordNotSet, optionsForm, u"PasswordNotSet",
     u"Парольная защита адресной книги не включена."},
    {TextId::OptionsSetPw, optionsForm, u"cmdSetPw", u"&Установить пароль"},
    {TextId::RemoveConfirm, optionsForm, u"RemoveConfirm",
     u"Вы действительно хотите снять парольную защиту?"},
    {TextId::DisableRTFWarningTitle, optionsForm, u"DisableRTFWarningTitle", u"Будьте осторожны"},
    {TextId::DisableRTFWarning, optionsForm, u"DisableRTFWarning",
     u"Преобразование адресной книги из формата RTF в текстовый формат приведет к потере "
     u"имеющегося форматирования."},
    {TextId::WidthValidation, optionsForm, u"txtWidth_Validation",
     u"Неверное значение поля.\nВведите значение в диапазоне от 300 до 2000 твипов."},
    {TextId::DurationValidation, optionsForm, u"txtDuration_Validation",
     u"Неверное значение поля.\nВведите значение в диапазоне от 1 до 30 секунд."},
    {TextId::AutosaveValidation, optionsForm, u"txtAutosaveDuration_Validation",
     u"Неверное значение поля.\nВведите значение в диапазоне от 1 до 32767 минут."},
    {TextId::BrowseHint, optionsForm, u"BrowseHint",
     u"Выберите папку для хранения адресной книги:"},
    {TextId::NewStyleNamePrompt, optionsForm, u"NewStyleNamePrompt", u"Новый стиль:"},
    {TextId::NewStyle, optionsForm, u"NewStyle", u"Создание стиля"},
    {TextId::NewStyleDef, optionsForm, u"NewStyleDef", u"Новый стиль"},
    {TextId::EditStyleNamePrompt, optionsForm, u"EditStyleNamePrompt", u"Новое имя:"},
    {TextId::DeleteStyleConfirm, optionsForm, u"DeleteStyleConfirm",
     u"Вы действительно хотите удалить этот стиль?"},
    {TextId::StyleNameSemicolon, optionsForm, u"StyleNameSemicolon",
     u"Имя стиля не может содержать точку с запятой: ею в файле стилей разделяются поля.\n"
     u"Введите другое имя."},
    // %1 the size chosen, %2 the size the style takes instead.
    {TextId::StyleSizeLimited, optionsForm, u"StyleSizeLimited",
     u"Размер шрифта в стиле может быть от 6 до 15 пунктов. Вместо размера %1 стиль получил "
     u"размер %2."},
    // %1 the text typed, %2 an example of a full path.
    {TextId::FolderNotAbsolute, optionsForm, u"FolderNotAbsolute",
     u"Путь «%1» неполный. Укажите папку полным путем, например\n%2"},
    {TextId::FolderCreateConfirm, optionsForm, u"FolderCreateConfirm",
     u"Папки\n%1\nнет. Создать ее?"},
    {TextId::FolderNotCreated, optionsForm, u"FolderNotCreated",
     u"Папку\n%1\nне удалось создать (%2).\n\nКнига осталась в прежней папке."},
    {TextId::FolderNotAFolder, optionsForm, u"FolderNotAFolder",
     u"«%1» — это файл, а не папка.\n\nКнига осталась в прежней папке."},
    {TextId::FolderNotWritable, optionsForm, u"FolderNotWritable",
     u"В папку\n%1\nнельзя записывать файлы (%2).\n\nКнига осталась в прежней папке."},
    {TextId::BookNotMoved, optionsForm, u"BookNotMoved",
     u"Книгу не удалось записать в папку\n%1\n(%3).\n\nКнига осталась в прежнем файле\n%2"},
    {TextId::BackupNotMade, optionsForm, u"BackupNotMade",
     u"Файл\n%1\nне удалось сохранить под именем\n%2\n(%3), поэтому он не заменен.\n\nКнига "
     u"осталась в прежней папке."},
    {TextId::NewBookUnreadable, optionsForm, u"NewBookUnreadable",
     u"Книгу в папке\n%1\nне удалось прочитать (%2), поэтому она не загружена.\n\nКнига "
     u"осталась в прежней папке."},
    {TextId::OldBookNotRemoved, optionsForm, u"OldBookNotRemoved",
     u"Книга перенесена в папку\n%1\nно прежний файл\n%2\nудалить не удалось (%3)."},
    {TextId::OldExportKept, optionsForm, u"OldExportKept",
     u"В прежней папке остался текстовый экспорт\n%1\nОн не совпадает с книгой, поэтому "
     u"программа его не удалила. Удалите его сами, если он больше не нужен."},
    {TextId::OldExportNotRemoved, optionsForm, u"OldExportNotRemoved",
     u"Книга перенесена в папку\n%1\nно прежний текстовый экспорт\n%2\nудалить не удалось "
     u"(%3)."},

    {TextId::ReplaceCaption, replaceForm, u"@", u"Подтверждение замены файла"},
    {TextId::ReplaceLabel1, replaceForm, u"Label1", u"Папка уже содержит файл адресной книги."},
    {TextId::ReplaceLabel2, replaceForm, u"Label2", u"Заменить имеющийся файл"},
    {TextId::ReplaceLabel3, replaceForm, u"Label3", u"следующим файлом?"},
    {TextId::ReplaceYes, replaceForm, u"cmdYes", u"&Да"},
    {TextId::ReplaceNo, replaceForm, u"cmdNo", u"&Нет"},
    {TextId::ReplaceCancel, replaceForm, u"cmdCancel", u"Отмена"},
    {TextId::ReplaceDateMod, replaceForm, u"DateMod", u"дата изменения:"},
    // The units after a size; a space comes between number and unit.
    {TextId::ReplaceBytes, replaceForm, u"Bytes", u"bytes"},
    {TextId::ReplaceKb, replaceForm, u"Kb", u"Kb"},
    {TextId::ReplaceMb, replaceForm, u"Mb", u"Mb"},
    {TextId::ReplaceGb, replaceForm, u"Gb", u"Gb"},
    {TextId::ReplaceTb, replaceForm, u"Tb", u"Tb"},

    {TextId::UnusedCaption, unusedForm, u"@", u"Параметры"},
    {TextId::UnusedDesc, unusedForm, u"lblDesc",
     u"Выберите параметры текущего стиля, которые следует применять к тексту:"},
    {TextId::UnusedOk, unusedForm, u"cmdOK", u"ОК"},
    {TextId::UnusedCancel, unusedForm, u"cmdCancel", u"Отмена"},
    // The items of `lstList` joined by "|"; empty keeps the items below.
    {TextId::UnusedList, unusedForm, u"List", u""},
    // The items themselves are translated through "List" only.
    {TextId::UnusedFont, unusedForm, u"lstList(0)", u"Шрифт"},
    {TextId::UnusedSize, unusedForm, u"lstList(1)", u"Размер"},
    {TextId::UnusedBold, unusedForm, u"lstList(2)", u"Полужирное начертание"},
    {TextId::UnusedItalic, unusedForm, u"lstList(3)", u"Курсивное начертание"},
    {TextId::UnusedUnderline, unusedForm, u"lstList(4)", u"Подчеркивание"},
    {TextId::UnusedStrikeout, unusedForm, u"lstList(5)", u"Зачеркивание"},
    {TextId::UnusedColor, unusedForm, u"lstList(6)", u"Цвет"},
    {TextId::MainExport, mainForm, u"mnuMainExport", u"&Экспорт"},
    {TextId::MainExportVCard, mainForm, u"mnuMainExportVCard", u"&Книгу в vCard..."},
    {TextId::MainExportCsv, mainForm, u"mnuMainExportCsv", u"К&нигу в CSV..."},
    {TextId::MainExportPageVCard, mainForm, u"mnuMainExportPageVCard", u"&Страницу в vCard..."},
    {TextId::MainExportPageCsv, mainForm, u"mnuMainExportPageCsv", u"С&траницу в CSV..."},
    {TextId::MainImportContacts, mainForm, u"mnuMainImportContacts", u"Импорт &контактов..."},
    {TextId::ExportVCardTitle, mainForm, u"ExportVCardTitle", u"Экспорт контактов в vCard"},
    {TextId::ExportCsvTitle, mainForm, u"ExportCsvTitle", u"Экспорт контактов в CSV"},
    {TextId::ExportVCardFilter, mainForm, u"ExportVCardFilter",
     u"Контакты vCard|*.vcf|Все файлы|*.*"},
    {TextId::ExportCsvFilter, mainForm, u"ExportCsvFilter", u"Таблицы CSV|*.csv|Все файлы|*.*"},
    {TextId::ExportBookEmpty, mainForm, u"ExportBookEmpty",
     u"На адресных страницах книги нет записей, файл не записан."},
    {TextId::ExportPageEmpty, mainForm, u"ExportPageEmpty",
     u"На странице «%1» нет записей, файл не записан."},
    {TextId::ExportFailed, mainForm, u"ExportFailed", u"Файл\n%1\nне удалось записать: %2"},
    {TextId::ExportDone, mainForm, u"ExportDone", u"Контакты (%1) записаны в файл %2"},
    {TextId::ImportContactsTitle, mainForm, u"ImportContactsTitle", u"Импорт контактов"},
    {TextId::ImportContactsFilter, mainForm, u"ImportContactsFilter",
     u"Контакты vCard и таблицы CSV|*.vcf;*.vcard;*.csv|Контакты vCard|*.vcf;*.vcard|"
     u"Таблицы CSV|*.csv|Все файлы|*.*"},
    {TextId::ImportContactsBadLine, mainForm, u"ImportContactsBadLine",
     u"Файл\n%1\nне импортирован: строка %2: %3.\n\nСтраница не изменена."},
    {TextId::ImportContactsEmpty, mainForm, u"ImportContactsEmpty",
     u"В файле\n%1\nнет ни одного контакта.\n\nСтраница не изменена."},
    {TextId::ImportContactsUnencodable, mainForm, u"ImportContactsUnencodable",
     u"Контакт «%4» из строки %2 файла\n%1\nсодержит символы, которые нельзя сохранить в "
     u"кодировке Windows-1251: %3\nКнига хранится без формата RTF, и эти символы были бы "
     u"потеряны. Включите «Использовать формат RTF» в параметрах или исправьте файл.\n\nСтраница "
     u"не "
     u"изменена."},
    {TextId::ContactsNoColon, mainForm, u"ContactsNoColon",
     u"в строке нет двоеточия между названием и значением"},
    {TextId::ContactsOutsideCard, mainForm, u"ContactsOutsideCard",
     u"строка стоит вне карточки BEGIN:VCARD ... END:VCARD"},
    {TextId::ContactsCardNotClosed, mainForm, u"ContactsCardNotClosed",
     u"карточка, начатая в этой строке, не закрыта строкой END:VCARD"},
    {TextId::ContactsEndWithoutBegin, mainForm, u"ContactsEndWithoutBegin",
     u"END:VCARD без BEGIN:VCARD"},
    {TextId::ContactsUnknownCharset, mainForm, u"ContactsUnknownCharset",
     u"неизвестная кодировка «%1»"},
    {TextId::ContactsQuoteInValue, mainForm, u"ContactsQuoteInValue",
     u"кавычка внутри значения, которое не заключено в кавычки"},
    {TextId::ContactsTextAfterQuote, mainForm, u"ContactsTextAfterQuote",
     u"после закрывающей кавычки значение продолжается"},
    {TextId::ContactsQuoteNotClosed, mainForm, u"ContactsQuoteNotClosed",
     u"кавычка, открытая в этой строке, не закрыта до конца файла"},
    {TextId::ContactsNoColumns, mainForm, u"ContactsNoColumns",
     u"среди столбцов «%1» нет ни имени, ни телефона, ни адреса электронной почты"},
    {TextId::ContactsInvalidUtf8, mainForm, u"ContactsInvalidUtf8",
     u"байты, недопустимые в UTF-8, в файле, где остальной текст записан в UTF-8"},
    {TextId::ContactLabelCell, mainForm, u"ContactLabelCell", u"моб."},
    {TextId::ContactLabelWork, mainForm, u"ContactLabelWork", u"раб."},
    {TextId::ContactLabelHome, mainForm, u"ContactLabelHome", u"дом."},
    {TextId::ContactLabelFax, mainForm, u"ContactLabelFax", u"факс"},
    {TextId::ContactLabelBirthday, mainForm, u"ContactLabelBirthday", u"День рождения"},
    {TextId::ContactLabelNickname, mainForm, u"ContactLabelNickname", u"Прозвище"},
    {TextId::ContactLabelOrganisation, mainForm, u"ContactLabelOrganisation", u"Организация"},
    {TextId::ContactLabelTitle, mainForm, u"ContactLabelTitle", u"Должность"},
    {TextId::ContactLabelAddress, mainForm, u"ContactLabelAddress", u"Адрес"},
    {TextId::ContactLabelUrl, mainForm, u"ContactLabelUrl", u"Сайт"},
    {TextId::ContactLabelCategories, mainForm, u"ContactLabelCategories", u"Группы"},
    {TextId::ContactLabelRole, mainForm, u"ContactLabelRole", u"Роль"},
    {TextId::ContactLabelMessenger, mainForm, u"ContactLabelMessenger", u"Мессенджер"},
    {TextId::ContactLabelAnniversary, mainForm, u"ContactLabelAnniversary", u"Годовщина"},
    {TextId::ContactLabelSpouse, mainForm, u"ContactLabelSpouse", u"Супруг(а)"},
    {TextId::ContactLabelPhone, mainForm, u"ContactLabelPhone", u"тел."},
    {TextId::PlainTextCharacterRefused, mainForm, u"PlainTextCharacterRefused",
     u"Символ «%1» нельзя сохранить в кодировке Windows-1251: книга хранится без формата RTF. "
     u"Включите «Использовать формат RTF» в параметрах, чтобы вводить такие символы.\n\nСтраница "
     u"не "
     u"изменена."},
    {TextId::ImportContactsCaption, importContactsForm, u"@", u"Импорт контактов"},
    {TextId::ImportContactsSummary, importContactsForm, u"lblSummary",
     u"На страницу «%1» будут добавлены записи (%2):"},
    {TextId::ImportContactsNotUtf8, importContactsForm, u"lblCharset",
     u"Файл не в кодировке UTF-8. Выбрана кодировка, в которой в нем больше букв одного "
     u"алфавита; если записи читаются неверно, выберите другую."},
    {TextId::ImportContactsAdd, importContactsForm, u"cmdOK", u"&Добавить"},

    {TextId::MainBackups, mainForm, u"mnuMainBackups", u"Ре&зервные копии..."},
    {TextId::BackupsCaption, backupsForm, u"@", u"Резервные копии книги"},
    {TextId::BackupsListLabel, backupsForm, u"lblBackups", u"&Копии книги:"},
    {TextId::BackupsColumnDate, backupsForm, u"lstBackups.Date", u"Дата"},
    {TextId::BackupsColumnPages, backupsForm, u"lstBackups.Pages", u"Страниц"},
    {TextId::BackupsColumnSize, backupsForm, u"lstBackups.Size", u"Размер"},
    {TextId::BackupsColumnKind, backupsForm, u"lstBackups.Kind", u"Копия"},
    {TextId::BackupsPagesLabel, backupsForm, u"lblPages", u"С&траницы копии:"},
    {TextId::BackupsPreviewLabel, backupsForm, u"lblPreview", u"Просмотр страницы:"},
    {TextId::BackupsRestorePage, backupsForm, u"cmdRestorePage", u"&Добавить страницу в книгу"},
    {TextId::BackupsReplacePage, backupsForm, u"cmdReplacePage", u"&Заменить текущую страницу"},
    {TextId::BackupsRestoreBook, backupsForm, u"cmdRestoreBook", u"Восстановить &всю книгу"},
    {TextId::BackupsClose, backupsForm, u"cmdClose", u"Закрыть"},
    // %1 the number of the ten days of the year the copy was made in, 1 to 36.
    {TextId::BackupsKindBackup, backupsForm, u"KindBackup", u"резервная копия № %1"},
    {TextId::BackupsKindKept, backupsForm, u"KindKept", u"книга до восстановления"},
    {TextId::BackupsDamagedMark, backupsForm, u"DamagedMark", u"повреждена"},
    {TextId::BackupsSize, backupsForm, u"Size", u"%1 КБ"},
    {TextId::BackupsNone, backupsForm, u"None",
     u"Резервных копий пока нет. При каждом завершении работы программа сохраняет копию "
     u"книги в папке\n%1"},
    {TextId::BackupsChoose, backupsForm, u"Choose", u"Выберите копию, чтобы увидеть ее страницы."},
    // %2 is "line N: what is wrong (number)".
    {TextId::BackupsDamaged, backupsForm, u"Damaged",
     u"Копию\n%1\nнельзя восстановить: она повреждена (%2).\n\nФайл копии оставлен как есть."},
    {TextId::BackupsUnreadable, backupsForm, u"Unreadable",
     u"Копию\n%1\nне удалось прочитать (%2).\n\nФайл копии оставлен как есть."},
    {TextId::BackupsKeptAs, backupsForm, u"KeptAs",
     u"Прежняя книга сохранена под именем\n%1\nЕе можно вернуть здесь же."},
    {TextId::BackupsPageAdded, backupsForm, u"PageAdded", u"Страница «%1» добавлена в книгу."},
    // %1 the page's title in the copy, %2 the copy's date.
    {TextId::RestoredPageTitle, program, u"RestoredPageTitle", u"%1 (%2)"},
    {TextId::RestoreReplaceConfirm, program, u"RestoreReplaceConfirm",
     u"Заменить текст страницы «%1» текстом страницы «%2» из копии от %3?\n\nПрежде вся "
     u"книга будет сохранена рядом с файлом книги, и ее можно будет вернуть в окне "
     u"резервных копий."},
    {TextId::RestoreBookConfirm, program, u"RestoreBookConfirm",
     u"Заменить всю книгу копией от %1 (страниц: %2)?\n\nПрежде текущая книга будет "
     u"сохранена рядом с файлом книги, и ее можно будет вернуть в окне резервных копий."},
    {TextId::RestoreKeepFailed, program, u"RestoreKeepFailed",
     u"Книгу не удалось сохранить перед восстановлением (%1), поэтому она не изменена."},

    // An encrypted book's files.
    {TextId::SealedDamaged, program, u"SealedDamaged",
     u"зашифрованный файл поврежден или изменен, поэтому не прочитан ни один его байт"},
    {TextId::SealedLaterVersion, program, u"SealedLaterVersion",
     u"файл зашифрован более новой версией программы"},
    {TextId::SealedOtherPassword, program, u"SealedOtherPassword",
     u"файл зашифрован другим паролем"},
    {TextId::OptionsEncrypt, optionsForm, u"chkEncrypt", u"&Шифровать книгу этим паролем"},
    {TextId::ExportWhileEncrypted, optionsForm, u"lblExportOff",
     u"Пока книга зашифрована, ее текстовая копия не записывается."},
    {TextId::PasswordConfirmCaption, passwordForm, u"@Confirm", u"Подтверждение пароля"},
    {TextId::EncryptCopiesDelete, program, u"EncryptCopiesDelete",
     u"В этих файлах текст книги остался незашифрованным:\n%1\n\nУдалить их? Удаленный файл "
     u"может оставаться читаемым на самом диске, пока его место не займут другие данные."},
    {TextId::EncryptCopiesFailed, program, u"EncryptCopiesFailed",
     u"Эти файлы не удалось ни зашифровать, ни удалить:\n%1"},
    {TextId::SealedDamagedOrLater, program, u"SealedDamagedOrLater",
     u"зашифрованный файл поврежден или записан более новой версией программы"},
    // %1 the book's file, %2 what is wrong with it, %3 the newest encrypted
    // backup (SealedBackupNewest) or SealedBackupNone.
    {TextId::SealedBookProblem, program, u"SealedBookProblem",
     u"Книга зашифрована, но ее файл\n%1\n%2.\n\n%3\n\nЧто сделать?"},
    {TextId::SealedBookMissing, program, u"SealedBookMissing", u"не найден"},
    {TextId::SealedBookEmpty, program, u"SealedBookEmpty", u"пуст"},
    {TextId::SealedBackupNewest, program, u"SealedBackupNewest",
     u"Последняя зашифрованная резервная копия: %1 (%2)."},
    {TextId::SealedBackupNone, program, u"SealedBackupNone", u"Зашифрованных резервных копий нет."},
    {TextId::PlainWhileEncrypted, program, u"PlainWhileEncrypted",
     u"Книга\n%1\nбыла зашифрована, а теперь записана без шифрования (например, шифрование "
     u"выключено на другом компьютере).\n\nЗашифровать ее снова или больше не шифровать?"},
    {TextId::ChoiceRestoreBackup, program, u"ChoiceRestoreBackup", u"&Восстановить из этой копии"},
    {TextId::ChoiceNewBook, program, u"ChoiceNewBook", u"&Новая пустая зашифрованная книга"},
    {TextId::ChoiceSealAgain, program, u"ChoiceSealAgain", u"&Зашифровать снова"},
    {TextId::ChoiceStopEncrypting, program, u"ChoiceStopEncrypting", u"&Больше не шифровать"},
    {TextId::ChoiceQuit, program, u"ChoiceQuit", u"В&ыход"},
    {TextId::MissingBook, program, u"MissingBook",
     u"Книга не найдена:\n%1\n\nВ прошлый раз здесь была книга (%2 байт, %3). Если она лежит на "
     u"сетевом или съемном диске либо в папке синхронизации, подключите его и нажмите «Искать "
     u"снова». Новая книга не заменит резервные копии прежней."},
    {TextId::ChoiceLookAgain, program, u"ChoiceLookAgain", u"&Искать снова"},
    {TextId::ChoiceChooseFolder, program, u"ChoiceChooseFolder", u"&Выбрать папку..."},
    {TextId::ChoicePlainNewBook, program, u"ChoicePlainNewBook", u"&Новая книга"},
    {TextId::MissingBookFolder, program, u"MissingBookFolder", u"Папка с книгой"},
    {TextId::PasswordAgainLabel, passwordForm, u"Label2", u"&Еще раз:"},
    {TextId::PasswordsDiffer, passwordForm, u"PasswordsDiffer",
     u"Пароли не совпадают. Введите новый пароль дважды."},
    {TextId::PasswordOutOfMemory, passwordForm, u"PasswordOutOfMemory",
     u"Для проверки пароля не хватило памяти (нужно %1 МиБ). Закройте другие программы и "
     u"попробуйте снова."},
    {TextId::PasswordDeriving, passwordForm, u"lblBusy", u"Проверка пароля..."},

    // Not shown: the language of Qt's own texts (standard buttons, the file,
    // font, colour and print dialogs), a locale name such as "ru" or "en". A
    // translation names its own language here, so Qt speaks it too.
    {TextId::QtLanguage, program, u"QtLanguage", u"ru"},
    // Not shown: how a date written into the book reads (a restored page's
    // title, an imported birthday), a QDate format that reads back the same
    // under any locale; and how the windows show a date and time, a
    // QDateTime format, empty for the system's short format.
    {TextId::DateInBook, program, u"DateInBook", u"dd.MM.yyyy"},
    {TextId::DateShown, program, u"DateShown", u"dd.MM.yyyy HH:mm"},
    {TextId::BadPageTitles, program, u"BadPageTitles",
     u"Названия встроенных страниц «%1» в файле \"language.ini\" не подходят; новая книга "
     u"получит страницы «АБ» … «ЮЯ»"},
    {TextId::OptionsLanguage, optionsForm, u"lblLanguage", u"&Язык:"},
    // The built-in language in the list of languages; a translation names
    // its own language under "LanguageName".
    {TextId::LanguageRussian, optionsForm, u"LanguageRussian", u"Русский"},
    {TextId::LanguageNextStart, optionsForm, u"LanguageNextStart",
     u"Новый язык будет включен при следующем запуске программы."},
    {TextId::LanguageKeepsPages, optionsForm, u"LanguageKeepsPages",
     u"Новый язык будет включен при следующем запуске программы. Страницы книги, в которой "
     u"уже есть записи, останутся прежними."},

    // The book's contacts and a CardDAV address book.
    {TextId::MainCardDav, mainForm, u"mnuMainCardDav", u"Син&хронизация контактов"},
    {TextId::MainCardDavSend, mainForm, u"mnuMainCardDavSend", u"&Отправить контакты на сервер"},
    {TextId::MainCardDavFetch, mainForm, u"mnuMainCardDavFetch", u"&Получить контакты с сервера"},
    {TextId::MainCardDavAccount, mainForm, u"mnuMainCardDavAccount", u"&Учетная запись..."},
    {TextId::CardDavAccountCaption, cardDavForm, u"@", u"Учетная запись CardDAV"},
    {TextId::CardDavPasswordCaption, cardDavForm, u"@Password", u"Пароль CardDAV"},
    {TextId::CardDavUrlLabel, cardDavForm, u"lblUrl", u"&Адресная книга или сервер:"},
    {TextId::CardDavUserLabel, cardDavForm, u"lblUser", u"&Пользователь:"},
    {TextId::CardDavPasswordLabel, cardDavForm, u"lblPassword", u"Па&роль:"},
    {TextId::CardDavKeptInStore, cardDavForm, u"lblStore",
     u"Пароль хранится в хранилище паролей системы, а не в файле настроек."},
    {TextId::CardDavNoStore, cardDavForm, u"lblNoStore",
     u"Хранилище паролей недоступно: пароль не сохраняется и будет запрошен снова после "
     u"перезапуска программы."},
    {TextId::CardDavSending, mainForm, u"CardDavSending", u"Отправка контактов на сервер..."},
    {TextId::CardDavFetching, mainForm, u"CardDavFetching", u"Получение контактов с сервера..."},
    // Why a server refused; the server's own words follow in brackets.
    {TextId::CardDavNoNetwork, mainForm, u"CardDavNoNetwork", u"нет связи с сервером"},
    {TextId::CardDavWrongPassword, mainForm, u"CardDavWrongPassword",
     u"сервер не принял имя пользователя или пароль"},
    {TextId::CardDavTls, mainForm, u"CardDavTls", u"сертификат сервера не принят"},
    {TextId::CardDavTlsSelfSigned, mainForm, u"CardDavTlsSelfSigned",
     u"сертификат подписан самим сервером"},
    {TextId::CardDavTlsExpired, mainForm, u"CardDavTlsExpired", u"срок действия сертификата истек"},
    {TextId::CardDavTlsNotYetValid, mainForm, u"CardDavTlsNotYetValid",
     u"срок действия сертификата еще не начался"},
    {TextId::CardDavTlsHostName, mainForm, u"CardDavTlsHostName",
     u"сертификат выдан для другого имени сервера"},
    {TextId::CardDavTlsUntrusted, mainForm, u"CardDavTlsUntrusted",
     u"сертификат выдан неизвестным центром сертификации"},
    {TextId::CardDavPlainHttp, mainForm, u"CardDavPlainHttp",
     u"адрес без шифрования (http://) не разрешен для этой учетной записи"},
    // %1 why the certificate was refused, %2 whom it was issued to, %3 by whom,
    // %4 and %5 the dates it is valid between, %6 its SHA-256 fingerprint.
    {TextId::CardDavTrustQuestion, mainForm, u"CardDavTrustQuestion",
     u"Сертификат сервера не принят: %1.\n\nКому выдан: %2\nКем выдан: %3\nДействует с %4 по "
     u"%5\nSHA-256: %6\n\nДоверять этому сертификату для этой учетной записи? Если сервер "
     u"предъявит другой сертификат, программа спросит снова."},
    {TextId::CardDavTrust, mainForm, u"CardDavTrust", u"Доверять"},
    // %1 the address.
    {TextId::CardDavPlainHttpQuestion, mainForm, u"CardDavPlainHttpQuestion",
     u"Адрес %1 без шифрования (http://): пароль и контакты пойдут по сети открытым текстом, "
     u"и их сможет прочитать любой на пути к серверу.\n\nВсе равно использовать этот адрес "
     u"для этой учетной записи?"},
    {TextId::CardDavPlainHttpAllow, mainForm, u"CardDavPlainHttpAllow", u"Использовать HTTP"},
    {TextId::CardDavConflict, mainForm, u"CardDavConflict",
     u"карточка изменилась на сервере после прошлой отправки"},
    {TextId::CardDavNotCardDav, mainForm, u"CardDavNotCardDav",
     u"по этому адресу нет адресной книги CardDAV"},
    {TextId::CardDavNotFound, mainForm, u"CardDavNotFound", u"адрес не найден на сервере"},
    {TextId::CardDavServer, mainForm, u"CardDavServer", u"сервер сообщил об ошибке"},
    // %1 the reason, %2 the cards sent, %3 all the cards to send.
    {TextId::CardDavSendFailed, mainForm, u"CardDavSendFailed",
     u"Отправка не завершена: %1.\nОтправлено карточек: %2 из %3; следующая отправка "
     u"продолжит с этого места.\n\nКнига не изменена."},
    // %1 the reason.
    {TextId::CardDavNothingSent, mainForm, u"CardDavNothingSent",
     u"Контакты не отправлены: %1.\n\nКнига не изменена."},
    {TextId::CardDavFetchFailed, mainForm, u"CardDavFetchFailed",
     u"Контакты не получены: %1.\n\nКнига не изменена."},
    {TextId::CardDavSent, mainForm, u"CardDavSent",
     u"Контакты отправлены на сервер: новых %1, измененных %2, удаленных %3."},
    {TextId::CardDavCancelled, mainForm, u"CardDavCancelled",
     u"Отправка остановлена: отправлено карточек %1 из %2. Следующая отправка продолжит с "
     u"этого места."},
    {TextId::CardDavStateFailed, mainForm, u"CardDavStateFailed",
     u"Файл\n%1\nне удалось записать: %2\nСледующая отправка сравнит все карточки заново."},
    {TextId::CardDavConflicts, mainForm, u"CardDavConflicts",
     u"Эти контакты изменены на сервере после прошлой отправки, и книга их не заменила:\n%1"
     u"\n\nЧто с ними сделать?"},
    {TextId::CardDavTakeServer, mainForm, u"CardDavTakeServer", u"Взять версию с сервера"},
    {TextId::CardDavOverwrite, mainForm, u"CardDavOverwrite", u"Заменить версией из книги"},
    {TextId::CardDavLeave, mainForm, u"CardDavLeave", u"Оставить как есть"},
    {TextId::CardDavNothingNew, mainForm, u"CardDavNothingNew",
     u"На сервере нет новых или измененных контактов."},
    {TextId::CardDavPageLabel, importContactsForm, u"lblPage", u"&Страница:"},
    {TextId::CardDavReplaceSummary, importContactsForm, u"lblReplace",
     u"Запись «%1» на странице «%2» изменена на сервере. Заменить ее такой записью?"},
    {TextId::CardDavReplace, importContactsForm, u"cmdReplace", u"&Заменить"},
    {TextId::CardDavEntryGone, mainForm, u"CardDavEntryGone",
     u"Записи «%1» в книге больше нет, поэтому ее версия с сервера не перенесена."},
    {TextId::CardDavUnencodable, mainForm, u"CardDavUnencodable",
     u"Контакт «%1» с сервера содержит символы, которые нельзя сохранить в кодировке "
     u"Windows-1251: %2\nКнига хранится без формата RTF. Включите «Использовать формат RTF» в "
     u"параметрах."
     u"\n\nКнига не изменена."},
    // %1 the entries, one a line.
    {TextId::CardDavDeletedQuestion, mainForm, u"CardDavDeletedQuestion",
     u"Эти карточки удалены на сервере после прошлой синхронизации, а их записи остались в "
     u"книге:\n%1\n\nЧто с ними сделать?"},
    {TextId::CardDavDeletedRemove, mainForm, u"CardDavDeletedRemove", u"Убрать из книги"},
    {TextId::CardDavDeletedResend, mainForm, u"CardDavDeletedResend", u"Отправить снова"},
    {TextId::CardDavDeletedUnbind, mainForm, u"CardDavDeletedUnbind",
     u"Оставить в книге без карточек"},
    // %1 the number of entries.
    {TextId::CardDavRemoveSummary, importContactsForm, u"lblRemove",
     u"Из книги будут убраны записи (%1):"},
    {TextId::CardDavRemove, importContactsForm, u"cmdRemove", u"&Убрать"},
    // %1 the page, %2 the entries ticked, %3 those already on the page.
    {TextId::ImportContactsDuplicates, importContactsForm, u"lblDuplicates",
     u"На страницу «%1» будут добавлены записи (%2). Записи, которые уже есть на странице "
     u"(%3), показаны ниже без отметки и будут добавлены, только если их отметить."},
    {TextId::ImportContactsEncodingLabel, importContactsForm, u"lblEncoding", u"&Кодировка:"},
    {TextId::ImportContactsCyrillic, importContactsForm, u"Windows1251",
     u"Windows-1251 (кириллица)"},
    {TextId::ImportContactsWestern, importContactsForm, u"Windows1252",
     u"Windows-1252 (западноевропейская)"},
    // %1 the address.
    {TextId::CardDavNotAddressBook, mainForm, u"CardDavNotAddressBook",
     u"адрес %1 не является ни адресной книгой, ни учетной записью CardDAV"},
    // %1 the address.
    {TextId::CardDavChooseBook, mainForm, u"CardDavChooseBook",
     u"По адресу %1 несколько адресных книг. С какой из них синхронизировать контакты?"},
});

constexpr bool indexedById()
{
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (static_cast<std::size_t>(texts[i].id) != i)
            return false;
    }
    return true;
}
static_assert(indexedById(), "the table must list every text in TextId order");
static_assert(texts.size() == static_cast<std::size_t>(TextId::Count));

} // namespace

const BuiltInText& BuiltInTexts::entry(TextId id)
{
    return texts[static_cast<std::size_t>(id)];
}

QString BuiltInTexts::text(TextId id)
{
    return Localization::expandNewlines(entry(id).text.toString());
}
