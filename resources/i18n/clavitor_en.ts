<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>FramelessWindow</name>
    <message>
        <source>Закрыть программу или свернуть в трей?</source>
        <translation>Exit the app or minimize to the tray?</translation>
    </message>
    <message>
        <source>В трей</source>
        <translation>To tray</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
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
        <translation>Go to</translation>
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
</context>
<context>
    <name>ModifierDialog</name>
    <message>
        <source>Настройка модификатора</source>
        <translation>Modifier configuration</translation>
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
        <translation>Modifier y</translation>
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
        <translation>Slightly</translation>
    </message>
    <message>
        <source>средне</source>
        <translation>Moderately</translation>
    </message>
    <message>
        <source>сильно</source>
        <translation>High</translation>
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
        <translation>Script is disabled</translation>
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
        <translation>The default profile cannot be deleted</translation>
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
</context>
<context>
    <name>ScriptsModel</name>
    <message>
        <source>Сценарий отключён</source>
        <translation>Script disabled</translation>
    </message>
    <message>
        <source>Сценарий &quot;%1&quot; отключён</source>
        <translation>The &quot;%1&quot; scenario is disabled</translation>
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
        <source>Не удалось открыть файл сценария &quot;%1&quot;.</source>
        <translation>Couldn&apos;t open the script file &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Не удалось загрузить стили интерфейса.</source>
        <translation>Couldn&apos;t load interface styles.</translation>
    </message>
</context>
</TS>
