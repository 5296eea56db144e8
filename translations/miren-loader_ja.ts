<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AnalysisText</name>
    <message>
        <location filename="../src/analysis_window/DisplayText.h" line="+33"/>
        <source>%1 G</source>
        <translation>%1 G</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>lap %1</source>
        <translation>%1周目</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 lap %2</source>
        <translation>%1 %2周目</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Session %1</source>
        <translation>セッション %1</translation>
    </message>
</context>
<context>
    <name>AnalysisWindow</name>
    <message>
        <location filename="../src/analysis_window/AnalysisWindow.cpp" line="+89"/>
        <source>Lap analysis</source>
        <translation>ラップ分析</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&amp;Session</source>
        <translation>セッション(&amp;S)</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>off</source>
        <translation>オフ</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Exclude laps slower than</source>
        <translation>除外する周回(&amp;E)：</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Export &amp;CSV…</source>
        <translation>CSVに書き出し(&amp;C)…</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>of the median</source>
        <translation>（中央値比）より遅い周回</translation>
    </message>
    <message>
        <location line="-17"/>
        <source>Laps slower than this share of their session&apos;s median of timed laps are not counted (100 to 1000 %); &quot;off&quot; counts every timed lap</source>
        <translation>セッションのタイム計測周回の中央値に対してこの割合より遅い周回を集計しません（100～1000 %）。「なし」ではタイムのある周回をすべて集計します</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Reset choices</source>
        <translation>選択をリセット(&amp;R)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Forget the laps you counted or excluded by hand</source>
        <translation>手動で集計・除外した周回の指定を取り消します</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&amp;Print…</source>
        <translation>印刷(&amp;P)…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Save as P&amp;DF…</source>
        <translation>PDF で保存(&amp;D)…</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The language of the analysis window; the main window&apos;s captions stay as they are</source>
        <translation>解析ウィンドウの表示言語（メインウィンドウの表示は変わりません）</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Lan&amp;guage</source>
        <translation>言語(&amp;G)</translation>
    </message>
    <message>
        <location line="+63"/>
        <source>Double-click a session to show it</source>
        <translation>ダブルクリックでそのセッションを表示</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Laps</source>
        <translation>周回(&amp;L)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sessions side by &amp;side</source>
        <translation>セッション比較(&amp;S)</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&amp;Lap times</source>
        <translation>ラップタイム(&amp;L)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Sector times</source>
        <translation>セクタータイム(&amp;S)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;TMP1/TMP2 ranges</source>
        <translation>TMP1/TMP2 の範囲(&amp;T)</translation>
    </message>
    <message>
        <location line="+70"/>
        <source>Export CSV</source>
        <translation>CSVに書き出し</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSVファイル (*.csv);;すべてのファイル (*)</translation>
    </message>
    <message>
        <location line="+100"/>
        <source>The view holds no lap table.

Load lap files with &quot;bil load&quot; or a saved table with &quot;Text load&quot;, and the analysis follows.</source>
        <translation>表示にラップ表がありません。

「bil load」でラップファイルを、または「Text load」で保存した表を読み込むと、分析が表示されます。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The lap table in the view holds no laps.</source>
        <translation>表示のラップ表に周回がありません。</translation>
    </message>
    <message numerus="yes">
        <location line="+12"/>
        <source>%1 (%n lap(s), %2)</source>
        <translation>
            <numerusform>%1（%n 周、%2）</numerusform>
        </translation>
    </message>
    <message>
        <location line="+7"/>
        <source>All sessions: the day</source>
        <translation>全セッション：1日</translation>
    </message>
    <message numerus="yes">
        <location line="+50"/>
        <source>&quot;bil load&quot; stopped at %1: %2. The view holds the laps read before it; %n later file(s) not read.</source>
        <translation>
            <numerusform>&quot;bil load&quot; は %1 で止まりました：%2。表示にはそれまでに読んだ周回があります。以降の %n ファイルは読んでいません。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&quot;bil load&quot; stopped at %1: %2. The view holds the laps read before it.</source>
        <translation>&quot;bil load&quot; は %1 で止まりました：%2。表示にはそれまでに読んだ周回があります。</translation>
    </message>
    <message>
        <location line="+99"/>
        <source>The CSV file %1 could not be written: %2</source>
        <translation>CSVファイル %1 を書き込めませんでした：%2</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>The report could not be saved: %1</source>
        <translation>レポートを保存できませんでした：%1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The report could not be printed: %1</source>
        <translation>レポートを印刷できませんでした：%1</translation>
    </message>
</context>
<context>
    <name>ChartModel</name>
    <message>
        <location filename="../src/analysis_window/ChartModel.cpp" line="+584"/>
        <source>Lap %1: %2</source>
        <translation>%1周目：%2</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Lap %1: %2 (excluded)</source>
        <translation>%1周目：%2（除外）</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Lap %1, sector %2: %3 (best)</source>
        <translation>%1周目 セクター%2：%3（ベスト）</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Lap %1, sector %2: %3</source>
        <translation>%1周目 セクター%2：%3</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Lap %1: TMP1 %2 to %3, TMP2 %4 to %5</source>
        <translation>%1周目：TMP1 %2～%3、TMP2 %4～%5</translation>
    </message>
</context>
<context>
    <name>LapListModel</name>
    <message>
        <location filename="../src/analysis_window/LapListModel.cpp" line="+172"/>
        <source>Best sector %1</source>
        <translation>セクター%1 ベスト</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No lap time: never counted</source>
        <translation>ラップタイムなし：集計しません</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Excluded: slower than the limit</source>
        <translation>除外：基準より遅い周回</translation>
    </message>
    <message>
        <location line="-5"/>
        <source>Best lap of its session</source>
        <translation>セッションのベストラップ</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Excluded by you; click again to follow the limit</source>
        <translation>手動で除外。もう一度クリックすると基準に従います</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Counted by you; click again to follow the limit</source>
        <translation>手動で集計。もう一度クリックすると基準に従います</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Session</source>
        <translation>セッション</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Lap</source>
        <translation>周回</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Time</source>
        <translation>タイム</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Gap</source>
        <translation>ベスト差</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>rpm max</source>
        <translation>最高 rpm</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Speed max</source>
        <translation>最高速度</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>m/h max</source>
        <translation>最高 m/h</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>km/h max</source>
        <translation>最高 km/h</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>GX max</source>
        <translation>最大 GX</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>GY max</source>
        <translation>最大 GY</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>TMP1 min</source>
        <translation>TMP1 最低</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>TMP1 max</source>
        <translation>TMP1 最高</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>TMP2 min</source>
        <translation>TMP2 最低</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>TMP2 max</source>
        <translation>TMP2 最高</translation>
    </message>
</context>
<context>
    <name>ReportDialogs</name>
    <message>
        <location filename="../src/report_dialogs/ReportDialogs.cpp" line="+16"/>
        <source>Save as PDF</source>
        <translation>PDFとして保存</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>PDF files (*.pdf);;All files (*)</source>
        <translation>PDFファイル (*.pdf);;すべてのファイル (*)</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Print session report</source>
        <translation>セッションレポートの印刷</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>This build of the tool cannot print.</source>
        <translation>このビルドでは印刷できません。</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The printer could not be started.</source>
        <translation>プリンターを開始できませんでした。</translation>
    </message>
</context>
<context>
    <name>SessionReport</name>
    <message>
        <location line="-14"/>
        <location filename="../src/session_report/SessionReport.cpp" line="+426"/>
        <source>The report holds no session.</source>
        <translation>レポートにセッションがありません。</translation>
    </message>
    <message>
        <location filename="../src/session_report/SessionReport.cpp" line="-222"/>
        <source>%1 (continued)</source>
        <translation>%1（続き）</translation>
    </message>
    <message numerus="yes">
        <location line="+122"/>
        <source>%n more row(s) on the next page.</source>
        <translation>
            <numerusform>次のページに続きます（残り %n 行）。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Bold purple: the best time of its column. Bold on a pale ground: the best lap. Grey: a lap that is not counted.</source>
        <translation>紫の太字：その列のベストタイム。淡い地色に太字：ベストラップ。灰色：集計しない周回。</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Page %1 of %2</source>
        <translation>%1 / %2 ページ</translation>
    </message>
    <message>
        <location line="+90"/>
        <source>The report could not be drawn.</source>
        <translation>レポートを描画できませんでした。</translation>
    </message>
</context>
<context>
    <name>SessionTableModel</name>
    <message>
        <location filename="../src/analysis_window/SessionTableModel.cpp" line="+104"/>
        <source>Session</source>
        <translation>セッション</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Laps</source>
        <translation>周回数</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Counted</source>
        <translation>集計</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Best lap</source>
        <translation>ベストラップ</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>of lap</source>
        <translation>周回</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Theoretical</source>
        <translation>理論ベスト</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Median of counted</source>
        <translation>集計周回の中央値</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Std dev</source>
        <translation>標準偏差</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Gap to the day</source>
        <translation>1日のベストとの差</translation>
    </message>
</context>
<context>
    <name>SummaryPanel</name>
    <message numerus="yes">
        <location filename="../src/analysis_window/SummaryPanel.cpp" line="+31"/>
        <source>%n counted lap(s): mean %1, median of the counted laps %2</source>
        <translation>
            <numerusform>集計 %n 周：平均 %1、集計周回の中央値 %2</numerusform>
        </translation>
    </message>
    <message>
        <location line="+12"/>
        <source>standard deviation %1 s (%2 of the median)</source>
        <translation>標準偏差 %1 秒（中央値の %2）</translation>
    </message>
    <message numerus="yes">
        <location line="+10"/>
        <source>%n lines of the view are not lap lines: %1.</source>
        <translation>
            <numerusform>表示の %n 行は周回の行ではありません：%1。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Best lap</source>
        <translation>ベストラップ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Theoretical best</source>
        <translation>理論ベスト</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Best rolling lap</source>
        <translation>ベストローリングラップ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Consistency</source>
        <translation>安定度</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Spread</source>
        <translation>ばらつき</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>rpm max</source>
        <translation>最高回転数</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Speed max</source>
        <translation>最高速度</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>GX max</source>
        <translation>最大 GX</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>GY max</source>
        <translation>最大 GY</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>TMP1 min / max</source>
        <translation>TMP1 最低 / 最高</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>TMP2 min / max</source>
        <translation>TMP2 最低 / 最高</translation>
    </message>
    <message numerus="yes">
        <location line="+62"/>
        <source>%1: %n lap(s), speed in %2</source>
        <translation>
            <numerusform>%1：%n 周、速度 %2</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+30"/>
        <location line="+70"/>
        <location line="+26"/>
        <source>%1   %2</source>
        <translation>%1   %2</translation>
    </message>
    <message>
        <location line="-108"/>
        <location line="+98"/>
        <source>%1   %2 sector %3 to %4 sector %5</source>
        <translation>%1   %2 セクター%3 ～ %4 セクター%5</translation>
    </message>
    <message>
        <location line="-75"/>
        <location line="+105"/>
        <source>%1 (%2) / %3 (%4)</source>
        <translation>%1（%2）/ %3（%4）</translation>
    </message>
    <message numerus="yes">
        <location line="-95"/>
        <source>%n lap(s): %1 counted, %2 excluded (slower than %3, %4 of the median of the timed laps %5, or by hand).</source>
        <translation>
            <numerusform>%n 周：集計 %1、除外 %2（%3 より遅い周回＝タイム計測周回の中央値 %5 の %4、または手動）。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+8"/>
        <source>%n lap(s): %1 counted, %2 excluded.</source>
        <translation>
            <numerusform>%n 周：集計 %1、除外 %2。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <location line="+106"/>
        <source>%n lap(s) without a lap time.</source>
        <translation>
            <numerusform>ラップタイムのない周回 %n。</numerusform>
        </translation>
    </message>
    <message>
        <location line="-91"/>
        <source>%1  (%2 sessions)</source>
        <translation>%1  （%2 のセッション）</translation>
    </message>
    <message numerus="yes">
        <location line="+8"/>
        <source>%n session(s) in %1</source>
        <translation>
            <numerusform>%1 のセッション %n</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>The day over %n session(s): %1. Speeds of different units are not compared, so each unit has a day of its own.</source>
        <translation>
            <numerusform>%n セッションの1日：%1。単位の異なる速度は比べないため、単位ごとに1日をまとめます。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>The day over %n session(s), speed in %1</source>
        <translation>
            <numerusform>%n セッションの1日、速度 %1</numerusform>
        </translation>
    </message>
    <message>
        <location line="+9"/>
        <source>– (the sessions&apos; counted laps differ in sectors)</source>
        <translation>–（セッションの集計周回でセクター数が異なります）</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1   sectors from %2</source>
        <translation>%1   セクター：%2</translation>
    </message>
    <message numerus="yes">
        <location line="+48"/>
        <source>%n lap(s) in %1 sessions: %2 counted, %3 excluded (slower than %4 of their session&apos;s median of timed laps, or by hand).</source>
        <translation>
            <numerusform>%1 セッション %n 周：集計 %2、除外 %3（各セッションのタイム計測周回の中央値の %4 より遅い周回、または手動）。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+7"/>
        <source>%n lap(s) in %1 sessions: %2 counted, %3 excluded.</source>
        <translation>
            <numerusform>%1 セッション %n 周：集計 %2、除外 %3。</numerusform>
        </translation>
    </message>
    <message>
        <location line="-281"/>
        <location line="+9"/>
        <location line="+100"/>
        <location line="+78"/>
        <location line="+27"/>
        <source>–</source>
        <translation>–</translation>
    </message>
    <message>
        <location line="-96"/>
        <location line="+100"/>
        <source>no counted lap</source>
        <translation>集計対象の周回なし</translation>
    </message>
    <message>
        <location line="-91"/>
        <source>%1   sectors from %2 laps %3</source>
        <translation>%1   セクター：%2 の %3周目</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1   sectors from laps %2</source>
        <translation>%1   各セクターは %2 周目から</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>– (the counted laps differ in sectors)</source>
        <translation>–（集計対象の周回でセクター数が異なります）</translation>
    </message>
    <message>
        <location line="-119"/>
        <source>standard deviation %1 s</source>
        <translation>標準偏差 %1 秒</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Every line after the header is a lap line.</source>
        <translation>ヘッダー以降はすべてラップ行です。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Line %1 of the view is not a lap line.</source>
        <translation>表示の %1 行目はラップ行ではありません。</translation>
    </message>
</context>
<context>
    <name>UiLanguage</name>
    <message>
        <location filename="../src/ui_language/UiLanguage.cpp" line="+129"/>
        <source>System language</source>
        <translation>システムの言語</translation>
    </message>
</context>
<context>
    <name>WindowReport</name>
    <message>
        <location filename="../src/analysis_window/WindowReport.cpp" line="+28"/>
        <source>Lap</source>
        <translation>周回</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Time</source>
        <translation>タイム</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Gap</source>
        <translation>差</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>S%1</source>
        <translation>S%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Status</source>
        <translation>状態</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>counted</source>
        <translation>集計</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no lap time</source>
        <translation>タイムなし</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>excluded</source>
        <translation>除外</translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+69"/>
        <source>Best lap</source>
        <translation>ベストラップ</translation>
    </message>
    <message>
        <location line="-65"/>
        <source>no counted lap</source>
        <translation>集計周回なし</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+64"/>
        <source>Theoretical best</source>
        <translation>理論ベスト</translation>
    </message>
    <message>
        <location line="-61"/>
        <source>Best rolling lap</source>
        <translation>ベストローリングラップ</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Counted laps</source>
        <translation>集計周回</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n of %1</source>
        <translation>
            <numerusform>%1 周中 %n 周</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Median of the counted laps</source>
        <translation>集計周回の中央値</translation>
    </message>
    <message numerus="yes">
        <location line="+42"/>
        <source>The day: %n session(s)</source>
        <translation>
            <numerusform>1日：%n セッション</numerusform>
        </translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Session</source>
        <translation>セッション</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Laps</source>
        <translation>周回数</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Counted</source>
        <translation>集計</translation>
    </message>
</context>
</TS>
