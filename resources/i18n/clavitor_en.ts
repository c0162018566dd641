<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>AutoReplaceCommand</name>
    <message>
        <source>Добавьте хотя бы одну пару для автозамены.</source>
        <translation>Add at least one auto-replace pair.</translation>
    </message>
    <message>
        <source>Не удалось обновить сценарии: %1</source>
        <translation>Failed to update scripts: %1</translation>
    </message>
    <message>
        <source>Совпадений для автозамены не найдено.</source>
        <translation>No auto-replace matches found.</translation>
    </message>
    <message>
        <source>Автозамена завершена. Выполнено замен: %1 в %2 сценариях.</source>
        <translation>Auto-replace complete. Applied %1 replacements in %2 scripts.</translation>
    </message>
</context>
<context>
    <name>AutoReplacePanel</name>
    <message>
        <source>Автозаменена во всех сценариях выбранного профиля.</source>
        <translation>Auto-replace applied to all scripts in the selected profile.</translation>
    </message>
    <message>
        <source>Добавить пару</source>
        <translation>Add a pair</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Заменить</source>
        <translation>Replace</translation>
    </message>
</context>
<context>
    <name>AutoReplaceRowActions</name>
    <message>
        <source>Укажите параметр автозамены</source>
        <translation>Specify the auto-replace parameter</translation>
    </message>
    <message>
        <source>Посмотреть описание (не заполнено)</source>
        <translation>View the description (not filled in)</translation>
    </message>
    <message>
        <source>Посмотреть описание</source>
        <translation>View the description</translation>
    </message>
</context>
<context>
    <name>AutoReplaceTable</name>
    <message>
        <source>Укажите параметр</source>
        <translation>Specify the parameter</translation>
    </message>
    <message>
        <source>Описание параметра</source>
        <translation>Parameter description</translation>
    </message>
    <message>
        <source>Описание параметра «%1»</source>
        <translation>Description of the &quot;%1&quot; parameter</translation>
    </message>
    <message>
        <source>Имя</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Было</source>
        <translation>Old value</translation>
    </message>
    <message>
        <source>Станет</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>Действия</source>
        <translation>Actions</translation>
    </message>
</context>
<context>
    <name>AutoclickerProfiles</name>
    <message>
        <source>%1 копия</source>
        <translation>%1 copy</translation>
    </message>
    <message>
        <source>%1 копия (%2)</source>
        <translation>%1 copy (%2)</translation>
    </message>
</context>
<context>
    <name>AutoclickerWidget</name>
    <message>
        <source>Автокликер</source>
        <translation>Autoclicker</translation>
    </message>
    <message>
        <source>Настраивайте автокликер в едином окне</source>
        <translation>Configure the autoclicker from a single window</translation>
    </message>
    <message>
        <source>Включить</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>Автокликер выключен</source>
        <translation>Autoclicker is off</translation>
    </message>
    <message>
        <source>Профиль</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Переименовать</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Дублировать</source>
        <translation>Duplicate</translation>
    </message>
    <message>
        <source>Импорт</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Экспорт</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Интервал</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>миллисекунд</source>
        <translation>milliseconds</translation>
    </message>
    <message>
        <source>Опции кликов</source>
        <translation>Click options</translation>
    </message>
    <message>
        <source>Ввод</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>Мышь</source>
        <translation>Mouse</translation>
    </message>
    <message>
        <source>Клавиатура</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>Без кликов</source>
        <translation>No clicks</translation>
    </message>
    <message>
        <source>Кнопка</source>
        <translation>Button</translation>
    </message>
    <message>
        <source>Левая</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Правая</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Средняя</source>
        <translation>Middle</translation>
    </message>
    <message>
        <source>Клавиша</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Клики</source>
        <translation>Clicks</translation>
    </message>
    <message>
        <source>Повторения</source>
        <translation>Repetitions</translation>
    </message>
    <message>
        <source>Режим</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>N раз</source>
        <translation>N times</translation>
    </message>
    <message>
        <source>Пока ЛКМ</source>
        <translation>While LMB held</translation>
    </message>
    <message>
        <source>Пока ЛКМ и ПКМ</source>
        <translation>While LMB + RMB held</translation>
    </message>
    <message>
        <source>Шорткат вкл/выкл</source>
        <translation>Start/stop by hotkey</translation>
    </message>
    <message>
        <source>Повторений</source>
        <translation>Repetitions</translation>
    </message>
    <message>
        <source>Перемещение</source>
        <translation>Movement</translation>
    </message>
    <message>
        <source>Плавно</source>
        <translation>Smooth</translation>
    </message>
    <message>
        <source>Перемещение по X</source>
        <translation>Move along X</translation>
    </message>
    <message>
        <source>Перемещение по Y</source>
        <translation>Move along Y</translation>
    </message>
    <message>
        <source>Рандомизация</source>
        <translation>Randomization</translation>
    </message>
    <message>
        <source>Перемещения</source>
        <translation>Movements</translation>
    </message>
    <message>
        <source>Нету</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Немного</source>
        <translation>Slight</translation>
    </message>
    <message>
        <source>Средне</source>
        <translation>Moderate</translation>
    </message>
    <message>
        <source>Сильно</source>
        <translation>High</translation>
    </message>
    <message>
        <source>Интервалы</source>
        <translation>Intervals</translation>
    </message>
    <message>
        <source>Горячие клавиши</source>
        <translation>Hotkeys</translation>
    </message>
    <message>
        <source>Активация автокликера</source>
        <translation>Activate autoclicker</translation>
    </message>
    <message>
        <source>Сочетание &quot;%1&quot; конфликтует: %2.
Горячая клавиша будет сброшена. Задайте её вручную.
Продолжить?</source>
        <translation>The combination “%1” conflicts with %2.
The hotkey will be cleared. Please set it manually.
Continue?</translation>
    </message>
    <message>
        <source>Продолжить</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Название автокликера не может быть пустым.</source>
        <translation>Autoclicker name cannot be empty.</translation>
    </message>
    <message>
        <source>Название &quot;default&quot; зарезервировано.</source>
        <translation>The name “default” is reserved.</translation>
    </message>
    <message>
        <source>Автокликер с таким названием уже существует.</source>
        <translation>An autoclicker with this name already exists.</translation>
    </message>
    <message>
        <source>Новый автокликер</source>
        <translation>New autoclicker</translation>
    </message>
    <message>
        <source>Введите название автокликера:</source>
        <translation>Enter the autoclicker name:</translation>
    </message>
    <message>
        <source>Профиль &quot;default&quot; нельзя переименовать.</source>
        <translation>The “default” profile cannot be renamed.</translation>
    </message>
    <message>
        <source>Переименование автокликера</source>
        <translation>Rename autoclicker</translation>
    </message>
    <message>
        <source>Введите новое название автокликера:</source>
        <translation>Enter a new autoclicker name:</translation>
    </message>
    <message>
        <source>Профиль &quot;default&quot; нельзя удалить.</source>
        <translation>The “default” profile cannot be deleted.</translation>
    </message>
    <message>
        <source>Удалить автокликер &quot;%1&quot;?</source>
        <translation>Delete autoclicker “%1”?</translation>
    </message>
    <message>
        <source>Импорт автокликера</source>
        <translation>Import autoclicker</translation>
    </message>
    <message>
        <source>Файлы JSON (*.json)</source>
        <translation>JSON files (*.json)</translation>
    </message>
    <message>
        <source>Не удалось открыть файл.</source>
        <translation>Failed to open the file.</translation>
    </message>
    <message>
        <source>Файл автокликера поврежден.</source>
        <translation>The autoclicker file is corrupted.</translation>
    </message>
    <message>
        <source>Автокликер &quot;%1&quot; уже существует или недопустим.</source>
        <translation>Autoclicker “%1” already exists or is invalid.</translation>
    </message>
    <message>
        <source>Экспорт автокликера</source>
        <translation>Export autoclicker</translation>
    </message>
    <message>
        <source>Не удалось сохранить файл.</source>
        <translation>Failed to save the file.</translation>
    </message>
    <message>
        <source>Выключить</source>
        <translation>Disable</translation>
    </message>
    <message>
        <source>Автокликер недоступен при активном сценарии</source>
        <translation>The autoclicker is unavailable while a scenario is active.</translation>
    </message>
    <message>
        <source>Автокликер работает</source>
        <translation>Autoclicker is on</translation>
    </message>
    <message>
        <source>Автокликер кликает</source>
        <translation>Autoclicker is clicking</translation>
    </message>
</context>
<context>
    <name>DriverInstaller</name>
    <message>
        <source>Установка драйвера уже выполняется. Завершите установку и повторите попытку.</source>
        <translation>Driver installation is already in progress. Finish the installation and try again.</translation>
    </message>
    <message>
        <source>Драйвер не найден. Скачать и установить его сейчас?</source>
        <translation>Driver not found. Download and install it now?</translation>
    </message>
    <message>
        <source>Не удалось скачать установщик драйвера: %1</source>
        <translation>Failed to download the driver installer: %1</translation>
    </message>
    <message>
        <source>контрольная сумма файла не совпадает с ожидаемой</source>
        <translation>the file&apos;s checksum does not match the expected one</translation>
    </message>
    <message>
        <source>Не удалось запустить установщик драйвера.</source>
        <translation>Failed to launch the driver installer.</translation>
    </message>
    <message>
        <source>Установщик драйвера запущен. После завершения установки выберите режим &quot;Драйвер&quot; снова.</source>
        <translation>Driver installer launched. After installation completes, select the “Driver” mode again.</translation>
    </message>
    <message>
        <source>Драйвер установлен. Выберите режим &quot;Драйвер&quot; снова.</source>
        <translation>Driver installed. Select the “Driver” mode again.</translation>
    </message>
    <message>
        <source>Драйвер по-прежнему отсутствует. Запустите установщик ещё раз при необходимости.</source>
        <translation>The driver is still missing. Run the installer again if needed.</translation>
    </message>
    <message>
        <source>Драйвер виртуальной мыши недоступен в этой сборке Clavitor.</source>
        <translation>The virtual mouse driver is not available in this build of Clavitor.</translation>
    </message>
</context>
<context>
    <name>ElevatedInstallerProcess</name>
    <message>
        <source>ошибка %1</source>
        <translation>error %1</translation>
    </message>
</context>
<context>
    <name>ElevationWarning</name>
    <message>
        <source>%1 запущена от имени администратора: Clavitor не может управлять ей. Запустите Clavitor от имени администратора.</source>
        <translation>%1 is running as administrator: Clavitor cannot control it. Run Clavitor as administrator.</translation>
    </message>
</context>
<context>
    <name>FindReplaceBar</name>
    <message>
        <source>Учитывать регистр</source>
        <translation>Match case</translation>
    </message>
    <message>
        <source>Слово целиком</source>
        <translation>Whole word</translation>
    </message>
    <message>
        <source>Найти</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>Заменить на</source>
        <translation>Replace with</translation>
    </message>
    <message>
        <source>Далее</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Назад</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>Заменить</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Заменить все</source>
        <translation>Replace all</translation>
    </message>
    <message>
        <source>Не найдено</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>Заменено: %1</source>
        <translation>Replaced: %1</translation>
    </message>
</context>
<context>
    <name>FramelessWindow</name>
    <message>
        <source>Закрыть программу или свернуть в трей?</source>
        <translation>Quit Clavitor or keep it running in the tray?</translation>
    </message>
    <message>
        <source>В трей</source>
        <translation>Keep in tray</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
</context>
<context>
    <name>HomeWidget</name>
    <message>
        <source>Главная</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>Выберите нужный раздел</source>
        <translation>Choose a section</translation>
    </message>
    <message>
        <source>Автокликер</source>
        <translation>Autoclicker</translation>
    </message>
    <message>
        <source>Настраивайте автокликер в едином окне</source>
        <translation>Configure the autoclicker from a single window</translation>
    </message>
    <message>
        <source>Перейти</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Инструкция</source>
        <translation>Guide</translation>
    </message>
    <message>
        <source>Менеджер сценариев</source>
        <translation>Script manager</translation>
    </message>
    <message>
        <source>Управляйте сценариями и настраивайте горячие клавиши для их активации</source>
        <translation>Manage scripts and configure hotkeys to trigger them</translation>
    </message>
</context>
<context>
    <name>HotkeyAssignment</name>
    <message>
        <source>Горячая клавиша %1 уже используется: %2.</source>
        <translation>Hotkey %1 is already in use: %2.</translation>
    </message>
    <message>
        <source>Не удалось установить горячую клавишу %1. %2</source>
        <translation>Failed to register hotkey %1. %2</translation>
    </message>
    <message>
        <source>Возможно, сочетание занято другой программой.</source>
        <translation>The combination may already be used by another application.</translation>
    </message>
</context>
<context>
    <name>HotkeyOwnerTexts</name>
    <message>
        <source>отключение сценария</source>
        <translation>disabling the script</translation>
    </message>
    <message>
        <source>переключение автокликера</source>
        <translation>Toggle autoclicker</translation>
    </message>
    <message>
        <source>автокликер</source>
        <translation>autoclicker</translation>
    </message>
    <message>
        <source>автокликер &quot;%1&quot;</source>
        <translation>autoclicker “%1”</translation>
    </message>
    <message>
        <source>переключение оверлея</source>
        <translation>switching the overlay</translation>
    </message>
</context>
<context>
    <name>InstallerDownload</name>
    <message>
        <source>разрешено скачивание только по HTTPS</source>
        <translation>only HTTPS downloads are allowed</translation>
    </message>
    <message>
        <source>Скачивание драйвера...</source>
        <translation>Downloading driver...</translation>
    </message>
    <message>
        <source>сервер не отвечает</source>
        <translation>the server does not respond</translation>
    </message>
    <message>
        <source>Не удаётся сохранить файл в %1</source>
        <translation>Unable to save the file to %1</translation>
    </message>
</context>
<context>
    <name>LicensesDialog</name>
    <message>
        <source>Лицензии</source>
        <translation>Licenses</translation>
    </message>
    <message>
        <source>Clavitor — свободная программа: её можно распространять и изменять на условиях GNU General Public License версии 3 или более поздней. Ниже — её лицензия и лицензии всего, что поставляется вместе с ней.</source>
        <translation>Clavitor is free software: you can redistribute and modify it under the terms of the GNU General Public License, version 3 or later. Below are its license and the licenses of everything that comes with it.</translation>
    </message>
    <message>
        <source>Обзор</source>
        <translation>Overview</translation>
    </message>
</context>
<context>
    <name>LogKinds</name>
    <message>
        <source>Активация</source>
        <translation>Activation</translation>
    </message>
    <message>
        <source>Сценарий</source>
        <translation>Script</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Остановка</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Горячая клавиша</source>
        <translation>Hotkey</translation>
    </message>
    <message>
        <source>Слежение</source>
        <translation>Following</translation>
    </message>
    <message>
        <source>Автокликер</source>
        <translation>Autoclicker</translation>
    </message>
    <message>
        <source>Импорт</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Программа</source>
        <translation>Program</translation>
    </message>
</context>
<context>
    <name>LogModel</name>
    <message>
        <source>Старые строки удалены: %1</source>
        <translation>Older lines removed: %1</translation>
    </message>
    <message>
        <source>Время</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>Сценарий</source>
        <translation>Script</translation>
    </message>
    <message>
        <source>Сообщение</source>
        <translation>Message</translation>
    </message>
</context>
<context>
    <name>LogPage</name>
    <message>
        <source>Журнал</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>Что сообщали сценарии и программа: последние 10 000 строк</source>
        <translation>What the scripts and the program said: the last 10,000 lines</translation>
    </message>
    <message>
        <source>Строки какого сценария показывать</source>
        <translation>Which script&apos;s lines to show</translation>
    </message>
    <message>
        <source>Найти в журнале</source>
        <translation>Find in the log</translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Копирует выделенные строки, а если ничего не выделено, все показанные</source>
        <translation>Copies the selected lines, or all shown lines when none are selected</translation>
    </message>
    <message>
        <source>Сохранить…</source>
        <translation>Save…</translation>
    </message>
    <message>
        <source>Сохраняет показанные строки в текстовый файл</source>
        <translation>Saves the shown lines to a text file</translation>
    </message>
    <message>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Убирает строки со страницы; файл журнала их сохраняет</source>
        <translation>Removes the lines from the page; the log file keeps them</translation>
    </message>
    <message>
        <source>Все сценарии</source>
        <translation>All scripts</translation>
    </message>
    <message>
        <source>Сохранить журнал</source>
        <translation>Save the log</translation>
    </message>
    <message>
        <source>Текстовые файлы (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message>
        <source>Не удалось сохранить журнал в %1:
%2</source>
        <translation>Couldn&apos;t save the log to %1:
%2</translation>
    </message>
</context>
<context>
    <name>LuaSandbox</name>
    <message>
        <source>%1 недоступна сценариям: разрешите доступ к файлам и программам в настройках профиля</source>
        <translation>%1 is not available to scripts: allow access to files and programs in the profile&apos;s settings</translation>
    </message>
    <message>
        <source>require(&quot;%1&quot;): сценарии загружают модули только из папки своего профиля</source>
        <translation>require(&quot;%1&quot;): scripts load modules only from their own profile&apos;s folder</translation>
    </message>
    <message>
        <source>Скомпилированные фрагменты Lua недоступны сценариям: разрешите доступ к файлам и программам в настройках профиля</source>
        <translation>Precompiled Lua chunks are not available to scripts: allow access to files and programs in the profile&apos;s settings</translation>
    </message>
</context>
<context>
    <name>MainWidget</name>
    <message>
        <source>Главная</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>Сценарии</source>
        <translation>Scripts</translation>
    </message>
    <message>
        <source>Автокликер</source>
        <translation>Autoclicker</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Наш сайт</source>
        <translation>Our website</translation>
    </message>
    <message>
        <source>Телеграм канал</source>
        <translation>Telegram channel</translation>
    </message>
    <message>
        <source>ВК группа</source>
        <translation>VK group</translation>
    </message>
    <message>
        <source>Не удалось загрузить выбранную тему.</source>
        <translation>Failed to load the selected theme.</translation>
    </message>
    <message>
        <source>Включить тёмную тему</source>
        <translation>Enable dark theme</translation>
    </message>
    <message>
        <source>Включить светлую тему</source>
        <translation>Enable light theme</translation>
    </message>
    <message>
        <source>Переключить на тёмную тему</source>
        <translation>Switch to dark theme</translation>
    </message>
    <message>
        <source>Переключить на светлую тему</source>
        <translation>Switch to light theme</translation>
    </message>
    <message>
        <source>Переключить на английский язык</source>
        <translation>Switch to English</translation>
    </message>
    <message>
        <source>Переключить на русский язык</source>
        <translation>Switch to Russian</translation>
    </message>
    <message>
        <source>Журнал</source>
        <translation>Log</translation>
    </message>
</context>
<context>
    <name>MakerPages</name>
    <message>
        <source>Не удалось открыть ссылку &quot;%1&quot;: в системе не найден браузер.</source>
        <translation>Couldn&apos;t open the link “%1”: no web browser was found on this system.</translation>
    </message>
</context>
<context>
    <name>ModifierDialog</name>
    <message>
        <source>Настройка модификатора</source>
        <translation>Modifier settings</translation>
    </message>
    <message>
        <source>Модификатор XY</source>
        <translation>Modifier XY</translation>
    </message>
    <message>
        <source>Модификатор X</source>
        <translation>Modifier X</translation>
    </message>
    <message>
        <source>Модификатор Y</source>
        <translation>Modifier Y</translation>
    </message>
    <message>
        <source>Рандомизация</source>
        <translation>Randomization</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>None</translation>
    </message>
    <message>
        <source>немного</source>
        <translation>Slight</translation>
    </message>
    <message>
        <source>средне</source>
        <translation>Moderate</translation>
    </message>
    <message>
        <source>сильно</source>
        <translation>High</translation>
    </message>
</context>
<context>
    <name>OverlayPalette</name>
    <message>
        <source>Глубокий чёрный</source>
        <translation>Deep black</translation>
    </message>
    <message>
        <source>Классический тёмный</source>
        <translation>Classic dark</translation>
    </message>
    <message>
        <source>Графитовый</source>
        <translation>Graphite</translation>
    </message>
    <message>
        <source>Стальной серый</source>
        <translation>Steel gray</translation>
    </message>
    <message>
        <source>Сланцевый синий</source>
        <translation>Slate blue</translation>
    </message>
    <message>
        <source>Морская волна</source>
        <translation>Seafoam</translation>
    </message>
    <message>
        <source>Лесной зелёный</source>
        <translation>Forest green</translation>
    </message>
    <message>
        <source>Бордовый</source>
        <translation>Burgundy</translation>
    </message>
    <message>
        <source>Шоколадный</source>
        <translation>Chocolate</translation>
    </message>
    <message>
        <source>Туманный светлый</source>
        <translation>Misty light</translation>
    </message>
    <message>
        <source>Ледяной белый</source>
        <translation>Icy white</translation>
    </message>
    <message>
        <source>Тёплый белый</source>
        <translation>Warm white</translation>
    </message>
    <message>
        <source>Серебристый</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>Холодный серый</source>
        <translation>Cool gray</translation>
    </message>
    <message>
        <source>Небесный акцент</source>
        <translation>Sky accent</translation>
    </message>
    <message>
        <source>Лаймовый акцент</source>
        <translation>Lime accent</translation>
    </message>
    <message>
        <source>Янтарный</source>
        <translation>Amber</translation>
    </message>
    <message>
        <source>Классический чёрный</source>
        <translation>Classic black</translation>
    </message>
</context>
<context>
    <name>OverlayPlacement</name>
    <message>
        <source>Верхний левый угол</source>
        <translation>Top-left corner</translation>
    </message>
    <message>
        <source>Верхний правый угол</source>
        <translation>Top-right corner</translation>
    </message>
    <message>
        <source>Нижний левый угол</source>
        <translation>Bottom-left corner</translation>
    </message>
    <message>
        <source>Нижний правый угол</source>
        <translation>Bottom-right corner</translation>
    </message>
    <message>
        <source>Произвольное положение</source>
        <translation>Custom position</translation>
    </message>
</context>
<context>
    <name>OverlayWidget</name>
    <message>
        <source>Переместите и нажмите &quot;Сохранить&quot;</source>
        <translation>Drag it into place and click “Save”</translation>
    </message>
    <message>
        <source>Сценарии</source>
        <translation>Scripts</translation>
    </message>
    <message>
        <source>Сценарии (%1)</source>
        <translation>Scripts (%1)</translation>
    </message>
    <message>
        <source>Отключить сценарий: %1</source>
        <translation>Disable script: %1</translation>
    </message>
    <message>
        <source>Сценарий не выбран</source>
        <translation>No script selected</translation>
    </message>
    <message>
        <source>Сценарии не назначены</source>
        <translation>No scripts assigned</translation>
    </message>
    <message>
        <source>включен</source>
        <translation>on</translation>
    </message>
    <message>
        <source>%1 (включен)</source>
        <translation>%1 (on)</translation>
    </message>
    <message>
        <source>выключен</source>
        <translation>off</translation>
    </message>
    <message>
        <source>%1 (выключен)</source>
        <translation>%1 (off)</translation>
    </message>
    <message>
        <source>Автокликер: %1</source>
        <translation>Autoclicker: %1</translation>
    </message>
    <message>
        <source>Вкл/выкл: %1</source>
        <translation>On/off: %1</translation>
    </message>
    <message>
        <source>Старт/стоп: %1</source>
        <translation>Start/Stop: %1</translation>
    </message>
    <message>
        <source>Caps Lock: %1</source>
        <translation>Caps Lock: %1</translation>
    </message>
    <message>
        <source>кликает</source>
        <translation>clicking</translation>
    </message>
    <message>
        <source>%1 (кликает)</source>
        <translation>%1 (clicking)</translation>
    </message>
</context>
<context>
    <name>PreviewClient</name>
    <message>
        <source>процесс предпросмотра завершился аварийно</source>
        <translation>the preview process crashed</translation>
    </message>
    <message>
        <source>процесс предпросмотра завершился с кодом %1</source>
        <translation>the preview process ended with code %1</translation>
    </message>
</context>
<context>
    <name>PreviewPlot</name>
    <message>
        <source>След указателя</source>
        <translation>Pointer trail</translation>
    </message>
    <message>
        <source>x по времени</source>
        <translation>x over time</translation>
    </message>
    <message>
        <source>y по времени</source>
        <translation>y over time</translation>
    </message>
</context>
<context>
    <name>PreviewResult</name>
    <message>
        <source>Ошибка в сценарии: %1</source>
        <translation>Error in the script: %1</translation>
    </message>
    <message>
        <source>Предпросмотр остановлен: сценарий работал дольше 60 с виртуального времени</source>
        <translation>Preview stopped: the script ran longer than 60 s of virtual time</translation>
    </message>
    <message>
        <source>Предпросмотр остановлен: больше 1 000 000 вызовов функций сценария</source>
        <translation>Preview stopped: more than 1,000,000 calls of script functions</translation>
    </message>
    <message>
        <source>Предпросмотр остановлен: сценарий крутится в цикле без вызовов функций</source>
        <translation>Preview stopped: the script loops without calling any function</translation>
    </message>
    <message>
        <source>Предпросмотр остановлен: расчёт занял больше 2 с</source>
        <translation>Preview stopped: the run took more than 2 s</translation>
    </message>
    <message>
        <source>Предпросмотр остановлен: сценарию не хватило памяти</source>
        <translation>Preview stopped: the script ran out of memory</translation>
    </message>
    <message>
        <source>Предпросмотр не ответил вовремя и был остановлен</source>
        <translation>The preview did not answer in time and was stopped</translation>
    </message>
    <message>
        <source>Не удалось выполнить предпросмотр: %1</source>
        <translation>Could not run the preview: %1</translation>
    </message>
</context>
<context>
    <name>PreviewTimeline</name>
    <message>
        <source>ЛКМ зажата 2 с</source>
        <translation>Left button held 2 s</translation>
    </message>
    <message>
        <source>ПКМ, затем ЛКМ 2 с</source>
        <translation>Right, then left 2 s</translation>
    </message>
    <message>
        <source>Нажатие ЛКМ</source>
        <translation>Left click</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>Выполняется…</source>
        <translation>Running…</translation>
    </message>
    <message>
        <source>… ещё строк: %1</source>
        <translation>… %1 more lines</translation>
    </message>
    <message>
        <source>Экспорт PNG</source>
        <translation>Export PNG</translation>
    </message>
    <message>
        <source>Изображения PNG (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>Не удалось сохранить файл %1</source>
        <translation>Could not save the file %1</translation>
    </message>
    <message>
        <source>Предпросмотр</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Предпросмотр — %1</source>
        <translation>Preview — %1</translation>
    </message>
    <message>
        <source>Caps Lock включён</source>
        <translation>Caps Lock on</translation>
    </message>
    <message>
        <source>Запустить снова</source>
        <translation>Run again</translation>
    </message>
    <message>
        <source>Наложить предыдущий запуск</source>
        <translation>Overlay the previous run</translation>
    </message>
    <message>
        <source>Экспорт PNG…</source>
        <translation>Export PNG…</translation>
    </message>
    <message>
        <source>Путь: %1 пикс., длительность: %2 мс</source>
        <translation>Path: %1 px, duration: %2 ms</translation>
    </message>
    <message>
        <source>(показаны первые %1 записей, ещё %2 не показаны)</source>
        <translation>(the first %1 records shown, %2 more not shown)</translation>
    </message>
</context>
<context>
    <name>ProfileExporter</name>
    <message>
        <source>Не удалось скопировать сценарий %1
%2</source>
        <translation>Couldn&apos;t copy script %1
%2</translation>
    </message>
    <message>
        <source>Не удалось скопировать файл %1
%2</source>
        <translation>Couldn&apos;t copy the file %1
%2</translation>
    </message>
    <message>
        <source>Не удалось создать манифест</source>
        <translation>Failed to create manifest</translation>
    </message>
    <message>
        <source>Файл: %1</source>
        <translation>File: %1</translation>
    </message>
    <message>
        <source>Не удалось экспортировать профиль</source>
        <translation>Failed to export the profile</translation>
    </message>
    <message>
        <source>Целевой файл: %1</source>
        <translation>Target file: %1</translation>
    </message>
    <message>
        <source>Ошибка при записи архива: %1</source>
        <translation>Error writing the archive: %1</translation>
    </message>
    <message>
        <source>Профиль успешно экспортирован</source>
        <translation>Profile exported successfully</translation>
    </message>
</context>
<context>
    <name>ProfileImporter</name>
    <message>
        <source>Не удалось распаковать профиль</source>
        <translation>Failed to unpack the profile</translation>
    </message>
    <message>
        <source>Архив: %1</source>
        <translation>Archive: %1</translation>
    </message>
    <message>
        <source>Ошибка при чтении архива: %1</source>
        <translation>Error reading the archive: %1</translation>
    </message>
    <message>
        <source>Архив содержит элементы, которые ведут за пределы папки профиля или не являются файлами; они пропущены:
%1</source>
        <translation>The archive contains entries that lead outside the profile folder or are not files; they were skipped:
%1</translation>
    </message>
    <message>
        <source>Не удалось импортировать профиль
Манифест %1 не найден</source>
        <translation>Couldn&apos;t import the profile
Manifest %1 not found</translation>
    </message>
    <message>
        <source>Не удалось импортировать профиль</source>
        <translation>Failed to import the profile</translation>
    </message>
    <message>
        <source>Файл манифеста: %1</source>
        <translation>Manifest file: %1</translation>
    </message>
    <message>
        <source>Импорт профиля завершен с ошибками</source>
        <translation>Profile import finished with errors</translation>
    </message>
    <message>
        <source>Импорт профиля успешно завершен</source>
        <translation>Profile import completed successfully</translation>
    </message>
    <message>
        <source>Сценарий %1 не импортирован: его путь ведёт за пределы папки профиля.</source>
        <translation>Script %1 was not imported: its path leads outside the profile folder.</translation>
    </message>
    <message>
        <source>Не найден сценарий %1
Ожидался файл: %2</source>
        <translation>Script %1 not found
Expected file: %2</translation>
    </message>
    <message>
        <source>Не удалось скопировать сценарий %1
%2</source>
        <translation>Couldn&apos;t copy script %1
%2</translation>
    </message>
    <message>
        <source>Профиль</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Профиль &quot;%1&quot; добавлен под именем &quot;%2&quot;.</source>
        <translation>The profile &quot;%1&quot; was added as &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Архив %1 содержит больше %2 элементов.</source>
        <translation>The archive %1 holds more than %2 entries.</translation>
    </message>
    <message>
        <source>Архив %1 распаковывается больше чем в %2 МиБ.</source>
        <translation>The archive %1 unpacks to more than %2 MiB.</translation>
    </message>
    <message>
        <source>Файл %1 в архиве %2 больше %3 МиБ.</source>
        <translation>The file %1 in the archive %2 is larger than %3 MiB.</translation>
    </message>
    <message>
        <source>Файл %1 в архиве %2 больше размера, указанного в архиве: архив повреждён или подделан.</source>
        <translation>The file %1 in the archive %2 is larger than the archive says: the archive is damaged or forged.</translation>
    </message>
</context>
<context>
    <name>ProfileLibrary</name>
    <message>
        <source>Название профиля не может быть пустым.</source>
        <translation>The profile name cannot be empty.</translation>
    </message>
    <message>
        <source>Название &quot;%1&quot; зарезервировано.</source>
        <translation>The name &quot;%1&quot; is reserved.</translation>
    </message>
    <message>
        <source>Профиль с таким именем уже существует.</source>
        <translation>A profile with that name already exists.</translation>
    </message>
    <message>
        <source>Не удалось создать папку профиля &quot;%1&quot;.</source>
        <translation>Couldn&apos;t create the profile folder &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Папка &quot;%1&quot; уже существует.</source>
        <translation>The folder &quot;%1&quot; already exists.</translation>
    </message>
    <message>
        <source>Не удалось переместить папку профиля в &quot;%1&quot;. Возможно, её файлы открыты в другой программе.</source>
        <translation>Couldn&apos;t move the profile folder to &quot;%1&quot;. Its files may be open in another application.</translation>
    </message>
    <message>
        <source>Не удалось скопировать файл &quot;%1&quot;: %2</source>
        <translation>Couldn&apos;t copy the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Не удалось удалить папку профиля &quot;%1&quot;. Возможно, её файлы открыты в другой программе.</source>
        <translation>Couldn&apos;t delete the profile folder &quot;%1&quot;. Its files may be open in another application.</translation>
    </message>
</context>
<context>
    <name>ProfileTransfer</name>
    <message>
        <source>Не удалось создать временную директорию</source>
        <translation>Failed to create a temporary directory</translation>
    </message>
</context>
<context>
    <name>ProfileTrustCheck</name>
    <message>
        <source>Сценарии профиля &quot;%1&quot; получат доступ к файлам и программам компьютера: они смогут читать, изменять и удалять ваши файлы, запускать программы и загружать библиотеки. Разрешайте это только сценариям, которые вы написали сами или которым полностью доверяете.</source>
        <translation>The scripts of profile &quot;%1&quot; will get access to the computer&apos;s files and programs: they will be able to read, change and delete your files, run programs and load libraries. Allow this only for scripts you wrote yourself or fully trust.</translation>
    </message>
    <message>
        <source>Сценарии этого профиля могут работать с файлами и программами</source>
        <translation>Scripts of this profile may use files and programs</translation>
    </message>
    <message>
        <source>Без этой отметки сценарии не читают и не пишут файлы, не запускают программы и не загружают библиотеки. Отметка действует со следующего включения сценария.</source>
        <translation>Without this mark scripts neither read nor write files, run programs or load libraries. The mark takes effect from the next activation of a script.</translation>
    </message>
</context>
<context>
    <name>ProgramsPanel</name>
    <message>
        <source>Переключать профиль по активной программе</source>
        <translation>Switch the profile to follow the active program</translation>
    </message>
    <message>
        <source>Программы профиля: он становится текущим, пока одна из них активна</source>
        <translation>Programs of this profile: it becomes the current profile while one of them is in front</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Выбрать окно</source>
        <translation>Pick a window</translation>
    </message>
    <message>
        <source>Переключитесь в нужную программу…</source>
        <translation>Switch to the program you want…</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Программа &quot;%1&quot; уже указана в профиле &quot;%2&quot;: программа может относиться только к одному профилю.</source>
        <translation>The program &quot;%1&quot; is already listed in the profile &quot;%2&quot;: a program can belong to one profile only.</translation>
    </message>
</context>
<context>
    <name>QGlobalShortcut</name>
    <message>
        <source>Сочетание уже используется другой программой.</source>
        <translation>The combination is already used by another application.</translation>
    </message>
    <message>
        <source>Код ошибки: %1</source>
        <translation>Error code: %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Имя &quot;%1&quot; нельзя использовать для папки профиля.</source>
        <translation>The name &quot;%1&quot; cannot be used for a profile folder.</translation>
    </message>
    <message>
        <source>Профиль &quot;%1&quot; хранился бы в той же папке, что и профиль &quot;%2&quot;.</source>
        <translation>Profile &quot;%1&quot; would be stored in the same folder as profile &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не найден.</source>
        <translation>The %1 file was not found.</translation>
    </message>
    <message>
        <source>Не удалось открыть файл &quot;%1&quot;: %2</source>
        <translation>Couldn&apos;t open file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Ошибка разбора JSON в файле &quot;%1&quot;: %2 (позиция %3)</source>
        <translation>Error parsing JSON in the &quot;%1&quot; file: %2 (position %3)</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; имеет неверный формат: ожидался массив профилей.</source>
        <translation>The %1 file has an incorrect format: an array of profiles was expected.</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не содержит ни одного профиля.</source>
        <translation>The %1 file does not contain any profiles.</translation>
    </message>
    <message>
        <source>Не удалось открыть файл &quot;%1&quot; для записи: %2</source>
        <translation>Couldn&apos;t open the %1 file for writing: %2</translation>
    </message>
    <message>
        <source>Ошибка записи в файл &quot;%1&quot;: %2</source>
        <translation>Error writing to the %1 file: %2</translation>
    </message>
    <message>
        <source>Не удалось сохранить файл &quot;%1&quot;: %2</source>
        <translation>Couldn&apos;t save file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>%1 копия</source>
        <translation>%1 copy</translation>
    </message>
    <message>
        <source>%1 копия (%2)</source>
        <translation>%1 copy (%2)</translation>
    </message>
</context>
<context>
    <name>RecordingFileName</name>
    <message>
        <source>Запись %1</source>
        <translation>Recording %1</translation>
    </message>
</context>
<context>
    <name>RecordingPanel</name>
    <message>
        <source>● Запись через %1</source>
        <translation>● Recording in %1</translation>
    </message>
    <message>
        <source>● Запись</source>
        <translation>● Recording</translation>
    </message>
    <message>
        <source>Ничего не записано: сценарий не сохранён.</source>
        <translation>Nothing was recorded: no script was saved.</translation>
    </message>
    <message>
        <source>Не удалось сохранить запись в %1: %2</source>
        <translation>Failed to save the recording to %1: %2</translation>
    </message>
    <message>
        <source>Записать</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>Стоп</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Движение мыши</source>
        <translation>Mouse movement</translation>
    </message>
    <message>
        <source>Записывать движение мыши</source>
        <translation>Record mouse movement</translation>
    </message>
    <message>
        <source>Задержка, мс:</source>
        <translation>Delay, ms:</translation>
    </message>
    <message>
        <source>Вместо записанных пауз ждать между шагами одно и то же время</source>
        <translation>Wait the same time between steps instead of the recorded pauses</translation>
    </message>
    <message>
        <source>Запись остановлена: в ней %1 событий, это предел одной записи.</source>
        <translation>Recording stopped: it reached %1 events, the most a recording can hold.</translation>
    </message>
    <message>
        <source>Запись остановлена: она длится %1 минут, это предел одной записи.</source>
        <translation>Recording stopped: it reached %1 minutes, the longest a recording can run.</translation>
    </message>
    <message>
        <source>Удалить запись?</source>
        <translation>Discard the recording?</translation>
    </message>
    <message>
        <source>Запись сохранена в %1. В профиль она не добавлена: файл лежит вне папки профиля.</source>
        <translation>The recording was saved to %1. It was not added to the profile: the file lies outside the profile&apos;s folder.</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Try again</translation>
    </message>
    <message>
        <source>Сохранить как…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>Удалить запись</source>
        <translation>Discard recording</translation>
    </message>
    <message>
        <source>Сохранить запись</source>
        <translation>Save recording</translation>
    </message>
</context>
<context>
    <name>RecordingSaveDialog</name>
    <message>
        <source>Один раз при активации сценария</source>
        <translation>Once when the script is activated</translation>
    </message>
    <message>
        <source>При каждом нажатии кнопки мыши</source>
        <translation>On every press of a mouse button</translation>
    </message>
    <message>
        <source>Повторять, пока кнопка мыши зажата</source>
        <translation>Repeatedly while a mouse button is held</translation>
    </message>
    <message>
        <source>Сохранение записи</source>
        <translation>Save recording</translation>
    </message>
    <message>
        <source>Левая (1)</source>
        <translation>Left (1)</translation>
    </message>
    <message>
        <source>Средняя (2)</source>
        <translation>Middle (2)</translation>
    </message>
    <message>
        <source>Правая (3)</source>
        <translation>Right (3)</translation>
    </message>
    <message>
        <source>Назад (4)</source>
        <translation>Back (4)</translation>
    </message>
    <message>
        <source>Вперёд (5)</source>
        <translation>Forward (5)</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Кнопка мыши:</source>
        <translation>Mouse button:</translation>
    </message>
    <message>
        <source>Когда воспроизводить запись?</source>
        <translation>When should the recording play?</translation>
    </message>
    <message>
        <source>Кнопка «%1» нажимается в самой записи: воспроизведение тоже нажмёт и отпустит её, и запуск по этой кнопке может сработать не так, как ожидается.</source>
        <translation>The button “%1” is pressed within the recording itself: the playback presses and releases it too, so a trigger on this button may not work as expected.</translation>
    </message>
</context>
<context>
    <name>ScenarioErrorNotice</name>
    <message>
        <source>Ошибка в %1: строка %2</source>
        <translation>Error in %1: line %2</translation>
    </message>
    <message>
        <source>Ошибка в %1</source>
        <translation>Error in %1</translation>
    </message>
</context>
<context>
    <name>ScriptData</name>
    <message>
        <source>Сценарий</source>
        <translation>Script</translation>
    </message>
    <message>
        <source>сценарий &quot;%1&quot;</source>
        <translation>script “%1”</translation>
    </message>
</context>
<context>
    <name>ScriptEditor</name>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Сохранить (Ctrl+S)</source>
        <translation>Save (Ctrl+S)</translation>
    </message>
    <message>
        <source>Найти и заменить</source>
        <translation>Find and replace</translation>
    </message>
    <message>
        <source>Найти и заменить (Ctrl+F)</source>
        <translation>Find and replace (Ctrl+F)</translation>
    </message>
    <message>
        <source>Предпросмотр</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Показать, что сделает сценарий (F5)</source>
        <translation>Show what the script will do (F5)</translation>
    </message>
    <message>
        <source>Открыть во внешнем редакторе</source>
        <translation>Open in an external editor</translation>
    </message>
    <message>
        <source>Строка %1: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>%1 (строка %2)</source>
        <translation>%1 (line %2)</translation>
    </message>
    <message>
        <source>Неизвестные имена: %1</source>
        <translation>Unknown names: %1</translation>
    </message>
    <message>
        <source>В кодировке Windows-1251 нет некоторых символов текста. Сохранить файл «%1» в UTF-8?</source>
        <translation>Windows-1251 has no bytes for some characters of the text. Save the file “%1” in UTF-8?</translation>
    </message>
    <message>
        <source>Не удалось сохранить файл «%1»: %2</source>
        <translation>Could not save the file “%1”: %2</translation>
    </message>
    <message>
        <source>Файл «%1» изменён на диске. Загрузить его заново? Несохранённые изменения в редакторе будут потеряны.</source>
        <translation>The file “%1” changed on disk. Load it again? The unsaved changes in the editor will be lost.</translation>
    </message>
    <message>
        <source>Файл «%1» изменён на диске. Загрузить его заново?</source>
        <translation>The file “%1” changed on disk. Load it again?</translation>
    </message>
    <message>
        <source>Не удалось открыть файл сценария &quot;%1&quot;.</source>
        <translation>Could not open the script file "%1".</translation>
    </message>
    <message>
        <source>Сохранить изменения в «%1»?</source>
        <translation>Save the changes to “%1”?</translation>
    </message>
</context>
<context>
    <name>ScriptEditors</name>
    <message>
        <source>Не удалось открыть файл сценария &quot;%1&quot;.</source>
        <translation>Could not open the script file "%1".</translation>
    </message>
</context>
<context>
    <name>ScriptsListWidget</name>
    <message>
        <source>Менеджер сценариев</source>
        <translation>Script manager</translation>
    </message>
    <message>
        <source>Управляйте сценариями и настраивайте горячие клавиши для их активации</source>
        <translation>Manage scripts and configure hotkeys to trigger them</translation>
    </message>
    <message>
        <source>Сценарий</source>
        <translation>Script</translation>
    </message>
    <message>
        <source>Добавить Lua</source>
        <translation>Add Lua</translation>
    </message>
    <message>
        <source>Сценарий не включен</source>
        <translation>No active script</translation>
    </message>
    <message>
        <source>Горячая клавиша, которая выключает активный сценарий</source>
        <translation>The hotkey that disables the active script</translation>
    </message>
    <message>
        <source>Выключить</source>
        <translation>Disable</translation>
    </message>
    <message>
        <source>Профиль</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Переименовать</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Настроить</source>
        <translation>Configure</translation>
    </message>
    <message>
        <source>Дублировать</source>
        <translation>Duplicate</translation>
    </message>
    <message>
        <source>Импорт</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Экспорт</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Описание</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Описание активного профиля.</source>
        <translation>Description of the active profile.</translation>
    </message>
    <message>
        <source>Автозамена</source>
        <translation>Auto-replace</translation>
    </message>
    <message>
        <source>Сценарий %1</source>
        <translation>Script %1</translation>
    </message>
    <message>
        <source>Не удалось установить горячую клавишу %1.</source>
        <translation>Failed to register hotkey %1.</translation>
    </message>
    <message>
        <source>Профиль сценариев &quot;%1&quot; не найден. Использован профиль по умолчанию.</source>
        <translation>Script profile “%1” not found. The default profile was used.</translation>
    </message>
    <message>
        <source>Следующие горячие клавиши конфликтуют и не будут назначены добавляемым сценариям:
%1
Задайте их вручную после переключения профиля.
Продолжить?</source>
        <translation>The following hotkeys conflict and will not be assigned to the added scripts:
%1
Please assign them manually after switching the profile.
Continue?</translation>
    </message>
    <message>
        <source>Введите имя профиля</source>
        <translation>Enter the profile name</translation>
    </message>
    <message>
        <source>Нельзя переименовать профиль по умолчанию.</source>
        <translation>You cannot rename the default profile.</translation>
    </message>
    <message>
        <source>Введите новое имя профиля</source>
        <translation>Enter a new profile name</translation>
    </message>
    <message>
        <source>Нельзя удалить профиль по умолчанию</source>
        <translation>The default profile cannot be deleted.</translation>
    </message>
    <message>
        <source>Удалить профиль?</source>
        <translation>Delete the profile?</translation>
    </message>
    <message>
        <source>Активный сценарий: %1</source>
        <translation>Active script: %1</translation>
    </message>
    <message>
        <source>Не удалось скопировать сценарий</source>
        <translation>Failed to copy the script</translation>
    </message>
    <message>
        <source>Импорт сценария</source>
        <translation>Import a script</translation>
    </message>
    <message>
        <source>Не удалось импортировать сценарий</source>
        <translation>Failed to import the script</translation>
    </message>
    <message>
        <source>Нет сценария для экспорта</source>
        <translation>There is no script to export</translation>
    </message>
    <message>
        <source>Экспорт сценария</source>
        <translation>Export the script</translation>
    </message>
    <message>
        <source>Не удалось экспортировать сценарий</source>
        <translation>Failed to export the script</translation>
    </message>
    <message>
        <source>Удалить сценарий?</source>
        <translation>Delete script?</translation>
    </message>
    <message>
        <source>Сочетание &quot;%1&quot; конфликтует.
Горячая клавиша будет сброшена. Задайте её вручную.
Продолжить?</source>
        <translation>The combination “%1” conflicts.
The hotkey will be cleared. Please set it manually.
Continue?</translation>
    </message>
    <message>
        <source>Сочетание &quot;%1&quot; конфликтует: %2.
Горячая клавиша будет сброшена. Задайте её вручную.
Продолжить?</source>
        <translation>The combination “%1” conflicts with %2.
The hotkey will be cleared. Please set it manually.
Continue?</translation>
    </message>
    <message>
        <source>Продолжить</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Выбрать сценарий</source>
        <translation>Select script</translation>
    </message>
</context>
<context>
    <name>ScriptsModel</name>
    <message>
        <source>Сценарий отключён</source>
        <translation>Script disabled</translation>
    </message>
    <message>
        <source>Сценарий &quot;%1&quot; отключён</source>
        <translation>Script “%1” is off</translation>
    </message>
    <message>
        <source>Не найден lua файл - %1</source>
        <translation>Lua file not found — %1</translation>
    </message>
    <message>
        <source>Ошибка - %1 в lua файле - %2</source>
        <translation>Error — %1 in Lua file %2</translation>
    </message>
    <message>
        <source>Не удалось выполнить сценарий</source>
        <translation>Failed to execute the script</translation>
    </message>
    <message>
        <source>Не удалось выполнить сценарий: %1</source>
        <translation>Failed to execute the script: %1</translation>
    </message>
</context>
<context>
    <name>SettingsWgt</name>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Настройки программы</source>
        <translation>Application settings</translation>
    </message>
    <message>
        <source>Основные</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Звук активации сценария</source>
        <translation>Script activation sound</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Да</source>
        <translation>On</translation>
    </message>
    <message>
        <source>Озвучивать название сценария</source>
        <translation>Announce the script name</translation>
    </message>
    <message>
        <source>Голос</source>
        <translation>Voice</translation>
    </message>
    <message>
        <source>Скорость</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Способ ввода</source>
        <translation>Input method</translation>
    </message>
    <message>
        <source>Системный API</source>
        <translation>System API</translation>
    </message>
    <message>
        <source>Драйвер</source>
        <translation>Driver</translation>
    </message>
    <message>
        <source>Модификаторы</source>
        <translation>Modifiers</translation>
    </message>
    <message>
        <source>Модификаторы системного API</source>
        <translation>System API modifiers</translation>
    </message>
    <message>
        <source>По X и Y</source>
        <translation>Along X and Y</translation>
    </message>
    <message>
        <source>По X</source>
        <translation>Along X</translation>
    </message>
    <message>
        <source>По Y</source>
        <translation>Along Y</translation>
    </message>
    <message>
        <source>Сбросить</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Модификаторы драйвера</source>
        <translation>Driver modifiers</translation>
    </message>
    <message>
        <source>Оверлей</source>
        <translation>Overlay</translation>
    </message>
    <message>
        <source>Основное</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Показывать оверлей</source>
        <translation>Show overlay</translation>
    </message>
    <message>
        <source>Показывать сценарии</source>
        <translation>Show scripts</translation>
    </message>
    <message>
        <source>Подсвечивать активный сценарий</source>
        <translation>Highlight the active script</translation>
    </message>
    <message>
        <source>Показывать статус автокликера</source>
        <translation>Show autoclicker status</translation>
    </message>
    <message>
        <source>Расположение</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Положение</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Переместить оверлей</source>
        <translation>Move overlay</translation>
    </message>
    <message>
        <source>Горячая клавиша оверлея</source>
        <translation>Overlay hotkey</translation>
    </message>
    <message>
        <source>Стилизация</source>
        <translation>Appearance</translation>
    </message>
    <message>
        <source>Цвет фона</source>
        <translation>Background color</translation>
    </message>
    <message>
        <source>Прозрачность фона</source>
        <translation>Background opacity</translation>
    </message>
    <message>
        <source>Цвет текста</source>
        <translation>Text color</translation>
    </message>
    <message>
        <source>Прозрачность текста</source>
        <translation>Text opacity</translation>
    </message>
    <message>
        <source>Сбросить настройки</source>
        <translation>Reset the settings</translation>
    </message>
    <message>
        <source>Сохранить настройки</source>
        <translation>Save the settings</translation>
    </message>
    <message>
        <source>Пользовательский</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>Координаты X: %1    Y: %2</source>
        <translation>Coordinates X: %1 Y: %2</translation>
    </message>
    <message>
        <source>Сбросить настройки?</source>
        <translation>Reset settings?</translation>
    </message>
    <message>
        <source>Драйвер виртуальной мыши есть только для Windows.</source>
        <translation>The virtual mouse driver is available for Windows only.</translation>
    </message>
    <message>
        <source>Лицензии</source>
        <translation>Licenses</translation>
    </message>
    <message>
        <source>Запускать от имени администратора</source>
        <translation>Run as administrator</translation>
    </message>
    <message>
        <source>Память сценариев профиля</source>
        <translation>Script memory per profile</translation>
    </message>
    <message>
        <source>Сценарий, которому не хватило этой памяти, выключается с ошибкой &quot;not enough memory&quot;, а память возвращается системе.</source>
        <translation>A script that runs out of this memory is turned off with the error &quot;not enough memory&quot;, and the memory is given back to the system.</translation>
    </message>
    <message>
        <source> МиБ</source>
        <translation> MiB</translation>
    </message>
    <message>
        <source>Открыть папку журнала</source>
        <translation>Open the log folder</translation>
    </message>
    <message>
        <source>Не удалось открыть папку журнала %1</source>
        <translation>Couldn&apos;t open the log folder %1</translation>
    </message>
</context>
<context>
    <name>SingleScriptWidget</name>
    <message>
        <source>Выбрать сценарий</source>
        <translation>Select script</translation>
    </message>
    <message>
        <source>Горячая клавиша</source>
        <translation>hotkey</translation>
    </message>
    <message>
        <source>Изменить</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Настроить</source>
        <translation>Configure</translation>
    </message>
    <message>
        <source>Дублировать</source>
        <translation>Duplicate</translation>
    </message>
    <message>
        <source>Экспорт</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Импорт</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Сценарии Lua (*.lua);;Все файлы (*)</source>
        <translation>Lua scripts (*.lua);;All files (*)</translation>
    </message>
    <message>
        <source>Файл сценария не найден</source>
        <translation>Script file not found</translation>
    </message>
    <message>
        <source>Сначала выберите файл сценария</source>
        <translation>Choose a script file first</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Не удалось загрузить стили интерфейса.</source>
        <translation>Couldn&apos;t load interface styles.</translation>
    </message>
    <message>
        <source>Clavitor не может работать с этим рабочим столом (%1): горячие клавиши, ввод и перехват кнопок мыши действуют только внутри программы. Запустите Clavitor в сеансе X11, а в сеансе Wayland — через XWayland, с переменной окружения QT_QPA_PLATFORM=xcb.</source>
        <translation>Clavitor cannot work with this desktop (%1): hotkeys, input and the mouse-button hook act only inside the program. Run Clavitor in an X11 session, or in a Wayland session through XWayland, with the environment variable QT_QPA_PLATFORM=xcb.</translation>
    </message>
    <message>
        <source>У сервера X11 нет расширения XTEST или XKB: горячие клавиши, ввод и перехват кнопок мыши действуют только внутри программы. Запустите Clavitor на сервере X11 с этими расширениями.</source>
        <translation>The X11 server lacks the XTEST or XKB extension: hotkeys, input and the mouse-button hook act only inside the program. Run Clavitor on an X11 server with these extensions.</translation>
    </message>
    <message>
        <source>Clavitor уже запущен, но не отвечает. Завершите его и запустите Clavitor снова.</source>
        <translation>Clavitor is already running but does not answer. Quit it and start Clavitor again.</translation>
    </message>
</context>
<context>
    <name>VoiceChoices</name>
    <message>
        <source>Женский %1</source>
        <translation>Female %1</translation>
    </message>
    <message>
        <source>Голос %1</source>
        <translation>Voice %1</translation>
    </message>
</context>
</TS>
