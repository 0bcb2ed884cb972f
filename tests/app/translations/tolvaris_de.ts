<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- The tests' own: two chart-window texts, one main-window caption. -->
<TS version="2.1" language="de_DE">
<context><name>tolvaris::ChartWindow</name>
  <message><source>Chart</source><translation>Horoskop</translation></message>
  <message><source>&amp;Positions</source><translation>&amp;Stellungen</translation></message>
</context>
<context><name>tolvaris::MainWindow</name>
  <message><source>Natal Chart Tolvaris</source><translation>Geburtshoroskop Tolvaris</translation></message>
</context>
</TS>
