<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A small English translation for the tests: menu titles, two commands and a page caption. -->
<TS version="2.1" language="en_US">
<context>
    <name>Kelmora</name>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Параметры</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Статистика</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Язык интерфейса</source>
        <translation>Interface language</translation>
    </message>
</context>
</TS>
