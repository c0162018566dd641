<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>Startup</name>
    <message>
        <source>Не удалось загрузить стили интерфейса.</source>
        <translation>Couldn&apos;t load interface styles.</translation>
    </message>
</context>
</TS>
