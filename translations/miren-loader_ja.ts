<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AnalysisWindow</name>
    <message>
        <location filename="../src/analysis_window/AnalysisWindow.cpp" line="+45"/>
        <source>Lap analysis</source>
        <translation>ラップ分析</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>off</source>
        <translation>オフ</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Laps slower than this share of the median lap time are not counted; &quot;off&quot; counts every timed lap</source>
        <translation>中央値ラップタイムに対するこの割合より遅い周回は集計しません。「オフ」ではタイムのある全周回を集計します</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Exclude laps slower than</source>
        <translation>除外する周回(&amp;E)：</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Export &amp;CSV…</source>
        <translation>CSVに書き出し(&amp;C)…</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>of the median</source>
        <translation>（中央値比）より遅い周回</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>This build of the tool has no lap-time chart.</source>
        <translation>このビルドにはラップタイムのグラフがありません。</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Export CSV</source>
        <translation>CSVに書き出し</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSVファイル (*.csv);;すべてのファイル (*)</translation>
    </message>
    <message>
        <location line="+81"/>
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
    <message>
        <location line="+76"/>
        <source>The CSV file %1 could not be written: %2</source>
        <translation>CSVファイル %1 を書き込めませんでした：%2</translation>
    </message>
</context>
<context>
    <name>LapChart</name>
    <message>
        <location filename="../src/analysis_window/LapChart.cpp" line="+81"/>
        <source>Counted laps</source>
        <translation>集計対象の周回</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Excluded laps</source>
        <translation>除外した周回</translation>
    </message>
    <message>
        <location line="+16"/>
        <location line="+79"/>
        <source>Lap</source>
        <translation>周回</translation>
    </message>
    <message>
        <location line="-76"/>
        <source>Lap time</source>
        <translation>ラップタイム</translation>
    </message>
    <message>
        <location line="+76"/>
        <source>Lap, in table order</source>
        <translation>周回（表の順）</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Best lap %1</source>
        <translation>ベストラップ %1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Best lap</source>
        <translation>ベストラップ</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Median %1</source>
        <translation>中央値 %1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Median</source>
        <translation>中央値</translation>
    </message>
    <message>
        <location line="+68"/>
        <source>Lap %1: %2</source>
        <translation>%1周目：%2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source> (excluded)</source>
        <translation>（除外）</translation>
    </message>
</context>
<context>
    <name>LapListModel</name>
    <message>
        <location filename="../src/analysis_window/LapListModel.cpp" line="+149"/>
        <source>Best sector %1</source>
        <translation>セクター%1 ベスト</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Best lap</source>
        <translation>ベストラップ</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>No lap time: never counted</source>
        <translation>ラップタイムなし：集計しません</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Excluded: slower than the limit</source>
        <translation>除外：基準より遅い周回</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Excluded by you</source>
        <translation>手動で除外</translation>
    </message>
    <message>
        <location line="+23"/>
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
        <location line="+2"/>
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
    <name>SummaryPanel</name>
    <message>
        <location filename="../src/analysis_window/SummaryPanel.cpp" line="+42"/>
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
    <message>
        <location line="+41"/>
        <source>–</source>
        <translation>–</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+37"/>
        <source>%1   lap %2</source>
        <translation>%1   %2周目</translation>
    </message>
    <message>
        <location line="-36"/>
        <source>no counted lap</source>
        <translation>集計対象の周回なし</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1   sectors from laps %2</source>
        <translation>%1   各セクターは %2 周目から</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>– (the counted laps differ in sectors)</source>
        <translation>–（集計対象の周回でセクター数が異なります）</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1   lap %2 sector %3 to lap %4 sector %5</source>
        <translation>%1   %2周目 セクター%3 〜 %4周目 セクター%5</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1: mean %2, median %3</source>
        <translation>%1：平均 %2、中央値 %3</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>standard deviation %1 s</source>
        <translation>標準偏差 %1 秒</translation>
    </message>
    <message>
        <location line="+3"/>
        <source> (%1 % of the median)</source>
        <translation>（中央値の %1 %）</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>m/h</source>
        <translation>m/h</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>km/h</source>
        <translation>km/h</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+2"/>
        <source> G</source>
        <translation> G</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 (lap %2) / %3 (lap %4)</source>
        <translation>%1（%2周目）/ %3（%4周目）</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1: %2 counted, %3 excluded</source>
        <translation>%1：集計 %2、除外 %3</translation>
    </message>
    <message>
        <location line="+5"/>
        <source> (slower than %1 or by hand)</source>
        <translation>（%1 より遅い周回、または手動）</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>, %1 without a lap time</source>
        <translation>、ラップタイムなし %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>. </source>
        <translation>。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Every line after the header is a lap line.</source>
        <translation>ヘッダー以降はすべてラップ行です。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Line %1 of the view is not a lap line.</source>
        <translation>表示の %1 行目はラップ行ではありません。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 lines of the view are not lap lines: %2.</source>
        <translation>表示の %1 行はラップ行ではありません：%2。</translation>
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
</TS>
