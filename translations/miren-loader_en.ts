<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AnalysisWindow</name>
    <message numerus="yes">
        <location filename="../src/analysis_window/AnalysisWindow.cpp" line="+358"/>
        <location line="+296"/>
        <source>Add %n session(s) to the li&amp;brary</source>
        <translation>
            <numerusform>Add %n session to the li&amp;brary</numerusform>
            <numerusform>Add %n sessions to the li&amp;brary</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="-76"/>
        <source>%1 (%n lap(s), %2)</source>
        <translation>
            <numerusform>%1 (%n lap, %2)</numerusform>
            <numerusform>%1 (%n laps, %2)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BestsPane</name>
    <message numerus="yes">
        <location filename="../src/library_window/BestsPane.cpp" line="+59"/>
        <source>%1, %2 (%n session(s))</source>
        <translation>
            <numerusform>%1, %2 (%n session)</numerusform>
            <numerusform>%1, %2 (%n sessions)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+12"/>
        <source>Rolling best (%n sector(s))</source>
        <translation>
            <numerusform>Rolling best (%n sector)</numerusform>
            <numerusform>Rolling best (%n sectors)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+9"/>
        <source>Ideal lap (%n sector(s))</source>
        <translation>
            <numerusform>Ideal lap (%n sector)</numerusform>
            <numerusform>Ideal lap (%n sectors)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ChartTexts</name>
    <message numerus="yes">
        <location filename="../src/analysis_view/ChartPainter.cpp" line="+61"/>
        <source>… %n more session(s)</source>
        <translation>
            <numerusform>… %n more session</numerusform>
            <numerusform>… %n more sessions</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LibraryWindow</name>
    <message numerus="yes">
        <location filename="../src/library_window/LibraryWindow.cpp" line="+729"/>
        <source>Delete %n session(s) from the library, with their lap files and sheets? Undo brings them back until this window is closed.</source>
        <translation>
            <numerusform>Delete %n session from the library, with its lap file and sheet? Undo brings it back until this window is closed.</numerusform>
            <numerusform>Delete %n sessions from the library, with their lap files and sheets? Undo brings them back until this window is closed.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+8"/>
        <source>deletion of %n session(s)</source>
        <translation>
            <numerusform>deletion of %n session</numerusform>
            <numerusform>deletion of %n sessions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n session(s) deleted; Undo brings them back until the window is closed.</source>
        <translation>
            <numerusform>%n session deleted; Undo brings it back until the window is closed.</numerusform>
            <numerusform>%n sessions deleted; Undo brings them back until the window is closed.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+62"/>
        <source>Importing %n lap file(s)…</source>
        <translation>
            <numerusform>Importing %n lap file…</numerusform>
            <numerusform>Importing %n lap files…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+40"/>
        <location line="+26"/>
        <source>… and %n more</source>
        <translation>
            <numerusform>… and %n more</numerusform>
            <numerusform>… and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>The lap lengths of %n new session(s) match a track layout you have driven:

%1

Take the suggested track and layout?</source>
        <translation>
            <numerusform>The lap lengths of %n new session match a track layout you have driven:

%1

Take the suggested track and layout?</numerusform>
            <numerusform>The lap lengths of %n new sessions match a track layout you have driven:

%1

Take the suggested tracks and layouts?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ProgressChart</name>
    <message numerus="yes">
        <location filename="../src/library_view/ProgressChart.cpp" line="+343"/>
        <source>%1, %n session(s)</source>
        <translation>
            <numerusform>%1, %n session</numerusform>
            <numerusform>%1, %n sessions</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SessionReport</name>
    <message numerus="yes">
        <location filename="../src/session_report/SessionReport.cpp" line="+405"/>
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
        <location filename="../src/analysis_view/SessionReportBuilder.cpp" line="+134"/>
        <source>%n session(s)</source>
        <translation>
            <numerusform>%n session</numerusform>
            <numerusform>%n sessions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+68"/>
        <source>%n counted lap(s): mean %1, median %2</source>
        <translation>
            <numerusform>%n counted lap: mean %1, median %2</numerusform>
            <numerusform>%n counted laps: mean %1, median %2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+54"/>
        <source>Not read: %1 and %n more</source>
        <translation>
            <numerusform>Not read: %1 and %n more</numerusform>
            <numerusform>Not read: %1 and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+11"/>
        <source>%n line(s) of the table skipped, not lap lines: %1</source>
        <translation>
            <numerusform>%n line of the table skipped, not a lap line: %1</numerusform>
            <numerusform>%n lines of the table skipped, not lap lines: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%1: %n line(s) skipped, not lap lines: %2</source>
        <translation>
            <numerusform>%1: %n line skipped, not a lap line: %2</numerusform>
            <numerusform>%1: %n lines skipped, not lap lines: %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SummaryPanel</name>
    <message numerus="yes">
        <location filename="../src/analysis_window/SummaryPanel.cpp" line="+33"/>
        <source>%n counted lap(s): mean %1, median of the counted laps %2</source>
        <translation>
            <numerusform>%n counted lap: mean %1, median of the counted laps %2</numerusform>
            <numerusform>%n counted laps: mean %1, median of the counted laps %2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+25"/>
        <source>%n lines of the view are not lap lines: %1.</source>
        <translation>
            <numerusform>%n line of the view is not a lap line: %1.</numerusform>
            <numerusform>%n lines of the view are not lap lines: %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+138"/>
        <source>&quot;bil load&quot; stopped: %1 %n later file(s) not read.</source>
        <translation>
            <numerusform>&quot;bil load&quot; stopped: %1 %n later file not read.</numerusform>
            <numerusform>&quot;bil load&quot; stopped: %1 %n later files not read.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+96"/>
        <source>%n lap(s): %1 counted, %2 excluded (slower than %3 or faster than %4: %5 and %6 of the median lap %7, or by hand).</source>
        <translation>
            <numerusform>%n lap: %1 counted, %2 excluded (slower than %3 or faster than %4: %5 and %6 of the median lap %7, or by hand).</numerusform>
            <numerusform>%n laps: %1 counted, %2 excluded (slower than %3 or faster than %4: %5 and %6 of the median lap %7, or by hand).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+29"/>
        <source>The day over %n session(s): the times of all of them together; speeds in %1, each unit on its own.</source>
        <translation>
            <numerusform>The day over %n session: the times of all of them together; speeds in %1, each unit on its own.</numerusform>
            <numerusform>The day over %n sessions: the times of all of them together; speeds in %1, each unit on its own.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+60"/>
        <source>%n lap(s) in %1 sessions: %2 counted, %3 excluded (slower than %4 or faster than %5 of their session&apos;s median lap, or by hand).</source>
        <translation>
            <numerusform>%n lap in %1 sessions: %2 counted, %3 excluded (slower than %4 or faster than %5 of their session&apos;s median lap, or by hand).</numerusform>
            <numerusform>%n laps in %1 sessions: %2 counted, %3 excluded (slower than %4 or faster than %5 of their session&apos;s median lap, or by hand).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="-144"/>
        <source>%1: %n lap(s), speed in %2</source>
        <translation>
            <numerusform>%1: %n lap, speed in %2</numerusform>
            <numerusform>%1: %n laps, speed in %2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+63"/>
        <source>%n lap(s): %1 counted, %2 excluded.</source>
        <translation>
            <numerusform>%n lap: %1 counted, %2 excluded.</numerusform>
            <numerusform>%n laps: %1 counted, %2 excluded.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <location line="+90"/>
        <source>%n lap(s) without a lap time.</source>
        <translation>
            <numerusform>%n lap without a lap time.</numerusform>
            <numerusform>%n laps without a lap time.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="-69"/>
        <source>The day over %n session(s), speed in %1</source>
        <translation>
            <numerusform>The day over %n session, speed in %1</numerusform>
            <numerusform>The day over %n sessions, speed in %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+64"/>
        <source>%n lap(s) in %1 sessions: %2 counted, %3 excluded.</source>
        <translation>
            <numerusform>%n lap in %1 sessions: %2 counted, %3 excluded.</numerusform>
            <numerusform>%n laps in %1 sessions: %2 counted, %3 excluded.</numerusform>
        </translation>
    </message>
</context>
</TS>
