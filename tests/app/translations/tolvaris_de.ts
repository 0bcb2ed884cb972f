<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A small catalogue for the tests, written for them: the chart window's
     title and first tab, and a main-window caption that must stay English
     because that window's texts are not translated. -->
<TS version="2.1" language="de_DE">
<context>
    <name>tolvaris::ChartWindow</name>
    <message>
        <source>Chart</source>
        <translation>Horoskop</translation>
    </message>
    <message>
        <source>&amp;Positions</source>
        <translation>&amp;Stellungen</translation>
    </message>
</context>
<context>
    <name>tolvaris::MainWindow</name>
    <message>
        <source>Natal Chart Tolvaris</source>
        <translation>Geburtshoroskop Tolvaris</translation>
    </message>
</context>
</TS>
