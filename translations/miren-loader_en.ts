<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>SessionReport</name>
    <message numerus="yes">
        <location filename="../src/session_report/SessionReport.cpp" line="+326"/>
        <source>%n more row(s) on the next page.</source>
        <translation>
            <numerusform>%n more row on the next page.</numerusform>
            <numerusform>%n more rows on the next page.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SessionReportBuilder</name>
    <message numerus="yes">
        <location filename="../src/session_report/SessionReportBuilder.cpp" line="+141"/>
        <source>%n session(s)</source>
        <translation>
            <numerusform>%n session</numerusform>
            <numerusform>%n sessions</numerusform>
        </translation>
    </message>
</context>
</TS>
