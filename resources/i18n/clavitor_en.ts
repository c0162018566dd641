<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
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
        <translation>Mice</translation>
    </message>
    <message>
        <source>Клавиатура</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>Без кликов</source>
        <translation>Without clicks</translation>
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
        <translation>While LMB</translation>
    </message>
    <message>
        <source>Пока ЛКМ и ПКМ</source>
        <translation>While LMB + RMB</translation>
    </message>
    <message>
        <source>Шорткат вкл/выкл</source>
        <translation>Toggle shortcut</translation>
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
        <source>автокликер</source>
        <translation>autoclicker</translation>
    </message>
    <message>
        <source>автокликер &quot;%1&quot;</source>
        <translation>autoclicker “%1”</translation>
    </message>
    <message>
        <source>переключение автокликера</source>
        <translation>Toggle autoclicker</translation>
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
        <translation>Autoclicker is running</translation>
    </message>
</context>
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
    <name>Startup</name>
    <message>
        <source>Не удалось загрузить стили интерфейса.</source>
        <translation>Couldn&apos;t load interface styles.</translation>
    </message>
</context>
</TS>
