<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AnalysisWindow</name>
    <message>
        <location filename="../src/analysis_window/AnalysisWindow.cpp" line="+331"/>
        <source>Lap analysis</source>
        <translation>ラップ分析</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>off</source>
        <translation>オフ</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Exclude laps slower than</source>
        <translation>除外する周回(&amp;E)：</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Export &amp;CSV…</source>
        <translation>CSVに書き出し(&amp;C)…</translation>
    </message>
    <message>
        <location line="-3"/>
        <source>of the median</source>
        <translation>（中央値比）より遅い周回</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>[system font]</source>
        <comment>Font families for this language, comma separated: first a face with the language&apos;s script and Latin digits of its own</comment>
        <translation>Noto Sans CJK JP,Source Han Sans JP,Yu Gothic UI,Meiryo UI,Hiragino Sans,IPAPGothic,IPAGothic,VL PGothic,VL Gothic</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>&amp;Session</source>
        <translation>セッション(&amp;S)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Laps slower than this share of their session&apos;s median of timed laps are not counted (100 to 1000 %); &quot;off&quot; counts every timed lap</source>
        <translation>セッションのタイム計測周回の中央値に対してこの割合より遅い周回を集計しません（100～1000 %）。「なし」ではタイムのある周回をすべて集計します</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Reset choices</source>
        <translation>選択をリセット(&amp;R)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Forget the laps you counted or excluded by hand</source>
        <translation>手動で集計・除外した周回の指定を取り消します</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Print…</source>
        <translation>印刷(&amp;P)…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save as P&amp;DF…</source>
        <translation>PDF で保存(&amp;D)…</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <location line="+296"/>
        <source>Add %n session(s) to the li&amp;brary</source>
        <translation>
            <numerusform>%n 件のセッションをライブラリに追加(&amp;B)</numerusform>
        </translation>
    </message>
    <message>
        <location line="-295"/>
        <source>Co&amp;mpare…</source>
        <translation>比較(&amp;M)…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Compares 2 to 8 laps chosen in the list (Ctrl or Shift for several) sector by sector</source>
        <translation>一覧で選んだ 2～8 周（複数選ぶには Ctrl か Shift）をセクターごとに比較します</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Lan&amp;guage</source>
        <translation>言語(&amp;G)</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Export CSV</source>
        <translation>CSVに書き出し</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSVファイル (*.csv);;すべてのファイル (*)</translation>
    </message>
    <message numerus="yes">
        <location line="+203"/>
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
    <message>
        <location filename="../src/analysis_window/AnalysisExports.cpp" line="+113"/>
        <source>The report could not be saved: %1</source>
        <translation>レポートを保存できませんでした：%1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The report could not be printed: %1</source>
        <translation>レポートを印刷できませんでした：%1</translation>
    </message>
    <message>
        <location filename="../src/analysis_window/AnalysisWindow.cpp" line="-222"/>
        <source>Double-click a session to show it</source>
        <translation>ダブルクリックでそのセッションを表示</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Laps</source>
        <translation>周回(&amp;L)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sessions side by &amp;side</source>
        <translation>セッション比較(&amp;S)</translation>
    </message>
    <message>
        <location line="+1"/>
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
        <location line="+195"/>
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
        <location filename="../src/analysis_window/AnalysisExports.cpp" line="-61"/>
        <source>The CSV file %1 could not be written: %2</source>
        <translation>CSVファイル %1 を書き込めませんでした：%2</translation>
    </message>
</context>
<context>
    <name>BestsPane</name>
    <message>
        <location filename="../src/library_window/BestsPane.cpp" line="+32"/>
        <source>Best</source>
        <translation>ベスト</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Time</source>
        <translation>タイム</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Session and lap</source>
        <translation>セッションと周回</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no track noted</source>
        <translation>コースの記入なし</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%1, %2 (%n session(s))</source>
        <translation>
            <numerusform>%1、%2（%n セッション）</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no vehicle noted</source>
        <translation>車両の記入なし</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Best lap</source>
        <translation>ベストラップ</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+18"/>
        <source>session %1, lap %2</source>
        <translation>セッション %1、%2周目</translation>
    </message>
    <message numerus="yes">
        <location line="-15"/>
        <source>Rolling best (%n sector(s))</source>
        <translation>
            <numerusform>ローリングベスト（%n セクター）</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>session %1, lap %2 sector %3 to lap %4 sector %5</source>
        <translation>セッション %1、%2周目セクター%3 から %4周目セクター%5 まで</translation>
    </message>
    <message numerus="yes">
        <location line="+7"/>
        <source>Ideal lap (%n sector(s))</source>
        <translation>
            <numerusform>理想ラップ（%n セクター）</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>never driven whole</source>
        <translation>通しでは一度も走っていません</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Sector %1</source>
        <translation>セクター%1</translation>
    </message>
</context>
<context>
    <name>ChartModel</name>
    <message>
        <location filename="../src/analysis_view/ChartModel.cpp" line="+367"/>
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
    <name>ChartTexts</name>
    <message>
        <location filename="../src/analysis_view/ChartPainter.cpp" line="+65"/>
        <source>Counted laps</source>
        <translation>集計周回</translation>
    </message>
    <message>
        <location line="-10"/>
        <source>Session %1</source>
        <translation>セッション %1</translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>… %n more session(s)</source>
        <translation>
            <numerusform>… ほか %n セッション</numerusform>
        </translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Excluded laps</source>
        <translation>除外周回</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Best lap %1</source>
        <translation>ベストラップ %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Best lap</source>
        <translation>ベストラップ</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Median %1</source>
        <translation>中央値 %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Median</source>
        <translation>中央値</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Sector %1</source>
        <translation>セクター%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Best of the sector</source>
        <translation>セクターベスト</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>TMP1 min to max</source>
        <translation>TMP1 最低～最高</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>TMP2 min to max</source>
        <translation>TMP2 最低～最高</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Lap time</source>
        <translation>ラップタイム</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sector time</source>
        <translation>セクタータイム</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>TMP1 and TMP2</source>
        <translation>TMP1・TMP2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Lap, in table order</source>
        <translation>周回（表の順）</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Lap</source>
        <translation>周回</translation>
    </message>
</context>
<context>
    <name>ComparisonChart</name>
    <message>
        <location filename="../src/library_view/ComparisonChart.cpp" line="+30"/>
        <source>The laps have no sectors.</source>
        <translation>この周回にはセクターがありません。</translation>
    </message>
    <message>
        <location line="+92"/>
        <source>Gap to the reference (s)</source>
        <translation>基準との差（秒）</translation>
    </message>
</context>
<context>
    <name>ComparisonDialog</name>
    <message>
        <location filename="../src/library_window/ComparisonDialog.cpp" line="+116"/>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Compare laps</source>
        <translation>周回の比較</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Laps</source>
        <translation>周回(&amp;L)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2 to 8 laps as SESSION:LAP, e.g. 12:9 14:7</source>
        <translation>2～8 周を セッション:周回 で指定（例 12:9 14:7）</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Against</source>
        <translation>基準(&amp;A)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>m:ss.hh</source>
        <translation>m:ss.hh</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sectors by &amp;time lost</source>
        <translation>失ったタイムの順にセクターを並べる(&amp;T)</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Type the target lap time as m:ss.hh, e.g. 1:03.50.</source>
        <translation>目標ラップタイムを m:ss.hh で入力してください（例 1:03.50）。</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Reference: %1</source>
        <translation>基準：%1</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Sector</source>
        <translation>セクター</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Reference</source>
        <translation>基準</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Lost</source>
        <translation>失ったタイム</translation>
    </message>
</context>
<context>
    <name>ComparisonText</name>
    <message>
        <location filename="../src/library_view/ComparisonText.cpp" line="+9"/>
        <source>Time</source>
        <translation>タイム</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Gap</source>
        <translation>差</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Summed gap</source>
        <translation>累積差</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Min speed ±</source>
        <translation>最低速度 ±</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Max speed ±</source>
        <translation>最高速度 ±</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Lap</source>
        <translation>周回</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>S%1</source>
        <translation>S%1</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Session best</source>
        <translation>セッションベスト</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Day&apos;s best</source>
        <translation>その日のベスト</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Personal best</source>
        <translation>自己ベスト</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Ideal lap</source>
        <translation>理想ラップ</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Target time</source>
        <translation>目標タイム</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>best of the laps shown</source>
        <translation>表示した周回の中でベスト</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>faster than the reference</source>
        <translation>基準より速い</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>slower than the reference</source>
        <translation>基準より遅い</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>as fast as the reference</source>
        <translation>基準と同タイム</translation>
    </message>
</context>
<context>
    <name>DisplayText</name>
    <message>
        <location filename="../src/analysis_view/DisplayText.h" line="+37"/>
        <source>%1 G</source>
        <translation>%1 G</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>lap %1</source>
        <translation>%1周目</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>%1 lap %2</source>
        <translation>%1 %2周目</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1 is damaged at its lap record %2: the laps before it are here, the rest of the file could not be read. (%3)</source>
        <translation>%1 はラップ記録 %2 で壊れています。それより前のラップはここにありますが、ファイルの残りは読めませんでした。（%3）</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 could not be read. (%2)</source>
        <translation>%1 を読めませんでした。（%2）</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Session %1</source>
        <translation>セッション %1</translation>
    </message>
</context>
<context>
    <name>FilterPane</name>
    <message>
        <location filename="../src/library_window/FilterPane.cpp" line="+89"/>
        <source>&amp;Track</source>
        <translation>コース(&amp;T)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>&amp;Vehicle</source>
        <translation>車両(&amp;V)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>D&amp;river</source>
        <translation>ドライバー(&amp;R)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Co&amp;nditions</source>
        <translation>コンディション(&amp;N)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ta&amp;g</source>
        <translation>タグ(&amp;G)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>From</source>
        <translation>開始日</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>To</source>
        <translation>終了日</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show &amp;all</source>
        <translation>すべて表示(&amp;A)</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+6"/>
        <location line="+14"/>
        <source>Any</source>
        <translation>指定なし</translation>
    </message>
    <message>
        <location line="-14"/>
        <location line="+25"/>
        <source>All tracks</source>
        <translation>すべてのコース</translation>
    </message>
</context>
<context>
    <name>ImportRunner</name>
    <message>
        <location filename="../src/library_window/ImportRunner.cpp" line="+36"/>
        <source>cannot change the library %1: %2</source>
        <translation>ライブラリ %1 を変更できません：%2</translation>
    </message>
</context>
<context>
    <name>KorvelLoader</name>
    <message>
        <location filename="../src/main_window/KorvelLoader.cpp" line="+198"/>
        <location line="+321"/>
        <source>Analysis</source>
        <translation>解析</translation>
    </message>
    <message>
        <location line="-320"/>
        <location line="+322"/>
        <source>Library</source>
        <translation>ライブラリ</translation>
    </message>
</context>
<context>
    <name>LanguageBox</name>
    <message>
        <location filename="../src/analysis_window/LanguageBox.cpp" line="+29"/>
        <source>The language is used until the tool is closed, but it cannot be remembered in %1: %2</source>
        <translation>この言語はツールを閉じるまで使われますが、%1 に記憶できません：%2</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The language of the analysis window; the main window&apos;s captions stay as they are</source>
        <translation>解析ウィンドウの表示言語（メインウィンドウの表示は変わりません）</translation>
    </message>
</context>
<context>
    <name>LapComparer</name>
    <message>
        <location filename="../src/lap_library/LapComparison.cpp" line="+152"/>
        <source>Compare 2 to 8 laps, not %1.</source>
        <translation>比較できるのは 2～8 周です（%1 周ではありません）。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1 has no lap time.</source>
        <translation>%1 にはラップタイムがありません。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 has %2 sectors and %3 has %4: only laps of one sector layout can be compared.</source>
        <translation>%1 のセクターは %2、%3 は %4 です。同じセクター構成の周回しか比較できません。</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 has no time for sector %2.</source>
        <translation>%1 にはセクター%2 のタイムがありません。</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>The lap is %1 long in %2 and %3 in %4: more than 3 % apart, not the same track layout.</source>
        <translation>周回の長さが %2 では %1、%4 では %3 です。3 % 以上違うので、同じコースレイアウトではありません。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Sector %1 is %2 long in %3 and %4 in %5: more than 3 % apart, not the same sector layout.</source>
        <translation>セクター%1 の長さが %3 では %2、%5 では %4 です。3 % 以上違うので、同じセクター構成ではありません。</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The reference (%1) has %2 sectors and the laps %3: only laps of one sector layout can be compared.</source>
        <translation>基準（%1）のセクターは %2、周回のセクターは %3 です。同じセクター構成の周回しか比較できません。</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Sector %1 of the reference (%2) is %3 long and %4 in %5: more than 3 % apart, not the same sector layout.</source>
        <translation>基準（%2）のセクター%1 の長さは %3、%5 では %4 です。3 % 以上違うので、同じセクター構成ではありません。</translation>
    </message>
</context>
<context>
    <name>LapFileScan</name>
    <message>
        <location filename="../src/lap_library/LapFileScan.cpp" line="+26"/>
        <source>not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>larger than 256 MB, not a lap file</source>
        <translation>256 MB を超えています。ラップファイルではありません</translation>
    </message>
</context>
<context>
    <name>LapLibrary</name>
    <message>
        <location filename="../src/lap_library/LapLibrary.cpp" line="+168"/>
        <source>%1 is not a lap library (%2); it is left as it is</source>
        <translation>%1 はラップライブラリではありません（%2）。ファイルはそのままにしています</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>it is a folder</source>
        <translation>フォルダーです</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>it is not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+273"/>
        <source>cannot read the library %1: %2</source>
        <translation>ライブラリ %1 を読めません：%2</translation>
    </message>
    <message>
        <location line="-268"/>
        <source>the file is empty</source>
        <translation>ファイルが空です</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>it is no SQLite database</source>
        <translation>SQLite データベースではありません</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+12"/>
        <source>it is cut short</source>
        <translation>途中で切れています</translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+76"/>
        <source>there is no lap library at %1 yet; import lap files first</source>
        <translation>%1 にはまだラップライブラリがありません。先にラップファイルを取り込んでください</translation>
    </message>
    <message>
        <location line="-73"/>
        <source>cannot make the folder %1 for the library</source>
        <translation>ライブラリ用のフォルダー %1 を作れません</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>the file is read-only</source>
        <translation>ファイルが読み取り専用です</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+15"/>
        <source>its folder cannot be written</source>
        <translation>フォルダーに書き込めません</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+64"/>
        <source>cannot open the library %1: %2</source>
        <translation>ライブラリ %1 を開けません：%2</translation>
    </message>
    <message>
        <location line="-62"/>
        <source>it was opened for reading only</source>
        <translation>読み取り専用で開いています</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>an SQLite database of another program</source>
        <translation>別のプログラムの SQLite データベースです</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the library %1 was made by a newer version of this tool (library version %2, this one reads up to %3); it is left as it is</source>
        <translation>ライブラリ %1 はこのツールの新しい版で作られています（ライブラリの版 %2、この版が読めるのは %3 まで）。ファイルはそのままにしています</translation>
    </message>
    <message>
        <location line="+150"/>
        <source>cannot write to the library %1: the disk is full; the library is as it was</source>
        <translation>ライブラリ %1 に書き込めません：ディスクがいっぱいです。ライブラリは元のままです</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>cannot change the library %1: it is read-only</source>
        <translation>ライブラリ %1 を変更できません：読み取り専用です</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>cannot write to the library %1: another program kept it busy for too long; the library is as it was</source>
        <translation>ライブラリ %1 に書き込めません：別のプログラムが長く使用中のままでした。ライブラリは元のままです</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the library %1 is damaged: %2</source>
        <translation>ライブラリ %1 は壊れています：%2</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+6"/>
        <source>cannot write to the library %1: %2; the library is as it was</source>
        <translation>ライブラリ %1 に書き込めません：%2。ライブラリは元のままです</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>cannot change the library %1: %2</source>
        <translation>ライブラリ %1 を変更できません：%2</translation>
    </message>
    <message>
        <location line="+205"/>
        <location line="+37"/>
        <location line="+13"/>
        <location line="+27"/>
        <source>there is no session %1</source>
        <translation>セッション %1 はありません</translation>
    </message>
    <message>
        <location line="-42"/>
        <source>%1 fits several sessions; give more of the hash</source>
        <translation>%1 に当てはまるセッションが複数あります。ハッシュをもっと長く指定してください</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>session %1 was changed elsewhere meanwhile; nothing was saved, read it again</source>
        <translation>セッション %1 はその間にほかで変更されました。何も保存していません。読み直してください</translation>
    </message>
    <message>
        <location line="+319"/>
        <source>a row of %1 belongs to no session</source>
        <translation>%1 にどのセッションにも属さない行があります</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>session %1 has lost its lap file</source>
        <translation>セッション %1 のラップファイルがありません</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>session %1: its lap file does not match its hash</source>
        <translation>セッション %1：ラップファイルがハッシュと一致しません</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>%1 is the library itself; give another file</source>
        <translation>%1 はライブラリそのものです。別のファイルを指定してください</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>not enough memory for a copy of the library</source>
        <translation>ライブラリを写すためのメモリーが足りません</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>cannot write %1: %2</source>
        <translation>%1 を書き出せません：%2</translation>
    </message>
</context>
<context>
    <name>LapListModel</name>
    <message>
        <location filename="../src/analysis_window/LapListModel.cpp" line="+198"/>
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
        <location line="+38"/>
        <source>Lap</source>
        <translation>周回</translation>
    </message>
    <message>
        <location line="-28"/>
        <source>Excluded by you; click again to follow the limit</source>
        <translation>手動で除外。もう一度クリックすると基準に従います</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Time</source>
        <translation>タイム</translation>
    </message>
    <message>
        <location line="-27"/>
        <source>Counted by you; click again to follow the limit</source>
        <translation>手動で集計。もう一度クリックすると基準に従います</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>Excluded: far faster than the median lap, a mis-triggered lap (a beacon read twice)</source>
        <translation>除外：中央値よりはるかに速い周回。誤計測（ビーコンの二重読み取り）とみなします</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Gap</source>
        <translation>ベスト差</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>rpm max</source>
        <translation>最高 rpm</translation>
    </message>
    <message>
        <location line="+4"/>
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
    <message>
        <location line="+10"/>
        <source>Line %1</source>
        <translation>%1 行目</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>not a lap line: it counts in no figure</source>
        <translation>ラップ行ではないため、どの集計にも含まれません</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Line %1 of the view is not a lap line: select it to go to it.</source>
        <translation>表示の %1 行目はラップ行ではありません。選ぶとその行へ移動します。</translation>
    </message>
    <message>
        <location line="-45"/>
        <source>Session</source>
        <translation>セッション</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Speed max</source>
        <translation>最高速度</translation>
    </message>
</context>
<context>
    <name>LibraryComparison</name>
    <message>
        <location filename="../src/lap_library/LibraryComparison.cpp" line="+54"/>
        <source>%1: give a lap as SESSION:LAP, e.g. 12:9</source>
        <translation>%1：周回は SESSION:LAP の形で指定してください（例 12:9）</translation>
    </message>
    <message>
        <location line="+27"/>
        <location line="+15"/>
        <location line="+85"/>
        <source>session %1 has no lap %2</source>
        <translation>セッション %1 に %2周目はありません</translation>
    </message>
    <message>
        <location line="-83"/>
        <source>%1 %2 (%3:%4)</source>
        <translation>%1 %2（%3:%4）</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>session %1 has no counted lap to take as its best</source>
        <translation>セッション %1 にはベストにできる集計周回がありません</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>session best</source>
        <translation>セッションベスト</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>target %1</source>
        <translation>目標 %1</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>no session of that day has a counted lap</source>
        <translation>その日のどのセッションにも集計周回がありません</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>day&apos;s best</source>
        <translation>その日のベスト</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>session %1 has no track in its sheet: personal bests are kept per track and vehicle</source>
        <translation>セッション %1 のシートにコースがありません。自己ベストはコースと車両ごとに記録されます</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>no personal best at this track and vehicle yet</source>
        <translation>このコースと車両の自己ベストはまだありません</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>personal best</source>
        <translation>自己ベスト</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>no ideal lap of %1 sectors at this track and vehicle</source>
        <translation>このコースと車両には %1 セクターの理想ラップがありません</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>ideal lap %1, never driven whole</source>
        <translation>理想ラップ %1（通しでは一度も走っていません）</translation>
    </message>
</context>
<context>
    <name>LibraryDialogs</name>
    <message>
        <location filename="../src/library_window/LibraryDialogs.cpp" line="+15"/>
        <source>Import lap files</source>
        <translation>ラップファイルの取り込み</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Lap files (*.BIL *.bil);;All files (*)</source>
        <translation>ラップファイル (*.BIL *.bil);;すべてのファイル (*)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Import a folder of lap files</source>
        <translation>ラップファイルのフォルダーの取り込み</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Start a new lap library</source>
        <translation>新しいラップライブラリを始める</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Lap libraries (*.sqlite);;All files (*)</source>
        <translation>ラップライブラリ (*.sqlite);;すべてのファイル (*)</translation>
    </message>
</context>
<context>
    <name>LibraryLink</name>
    <message>
        <location filename="../src/library_window/LibraryLink.cpp" line="+174"/>
        <source>the analysis window is closed</source>
        <translation>分析ウィンドウが閉じています</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the laps changed in the table: choose them again</source>
        <translation>表の周回が変わりました。選び直してください</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 %2 (%3)</source>
        <translation>%1 %2（%3）</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 has no counted lap to take as its best</source>
        <translation>%1 にはベストにできる集計周回がありません</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>session best</source>
        <translation>セッションベスト</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>target %1</source>
        <translation>目標 %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>the day has no counted lap to take as its best</source>
        <translation>その日にはベストにできる集計周回がありません</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>day&apos;s best</source>
        <translation>その日のベスト</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 is not in the lap library: add it, with its track and vehicle, to compare with a personal best</source>
        <translation>%1 はラップライブラリにありません。自己ベストと比較するには、コースと車両を付けて追加してください</translation>
    </message>
</context>
<context>
    <name>LibraryWindow</name>
    <message>
        <location filename="../src/library_window/LibraryWindow.cpp" line="+44"/>
        <source>Track</source>
        <translation>コース</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Layout</source>
        <translation>レイアウト</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Vehicle</source>
        <translation>車両</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Driver</source>
        <translation>ドライバー</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Conditions</source>
        <translation>コンディション</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Air °C</source>
        <translation>気温 °C</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Track °C</source>
        <translation>路面温度 °C</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Tyre compound</source>
        <translation>タイヤコンパウンド</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Tyre set</source>
        <translation>タイヤセット</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cold pressures</source>
        <translation>冷間空気圧</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Hot pressures</source>
        <translation>温間空気圧</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Setup</source>
        <translation>セッティング</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Notes before</source>
        <translation>走行前メモ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Notes after</source>
        <translation>走行後メモ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Tags</source>
        <translation>タグ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <location line="+275"/>
        <source>Lap library</source>
        <translation>ラップライブラリ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Import lap files…</source>
        <translation>ラップファイルの取り込み(&amp;I)…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Import f&amp;older…</source>
        <translation>フォルダーの取り込み(&amp;O)…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Load into the table</source>
        <translation>表に読み込む(&amp;L)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Puts the chosen sessions into the main window&apos;s table, as &quot;bil load&quot; of their lap files would</source>
        <translation>選んだセッションを、ラップファイルの &quot;bil load&quot; と同じようにメインウィンドウの表に読み込みます</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Co&amp;mpare…</source>
        <translation>比較(&amp;M)…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Compares the best laps of the chosen sessions (2 to 8) sector by sector</source>
        <translation>選んだセッション（2～8）のベストラップをセクターごとに比較します</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Delete</source>
        <translation>削除(&amp;D)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Sessions</source>
        <translation>セッション(&amp;S)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Personal &amp;bests</source>
        <translation>自己ベスト(&amp;B)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Progress</source>
        <translation>推移(&amp;P)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Start a &amp;new library elsewhere…</source>
        <translation>別の場所で新しいライブラリを始める(&amp;N)…</translation>
    </message>
    <message>
        <location line="+50"/>
        <location line="+18"/>
        <source>The lap library cannot be opened.

%1

You can start a new library elsewhere; this file is left as it is.</source>
        <translation>ラップライブラリを開けません。

%1

別の場所で新しいライブラリを始められます。このファイルはそのままにしています。</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>%1 (read only: %2)</source>
        <translation>%1（読み取り専用：%2）</translation>
    </message>
    <message>
        <location line="+92"/>
        <source>Session %1: %2, %3</source>
        <translation>セッション %1：%2、%3</translation>
    </message>
    <message>
        <location line="+82"/>
        <source>%1: yours &quot;%2&quot;, theirs &quot;%3&quot;</source>
        <translation>%1：あなたの値 &quot;%2&quot;、他方の値 &quot;%3&quot;</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Session %1 was changed elsewhere (in another window or by miren-library) while you edited it here. Both changed:

%2

Keep yours in these fields, or take theirs? Every other change, yours and theirs, is kept.</source>
        <translation>ここで編集している間に、セッション %1 がほかの場所（別のウィンドウか miren-library）で変更されました。両方で変更された項目：

%2

これらの項目はあなたの値を残しますか、それとも他方の値を採りますか？ ほかの変更は、あなたのものも他方のものもすべて残ります。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Keep mine</source>
        <translation>自分の値を残す</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Take theirs</source>
        <translation>他方の値を採る</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Nothing saved: your edit of session %1 stays in the form.</source>
        <translation>保存していません。セッション %1 の編集はフォームに残っています。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Session %1 was changed elsewhere too; both changes are kept.</source>
        <translation>セッション %1 はほかの場所でも変更されました。両方の変更を残しました。</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Session %1 keeps being changed elsewhere; nothing was saved.</source>
        <translation>セッション %1 がほかの場所で変更され続けています。保存していません。</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>edit of session %1</source>
        <translation>セッション %1 の編集</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Choose the vehicle first: its last session&apos;s sheet is copied.</source>
        <translation>先に車両を選んでください。その車両の前回のセッションのシートを写します。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 has no session before this one.</source>
        <translation>%1 にはこれより前のセッションがありません。</translation>
    </message>
    <message numerus="yes">
        <location line="+53"/>
        <source>Delete %n session(s) from the library, with their lap files and sheets? Undo brings them back until this window is closed.</source>
        <translation>
            <numerusform>%n 件のセッションを、ラップファイルとシートごとライブラリから削除しますか？ このウィンドウを閉じるまでは元に戻せます。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>deletion of %n session(s)</source>
        <translation>
            <numerusform>%n 件のセッションの削除</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n session(s) deleted; Undo brings them back until the window is closed.</source>
        <translation>
            <numerusform>%n 件のセッションを削除しました。ウィンドウを閉じるまでは元に戻せます。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+43"/>
        <source>%1 holds no lap files (*.BIL).</source>
        <translation>%1 にはラップファイル (*.BIL) がありません。</translation>
    </message>
    <message numerus="yes">
        <location line="+19"/>
        <source>Importing %n lap file(s)…</source>
        <translation>
            <numerusform>%n 個のラップファイルを取り込んでいます…</numerusform>
        </translation>
    </message>
    <message>
        <location line="+15"/>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 added, %2 already in the library, %3 failed</source>
        <translation>追加 %1、ライブラリに既存 %2、失敗 %3</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Import cancelled: %1</source>
        <translation>取り込みを取り消しました：%1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The import stopped: %1</source>
        <translation>取り込みが止まりました：%1</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <location line="+26"/>
        <source>… and %n more</source>
        <translation>
            <numerusform>…ほか %n 件</numerusform>
        </translation>
    </message>
    <message>
        <location line="-8"/>
        <source>Session %1 (%2): %3, like session %4</source>
        <translation>セッション %1（%2）：%3（セッション %4 と同じ）</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message numerus="yes">
        <location line="+7"/>
        <source>The lap lengths of %n new session(s) match a track layout you have driven:

%1

Take the suggested track and layout?</source>
        <translation>
            <numerusform>新しい %n 件のセッションのラップの長さが、走ったことのあるコースレイアウトと一致します：

%1

提案されたコースとレイアウトを採用しますか？</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Take them</source>
        <translation>採用する</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Leave them</source>
        <translation>採用しない</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>suggested tracks</source>
        <translation>提案されたコース</translation>
    </message>
</context>
<context>
    <name>MirenConvert</name>
    <message>
        <location filename="../src/cli/ConvertInputs.cpp" line="+60"/>
        <source>No file name specified</source>
        <translation>ファイル名が指定されていません</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>file to open is a directory</source>
        <translation>開こうとしたものはフォルダーです</translation>
    </message>
    <message>
        <location line="+93"/>
        <source>cannot keep a copy in the temporary folder: %1</source>
        <translation>一時フォルダーに写しを保存できません: %1</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>standard input</source>
        <translation>標準入力</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>standard input is closed</source>
        <translation>標準入力が閉じられています</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>changed while it was being read</source>
        <translation>読んでいる間に変更されました</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>read already; it cannot be read again</source>
        <translation>すでに読み終えたため、もう一度は読めません</translation>
    </message>
    <message>
        <location filename="../src/cli/ConvertMessages.cpp" line="+21"/>
        <source>Try &apos;miren-convert --help&apos; for more information.</source>
        <translation>詳しくは &apos;miren-convert --help&apos; を参照してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/ConvertOptions.cpp" line="+20"/>
        <source>What to write: %1 or %2.</source>
        <translation>出力する内容: %1、または %2。</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>%1 given more than once</source>
        <translation>%1 が複数回指定されています</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Converts lap record files (.BIL) into the lap table text, exactly as &quot;bil load&quot; followed by &quot;Text save&quot; writes it: the table with CR LF line ends and one more CR LF. The other formats read lap record files or saved lap table texts (one kind per run), each file one session: csv writes the laps as CSV, summary each session&apos;s statistics and then the day&apos;s, sessions and sessions-csv the sessions side by side, and pdf the printable session report, only to the -o file. Nothing is written when no file holds a lap record. At the first file that cannot be read or converted the text so far is still written, the reason goes to standard error and the exit status is 1; bad usage gives exit status 2.</source>
        <translation>ラップ記録ファイル(.BIL)を、&quot;bil load&quot; のあと &quot;Text save&quot; で保存したものとまったく同じラップ表テキストに変換します。行末は CR LF で、最後にもう一つ CR LF が付きます。ほかの形式では、ラップ記録ファイルか保存済みのラップ表テキスト(一度の実行ではどちらか一方)を読み、1 ファイルを 1 セッションとして扱います。csv はラップを CSV で、summary はセッションごとの集計とその日の集計を、sessions と sessions-csv はセッションの比較表を、pdf は印刷用のセッションレポートを -o のファイルにだけ書き出します。ラップ記録を含むファイルが一つもなければ何も書き出しません。読めない、または変換できないファイルがあると、そこまでのテキストは書き出し、理由を標準エラー出力に示して終了ステータス 1 で終わります。使い方の誤りは終了ステータス 2 です。</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Decimal separator of the GX and GY columns: one printable ASCII character, not a digit, &apos;~&apos;, &apos;:&apos; or a blank (default: the system&apos;s, or &apos;.&apos;).</source>
        <translation>GX・GY 列の小数点記号: 表示できる ASCII 文字 1 文字(数字、&apos;~&apos;、&apos;:&apos;、空白は不可。既定はシステムの設定、なければ &apos;.&apos;)。</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>CSV cell delimiter: &apos;,&apos; (the default, with &apos;.&apos; as decimal point), &apos;;&apos; or tab (both with &apos;,&apos; as decimal point).</source>
        <translation>CSV の区切り文字: &apos;,&apos;(既定。小数点は &apos;.&apos;)、&apos;;&apos; またはタブ(どちらも小数点は &apos;,&apos;)。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>All formats but table: laps slower than PERCENT of their session&apos;s median lap time are not counted (default 110; 0 counts every timed lap).</source>
        <translation>table 以外の形式: セッションのラップタイムの中央値の PERCENT % より遅いラップは集計に含めません(既定は 110。0 ならタイムのあるラップをすべて含めます)。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Write to FILE, replaced only when the run has been written completely (default, and -: standard output). A device or FIFO is written to as it comes, never replaced; FILE may not be one of the input files.</source>
        <translation>FILE に書き出します。FILE が置き換えられるのは、すべてを書き終えたときだけです(既定と - は標準出力)。デバイスや FIFO には置き換えずに順次書き込みます。入力ファイルのいずれかを FILE に指定することはできません。</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Lap record files (any format) or saved lap table texts (all formats but table), read in this order; - is standard input. *.BIL is a lap record file and *.txt a table text; other names go by their content.</source>
        <translation>ラップ記録ファイル(すべての形式)または保存済みのラップ表テキスト(table 以外の形式)。指定した順に読みます。- は標準入力です。*.BIL はラップ記録ファイル、*.txt はラップ表テキストとして扱い、それ以外の名前は内容で判断します。</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>--decimal-point takes one printable ASCII character other than a digit, &apos;~&apos;, &apos;:&apos; or a blank, not &apos;%1&apos;</source>
        <translation>--decimal-point には数字、&apos;~&apos;、&apos;:&apos;、空白以外の表示できる ASCII 文字を 1 文字指定してください(&apos;%1&apos; は使えません)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>-o needs a file name</source>
        <translation>-o にはファイル名が必要です</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>--format takes %1, not &apos;%2&apos;</source>
        <translation>--format に指定できるのは %1 です(&apos;%2&apos; は使えません)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>--decimal-point is for --format %1; %2 takes its decimal point from --csv-delimiter</source>
        <translation>--decimal-point は --format %1 で使うオプションです。%2 の小数点は --csv-delimiter で決まります</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>--decimal-point is for --format %1</source>
        <translation>--decimal-point は --format %1 で使うオプションです</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>--csv-delimiter is for --format %1</source>
        <translation>--csv-delimiter は --format %1 で使うオプションです</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>--csv-delimiter takes &apos;,&apos;, &apos;;&apos; or tab, not &apos;%1&apos;</source>
        <translation>--csv-delimiter に指定できるのは &apos;,&apos;、&apos;;&apos;、タブです(&apos;%1&apos; は使えません)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>--exclude-slower is for --format %1</source>
        <translation>--exclude-slower は --format %1 で使うオプションです</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>--exclude-slower takes 0 or a percentage from 100 to 1000, not &apos;%1&apos;</source>
        <translation>--exclude-slower には 0 か、100 から 1000 までの百分率を指定してください(&apos;%1&apos; は使えません)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>--format %1 writes to a file only: give -o FILE</source>
        <translation>--format %1 はファイルにしか書き出せません。-o FILE を指定してください</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>no lap record file given</source>
        <translation>ラップ記録ファイルが指定されていません</translation>
    </message>
    <message>
        <location filename="../src/cli/ConvertOutput.cpp" line="+58"/>
        <source>standard output</source>
        <translation>標準出力</translation>
    </message>
    <message>
        <location filename="../src/cli/ConvertRuns.cpp" line="+42"/>
        <source>no lap record converted; nothing written to %1</source>
        <translation>変換できたラップ記録がないため、%1 には何も書き出していません</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no lap record converted; nothing written</source>
        <translation>変換できたラップ記録がないため、何も書き出していません</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>no lap table in %1</source>
        <translation>%1 にラップ表がありません</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>%1: %2 line(s) skipped, not lap lines: %3 and %4 more</source>
        <translation>%1: ラップ行ではない %2 行を読み飛ばしました: %3 ほか %4 行</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1: %2 line(s) skipped, not lap lines: %3</source>
        <translation>%1: ラップ行ではない %2 行を読み飛ばしました: %3</translation>
    </message>
    <message>
        <location line="+272"/>
        <source>the PDF document could not be drawn</source>
        <translation>PDF 文書を描画できませんでした</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>the lap table text, the default</source>
        <translation>ラップ表テキスト。既定</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>one row per lap</source>
        <translation>1 ラップ 1 行</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>each session&apos;s statistics, then the day&apos;s</source>
        <translation>セッションごとの集計と、その日の集計</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the sessions side by side</source>
        <translation>セッションの比較表</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the sessions side by side, as CSV</source>
        <translation>セッションの比較表を CSV で</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>the printable session report, to the -o file</source>
        <translation>印刷用のセッションレポート。-o のファイルへ</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>%1: -o names one of the input files; nothing written</source>
        <translation>%1: -o に入力ファイルが指定されているため、何も書き出していません</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>standard output is closed; nothing written</source>
        <translation>標準出力が閉じられているため、何も書き出していません</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>lap record files and lap table texts cannot be mixed in one run</source>
        <translation>ラップ記録ファイルとラップ表テキストは、一度の実行で混ぜて指定できません</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+8"/>
        <source>%1: cannot write: %2</source>
        <translation>%1: 書き出せません: %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>out of memory; nothing written to %1</source>
        <translation>メモリーが足りないため、%1 には何も書き出していません</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>out of memory</source>
        <translation>メモリーが足りません</translation>
    </message>
</context>
<context>
    <name>MirenLibrary</name>
    <message>
        <location filename="../src/library_cli/LibraryCommands.cpp" line="+103"/>
        <source>cannot change the library %1: %2</source>
        <translation>ライブラリ %1 を変更できません：%2</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>%1: no such file or folder</source>
        <translation>%1：そのようなファイルやフォルダーはありません</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>importing %1 of %2</source>
        <translation>取り込み中 %1 / %2</translation>
    </message>
    <message>
        <location line="+417"/>
        <source>the PDF report could not be drawn</source>
        <translation>PDF レポートを描画できませんでした</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+223"/>
        <source>cannot write %1: %2</source>
        <translation>%1 を書き出せません：%2</translation>
    </message>
    <message>
        <location line="-209"/>
        <source>refused: the bundle is too large</source>
        <translation>拒否：バンドルが大きすぎます</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1: refused: %2</source>
        <translation>%1：拒否：%2</translation>
    </message>
    <message>
        <location line="+193"/>
        <source>no session at the track %1</source>
        <translation>コース %1 のセッションはありません</translation>
    </message>
    <message>
        <location filename="../src/library_cli/LibraryOptions.cpp" line="+85"/>
        <source>Usage: miren-library [--library FILE] COMMAND [OPTIONS] [ARGUMENTS]</source>
        <translation>使い方: miren-library [--library FILE] COMMAND [OPTIONS] [ARGUMENTS]</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Keeps every session of a season in one library file: the lap files, their sheets
(track, vehicle, driver, conditions, tyres, setup, notes, tags) and their figures.

Commands:
  import [SHEET] [--accept-suggested] FILE|FOLDER...
                        add lap files; folders are searched for *.BIL in any
                        letter case; files the library has are skipped
  sessions [FILTERS] [--format text|csv|json]
                        list the sessions, oldest first
  show SESSION          a session&apos;s sheet and figures
  set SESSION [SHEET] [--air-temp C] [--track-temp C] [--tyre-compound X]
      [--tyre-set X] [--cold-pressures X] [--hot-pressures X] [--note-before X]
      [--note X] [--setup NAME=VALUE] [--remove-setup NAME] [--untag X]
      [--date &apos;YYYY-MM-DD HH:MM&apos;]
                        change a session&apos;s sheet (an empty value clears a field)
  bests [FILTERS] [--format text|csv]
                        personal bests per track, layout and vehicle
  progress --track T [FILTERS] [--format text|csv]
                        the figures of each day at a track
  export SESSION -o FILE.BIL|FILE.zip
                        the lap file as it was imported, or a bundle (lap file,
                        sheet as JSON and the PDF report)
  import-bundle FILE.zip...
                        add the sessions of bundles
  remove SESSION...     remove sessions
  check                 check the library and every lap file against its hash
  backup -o FILE        a consistent copy of the library
  compare SESSION:LAP... [--reference session|day|pb|ideal|M:SS.HH]
      [--format text|csv]
                        2 to 8 laps sector by sector against a reference:
                        the session&apos;s best lap (default), the day&apos;s best, the
                        personal best at the track and vehicle, the ideal lap
                        or a target time
  report --track T [FILTERS] -o FILE.pdf
                        the track&apos;s personal bests, progress chart and days

SHEET: --track T --layout L --vehicle V --driver D --conditions dry|damp|wet
       --tag X (again for more tags)
FILTERS: --track T --layout L --vehicle V --driver D --conditions C --tag X
         --from YYYY-MM-DD --to YYYY-MM-DD
SESSION: its number, or at least 4 leading digits of its hash.

Options:
  --library FILE        the library (default: MIREN_LIBRARY, else %1)
  -h, --help            show this help
  --version             show the version

Exit status: 0 done, 1 failed, 2 bad usage.
</source>
        <translation>シーズンのすべてのセッションを一つのライブラリファイルにまとめます：ラップファイル、
そのシート（コース、車両、ドライバー、コンディション、タイヤ、セッティング、メモ、タグ）と数値。

コマンド:
  import [SHEET] [--accept-suggested] FILE|FOLDER...
                        ラップファイルを取り込みます。フォルダーでは大文字小文字を問わず
                        *.BIL を探します。ライブラリにあるファイルは飛ばします
  sessions [FILTERS] [--format text|csv|json]
                        セッションを古い順に一覧します
  show SESSION          セッションのシートと数値
  set SESSION [SHEET] [--air-temp C] [--track-temp C] [--tyre-compound X]
      [--tyre-set X] [--cold-pressures X] [--hot-pressures X] [--note-before X]
      [--note X] [--setup NAME=VALUE] [--remove-setup NAME] [--untag X]
      [--date &apos;YYYY-MM-DD HH:MM&apos;]
                        セッションのシートを変更します（空の値は項目を消します）
  bests [FILTERS] [--format text|csv]
                        コース・レイアウト・車両ごとの自己ベスト
  progress --track T [FILTERS] [--format text|csv]
                        コースでの日ごとの数値
  export SESSION -o FILE.BIL|FILE.zip
                        取り込んだときのままのラップファイル、またはバンドル（ラップ
                        ファイル、JSON のシート、PDF レポート）
  import-bundle FILE.zip...
                        バンドルのセッションを取り込みます
  remove SESSION...     セッションを削除します
  check                 ライブラリと、各ラップファイルをハッシュと照合して検査します
  backup -o FILE        ライブラリの一貫した写し
  compare SESSION:LAP... [--reference session|day|pb|ideal|M:SS.HH]
      [--format text|csv]
                        2～8 周をセクターごとに基準と比較します：セッションの
                        ベストラップ（既定）、その日のベスト、コースと車両の
                        自己ベスト、理想ラップ、または目標タイム
  report --track T [FILTERS] -o FILE.pdf
                        コースの自己ベスト、推移グラフと日ごとの数値

SHEET: --track T --layout L --vehicle V --driver D --conditions dry|damp|wet
       --tag X（タグを増やすには繰り返します）
FILTERS: --track T --layout L --vehicle V --driver D --conditions C --tag X
         --from YYYY-MM-DD --to YYYY-MM-DD
SESSION: 番号、またはハッシュの先頭 4 桁以上。

オプション:
  --library FILE        ライブラリ（既定: MIREN_LIBRARY、なければ %1）
  -h, --help            このヘルプを表示します
  --version             版を表示します

終了ステータス: 0 完了、1 失敗、2 使い方の誤り。
</translation>
    </message>
    <message>
        <location line="+63"/>
        <source>unknown command: %1</source>
        <translation>不明なコマンドです：%1</translation>
    </message>
    <message>
        <location line="+24"/>
        <location line="+8"/>
        <source>%1 does not go with this command</source>
        <translation>%1 はこのコマンドには使えません</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>%1 needs a value</source>
        <translation>%1 には値が必要です</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>--conditions takes dry, damp or wet, not %1</source>
        <translation>--conditions に指定できるのは dry、damp、wet です（%1 は使えません）</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>%1 takes a date as YYYY-MM-DD, not %2</source>
        <translation>%1 には日付を YYYY-MM-DD で指定してください（%2 は使えません）</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>unknown format: %1</source>
        <translation>不明な形式です：%1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>--reference takes session, day, pb, ideal or a time as M:SS.HH, not %1</source>
        <translation>--reference に指定できるのは session、day、pb、ideal か M:SS.HH のタイムです（%1 は使えません）</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1 takes a temperature in °C, not %2</source>
        <translation>%1 には温度を °C で指定してください（%2 は使えません）</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>--setup takes NAME=VALUE, not %1</source>
        <translation>--setup には NAME=VALUE を指定してください（%1 は使えません）</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>--date takes &apos;YYYY-MM-DD HH:MM&apos;, not %1</source>
        <translation>--date には &apos;YYYY-MM-DD HH:MM&apos; を指定してください（%1 は使えません）</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+4"/>
        <source>unknown option: %1</source>
        <translation>不明なオプションです：%1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>no command given</source>
        <translation>コマンドが指定されていません</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>no file, folder or session given</source>
        <translation>ファイル、フォルダー、セッションのいずれも指定されていません</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>give one session</source>
        <translation>セッションを一つ指定してください</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>give 2 to 8 laps as SESSION:LAP</source>
        <translation>2～8 周を SESSION:LAP で指定してください</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>unexpected argument: %1</source>
        <translation>余分な引数です：%1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>-o FILE is required</source>
        <translation>-o FILE が必要です</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>progress needs --track</source>
        <translation>progress には --track が必要です</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>report needs --track</source>
        <translation>report には --track が必要です</translation>
    </message>
    <message>
        <location filename="../src/library_cli/main.cpp" line="+48"/>
        <source>Try &apos;miren-library --help&apos; for more information.</source>
        <translation>詳しくは &apos;miren-library --help&apos; を参照してください。</translation>
    </message>
</context>
<context>
    <name>ProgressChart</name>
    <message>
        <location filename="../src/library_view/ProgressChart.cpp" line="+84"/>
        <source>Best lap</source>
        <translation>ベストラップ</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Theoretical best</source>
        <translation>理論ベスト</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Median of counted laps</source>
        <translation>集計周回の中央値</translation>
    </message>
    <message>
        <location line="+59"/>
        <source>Personal best improved</source>
        <translation>自己ベスト更新</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>Lap time</source>
        <translation>ラップタイム</translation>
    </message>
    <message>
        <location line="+116"/>
        <source>No day at this track yet</source>
        <translation>このコースの走行日はまだありません</translation>
    </message>
    <message numerus="yes">
        <location line="+35"/>
        <source>%1, %n session(s)</source>
        <translation>
            <numerusform>%1、%n セッション</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Personal best improved by %1 s</source>
        <translation>自己ベストを %1 秒更新</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The first personal best</source>
        <translation>最初の自己ベスト</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 to the personal best before it</source>
        <translation>それまでの自己ベストとの差 %1</translation>
    </message>
</context>
<context>
    <name>ProgressPane</name>
    <message>
        <location filename="../src/library_window/ProgressPane.cpp" line="+69"/>
        <source>Track</source>
        <translation>コース</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Vehicle</source>
        <translation>車両</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+18"/>
        <source>All vehicles</source>
        <translation>すべての車両</translation>
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
        <location line="+17"/>
        <source>Session report</source>
        <translation>セッションレポート</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Saving the report…</source>
        <translation>レポートを保存しています…</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>This build of the tool cannot print.</source>
        <translation>このビルドでは印刷できません。</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Printing the report…</source>
        <translation>レポートを印刷しています…</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The printer could not be started.</source>
        <translation>プリンターを開始できませんでした。</translation>
    </message>
</context>
<context>
    <name>SessionBundle</name>
    <message>
        <location filename="../src/lap_library/SessionBundle.cpp" line="+57"/>
        <source>the bundle is too large</source>
        <translation>バンドルが大きすぎます</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>it holds no session.json</source>
        <translation>session.json がありません</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>session.json is too large</source>
        <translation>session.json が大きすぎます</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>session.json is not a JSON object: %1</source>
        <translation>session.json が JSON オブジェクトではありません：%1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>session.json lacks the field &quot;%1&quot; or has it of the wrong type</source>
        <translation>session.json に項目 &quot;%1&quot; がないか、型が違います</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>the bundle was made by a newer version of this tool</source>
        <translation>バンドルはこのツールの新しい版で作られています</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>the lap file &quot;%1&quot; that session.json names is not in the bundle</source>
        <translation>session.json が示すラップファイル &quot;%1&quot; がバンドルにありません</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>the lap file does not match the hash session.json gives: it was changed or damaged</source>
        <translation>ラップファイルが session.json のハッシュと一致しません。変更されたか壊れています</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>the sheet&apos;s field &quot;%1&quot; has the wrong type</source>
        <translation>シートの項目 &quot;%1&quot; の型が違います</translation>
    </message>
</context>
<context>
    <name>SessionListModel</name>
    <message>
        <location filename="../src/library_window/SessionListModel.cpp" line="+143"/>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Track</source>
        <translation>コース</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Vehicle</source>
        <translation>車両</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Driver</source>
        <translation>ドライバー</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Laps</source>
        <translation>周回数</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Best lap</source>
        <translation>ベストラップ</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Theoretical</source>
        <translation>理論ベスト</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Median</source>
        <translation>中央値</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Note</source>
        <translation>メモ</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Lap file</source>
        <translation>ラップファイル</translation>
    </message>
</context>
<context>
    <name>SessionReport</name>
    <message>
        <location filename="../src/report_dialogs/ReportDialogs.cpp" line="-23"/>
        <location filename="../src/session_report/SessionReport.cpp" line="+532"/>
        <source>The report holds no session.</source>
        <translation>レポートにセッションがありません。</translation>
    </message>
    <message>
        <location filename="../src/session_report/SessionReport.cpp" line="-293"/>
        <source>%1 (continued)</source>
        <translation>%1（続き）</translation>
    </message>
    <message numerus="yes">
        <location line="+166"/>
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
        <location line="+123"/>
        <source>The report could not be drawn.</source>
        <translation>レポートを描画できませんでした。</translation>
    </message>
</context>
<context>
    <name>SessionReportBuilder</name>
    <message>
        <location filename="../src/analysis_view/SessionReportBuilder.cpp" line="+64"/>
        <location line="+76"/>
        <source>Laps</source>
        <translation>ラップ数</translation>
    </message>
    <message>
        <location line="-76"/>
        <source>%1 counted of %2</source>
        <translation>%2 ラップ中 %1 ラップを集計</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+77"/>
        <source>Speed unit</source>
        <translation>速度の単位</translation>
    </message>
    <message>
        <location line="-74"/>
        <location line="+73"/>
        <location line="+41"/>
        <source>Best lap</source>
        <translation>ベストラップ</translation>
    </message>
    <message>
        <location line="-113"/>
        <location line="+107"/>
        <location line="+3"/>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <location line="-108"/>
        <location line="+113"/>
        <source>Theoretical best</source>
        <translation>理論ベスト</translation>
    </message>
    <message>
        <location line="-111"/>
        <location line="+69"/>
        <source>Median</source>
        <translation>中央値</translation>
    </message>
    <message>
        <location line="-66"/>
        <location line="+132"/>
        <source>Standard deviation</source>
        <translation>標準偏差</translation>
    </message>
    <message>
        <location line="-125"/>
        <source>Lap</source>
        <translation>ラップ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Time</source>
        <translation>タイム</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+56"/>
        <source>Gap</source>
        <translation>差</translation>
    </message>
    <message>
        <location line="-54"/>
        <source>S%1</source>
        <translation>S%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Status</source>
        <translation>状態</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>no time</source>
        <translation>タイムなし</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>slow, not counted</source>
        <translation>遅いため集計外</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>too fast, not counted</source>
        <translation>速すぎるため集計外</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>left out</source>
        <translation>手動で除外</translation>
    </message>
    <message numerus="yes">
        <location line="+15"/>
        <source>%n session(s)</source>
        <translation>
            <numerusform>%n セッション</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Session</source>
        <translation>セッション</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Counted</source>
        <translation>集計</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Theoretical</source>
        <translation>理論ベスト</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Std dev</source>
        <translation>標準偏差</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>Sector %1</source>
        <translation>セクター%1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Best rolling lap</source>
        <translation>ベストローリングラップ</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 (%2 sector %3 to %4 sector %5)</source>
        <translation>%1（%2 セクター%3 ～ %4 セクター%5）</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Consistency</source>
        <translation>安定度</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n counted lap(s): mean %1, median %2</source>
        <translation>
            <numerusform>集計 %n 周：平均 %1、中央値 %2</numerusform>
        </translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1 s (%2 of the median)</source>
        <translation>%1 秒（中央値の %2）</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>rpm max</source>
        <translation>最高 rpm</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Speed max</source>
        <translation>最高速度</translation>
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
        <location line="+4"/>
        <source>%1 (%2) / %3 (%4)</source>
        <translation>%1（%2）/ %3（%4）</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>TMP1 min / max</source>
        <translation>TMP1 最低 / 最高</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>TMP2 min / max</source>
        <translation>TMP2 最低 / 最高</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Covers only the laps before the fault: %1</source>
        <translation>エラーより前の周回だけを含みます: %1</translation>
    </message>
    <message numerus="yes">
        <location line="+11"/>
        <source>Not read: %1 and %n more</source>
        <translation>
            <numerusform>読んでいないファイル: %1 ほか %n ファイル</numerusform>
        </translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Not read: %1</source>
        <translation>読んでいないファイル: %1</translation>
    </message>
    <message numerus="yes">
        <location line="+11"/>
        <source>%n line(s) of the table skipped, not lap lines: %1</source>
        <translation>
            <numerusform>ラップ行ではない表の %n 行を読み飛ばしました: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%1: %n line(s) skipped, not lap lines: %2</source>
        <translation>
            <numerusform>%1: ラップ行ではない %n 行を読み飛ばしました: %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SessionTableModel</name>
    <message>
        <location filename="../src/analysis_window/SessionTableModel.cpp" line="+115"/>
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
    <name>SheetEditor</name>
    <message>
        <location filename="../src/library_window/SheetEditor.cpp" line="+179"/>
        <source>Trac&amp;k</source>
        <translation>コース(&amp;K)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>La&amp;yout</source>
        <translation>レイアウト(&amp;Y)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>V&amp;ehicle</source>
        <translation>車両(&amp;E)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Driver</source>
        <translation>ドライバー</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Conditions</source>
        <translation>コンディション</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Air °C</source>
        <translation>気温 °C</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Track °C</source>
        <translation>路面温度 °C</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Tyre compo&amp;und</source>
        <translation>タイヤコンパウンド(&amp;U)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Tyre set</source>
        <translation>タイヤセット</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cold pressures</source>
        <translation>冷間空気圧</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>&amp;Hot pressures</source>
        <translation>温間空気圧(&amp;H)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Setup</source>
        <translation>セッティング</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Notes before</source>
        <translation>走行前メモ</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Notes a&amp;fter</source>
        <translation>走行後メモ(&amp;F)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Tags</source>
        <translation>タグ</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>one a line: name = value</source>
        <translation>1 行に 1 つ：名前 = 値</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>comma between tags</source>
        <translation>タグはカンマで区切ります</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Copy from this vehicle&apos;s last session</source>
        <translation>この車両の前回のセッションから写す(&amp;C)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fills the empty fields from the sheet of the vehicle&apos;s session before this one (not its notes or tags)</source>
        <translation>空の項目を、この車両のひとつ前のセッションのシートから埋めます（メモとタグは除きます）</translation>
    </message>
    <message>
        <location line="+81"/>
        <source>Select a session to see its sheet.</source>
        <translation>シートを見るにはセッションを選んでください。</translation>
    </message>
</context>
<context>
    <name>SheetLines</name>
    <message>
        <location filename="../src/library_view/SheetLines.cpp" line="+34"/>
        <source>dry</source>
        <translation>ドライ</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>damp</source>
        <translation>セミウェット</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>wet</source>
        <translation>ウェット</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>air %1 °C</source>
        <translation>気温 %1 °C</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>track %1 °C</source>
        <translation>路面 %1 °C</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Track</source>
        <translation>コース</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Vehicle</source>
        <translation>車両</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Driver</source>
        <translation>ドライバー</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Conditions</source>
        <translation>コンディション</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>compound %1</source>
        <translation>コンパウンド %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>set %1</source>
        <translation>セット %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>cold %1</source>
        <translation>冷間 %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>hot %1</source>
        <translation>温間 %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Tyres</source>
        <translation>タイヤ</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 = %2</source>
        <translation>%1 = %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Setup</source>
        <translation>セッティング</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Notes before</source>
        <translation>走行前メモ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Notes after</source>
        <translation>走行後メモ</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Tags</source>
        <translation>タグ</translation>
    </message>
</context>
<context>
    <name>SummaryPanel</name>
    <message numerus="yes">
        <location filename="../src/analysis_window/SummaryPanel.cpp" line="+33"/>
        <source>%n counted lap(s): mean %1, median of the counted laps %2</source>
        <translation>
            <numerusform>集計 %n 周：平均 %1、集計周回の中央値 %2</numerusform>
        </translation>
    </message>
    <message>
        <location line="+47"/>
        <source>Best lap</source>
        <translation>ベストラップ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Theoretical best</source>
        <translation>理論ベスト</translation>
    </message>
    <message>
        <location line="-36"/>
        <source>standard deviation %1 s (%2 of the median)</source>
        <translation>標準偏差 %1 秒（中央値の %2）</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>A lap on such a line counts in no figure; the lap list shows the line after the laps.</source>
        <translation>このような行のラップはどの集計にも含まれません。ラップ一覧の最後にその行を示します。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Go to line %1</source>
        <translation>%1 行目へ移動</translation>
    </message>
    <message>
        <location line="+19"/>
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
    <message numerus="yes">
        <location line="+201"/>
        <source>%n lap(s): %1 counted, %2 excluded (slower than %3 or faster than %4: %5 and %6 of the median lap %7, or by hand).</source>
        <translation>
            <numerusform>%n 周：集計 %1、除外 %2（%3 より遅いか %4 より速い周回：中央値 %7 の %5 と %6、または手動）。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+29"/>
        <source>The day over %n session(s): the times of all of them together; speeds in %1, each unit on its own.</source>
        <translation>
            <numerusform>%n セッションの1日：タイムはすべてのセッションをまとめて集計し、速度は %1 で単位ごとに集計します。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+60"/>
        <source>%n lap(s) in %1 sessions: %2 counted, %3 excluded (slower than %4 or faster than %5 of their session&apos;s median lap, or by hand).</source>
        <translation>
            <numerusform>%1 セッションで %n 周：集計 %2、除外 %3（各セッションの中央値の %4 より遅いか %5 より速い周回、または手動）。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="-323"/>
        <source>%n lines of the view are not lap lines: %1.</source>
        <translation>
            <numerusform>表示の %n 行は周回の行ではありません：%1。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+34"/>
        <source>TMP1 min / max</source>
        <translation>TMP1 最低 / 最高</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>TMP2 min / max</source>
        <translation>TMP2 最低 / 最高</translation>
    </message>
    <message>
        <location line="-61"/>
        <location line="+9"/>
        <location line="+192"/>
        <location line="+78"/>
        <source>–</source>
        <translation>–</translation>
    </message>
    <message>
        <location line="-69"/>
        <location line="+88"/>
        <source>no counted lap</source>
        <translation>集計対象の周回なし</translation>
    </message>
    <message>
        <location line="-77"/>
        <source>%1   sectors from laps %2</source>
        <translation>%1   各セクターは %2 周目から</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>– (the counted laps differ in sectors)</source>
        <translation>–（集計対象の周回でセクター数が異なります）</translation>
    </message>
    <message>
        <location line="-211"/>
        <source>standard deviation %1 s</source>
        <translation>標準偏差 %1 秒</translation>
    </message>
    <message numerus="yes">
        <location line="+152"/>
        <source>&quot;bil load&quot; stopped: %1 %n later file(s) not read.</source>
        <translation>
            <numerusform>&quot;bil load&quot; は途中で止まりました：%1 後続の %n ファイルは読んでいません。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&quot;bil load&quot; stopped: %1</source>
        <translation>&quot;bil load&quot; は途中で止まりました：%1</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>A session&apos;s median lap leaves out its first and its last lap, so an out-lap or an in-lap never sets it. A lap faster than %1 of it is taken for a mis-triggered lap (a beacon read twice).</source>
        <translation>セッションの中央値は最初と最後の周回を除いて求めるため、アウトラップやインラップで決まることはありません。中央値の %1 より速い周回は誤計測（ビーコンの二重読み取り）とみなします。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>These sessions were found in the table text: each takes the speed unit of the header above it, since a saved table keeps no unit per lap file.</source>
        <translation>これらのセッションは表のテキストから見つけたものです。保存した表はラップファイルごとの単位を持たないため、どのセッションもその上のヘッダーの速度単位になります。</translation>
    </message>
    <message numerus="yes">
        <location line="+19"/>
        <source>%1: %n lap(s), speed in %2</source>
        <translation>
            <numerusform>%1：%n 周、速度 %2</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+30"/>
        <location line="+58"/>
        <location line="+27"/>
        <source>%1   %2</source>
        <translation>%1   %2</translation>
    </message>
    <message>
        <location line="-105"/>
        <source>%1   sectors from %2 laps %3</source>
        <translation>%1   セクター：%2 の %3周目</translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+85"/>
        <source>%1   %2 sector %3 to %4 sector %5</source>
        <translation>%1   %2 セクター%3 ～ %4 セクター%5</translation>
    </message>
    <message>
        <location line="-290"/>
        <source>Every line after the header is a lap line.</source>
        <translation>ヘッダー以降はすべてラップ行です。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Line %1 of the view is not a lap line.</source>
        <translation>表示の %1 行目はラップ行ではありません。</translation>
    </message>
    <message>
        <location line="+225"/>
        <location line="+88"/>
        <source>%1 (%2) / %3 (%4)</source>
        <translation>%1（%2）/ %3（%4）</translation>
    </message>
    <message numerus="yes">
        <location line="-70"/>
        <source>%n lap(s): %1 counted, %2 excluded.</source>
        <translation>
            <numerusform>%n 周：集計 %1、除外 %2。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <location line="+90"/>
        <source>%n lap(s) without a lap time.</source>
        <translation>
            <numerusform>ラップタイムのない周回 %n。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="-69"/>
        <source>The day over %n session(s), speed in %1</source>
        <translation>
            <numerusform>%n セッションの1日、速度 %1</numerusform>
        </translation>
    </message>
    <message>
        <location line="+15"/>
        <source>– (the sessions&apos; counted laps differ in sectors)</source>
        <translation>–（セッションの集計周回でセクター数が異なります）</translation>
    </message>
    <message>
        <location line="-5"/>
        <source>%1   sectors from %2</source>
        <translation>%1   セクター：%2</translation>
    </message>
    <message numerus="yes">
        <location line="+54"/>
        <source>%n lap(s) in %1 sessions: %2 counted, %3 excluded.</source>
        <translation>
            <numerusform>%1 セッション %n 周：集計 %2、除外 %3。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TrackReport</name>
    <message>
        <location filename="../src/library_view/TrackReport.cpp" line="+26"/>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1  %2, %3:%4</source>
        <translation>%1  %2、%3:%4</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 to %2</source>
        <translation>%1～%2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no vehicle noted</source>
        <translation>車両の記入なし</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Best lap, %1</source>
        <translation>ベストラップ、%1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Rolling best, %1</source>
        <translation>ローリングベスト、%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1  %2, %3:%4 S%5 to %3:%6 S%7</source>
        <translation>%1  %2、%3:%4 S%5 から %3:%6 S%7 まで</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Ideal lap, %1</source>
        <translation>理想ラップ、%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1  never driven whole</source>
        <translation>%1  通しでは一度も走っていません</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>S%1, %2</source>
        <translation>S%1、%2</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+37"/>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <location line="-37"/>
        <location line="+36"/>
        <source>Sessions</source>
        <translation>セッション数</translation>
    </message>
    <message>
        <location line="-36"/>
        <location line="+37"/>
        <source>Best lap</source>
        <translation>ベストラップ</translation>
    </message>
    <message>
        <location line="-36"/>
        <source>Theoretical</source>
        <translation>理論ベスト</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Median</source>
        <translation>中央値</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Counted</source>
        <translation>集計</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Personal best</source>
        <translation>自己ベスト</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>improved %1</source>
        <translation>%1 更新</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>first</source>
        <translation>初回</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Layout</source>
        <translation>レイアウト</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Vehicle</source>
        <translation>車両</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ideal lap</source>
        <translation>理想ラップ</translation>
    </message>
</context>
<context>
    <name>UiLanguage</name>
    <message>
        <location filename="../src/ui_language/UiLanguage.cpp" line="+196"/>
        <source>The folder %1 cannot be made.</source>
        <translation>フォルダー %1 を作成できません。</translation>
    </message>
    <message>
        <location line="+79"/>
        <source>System language</source>
        <translation>システムの言語</translation>
    </message>
</context>
<context>
    <name>ZipArchive</name>
    <message>
        <location filename="../src/lap_library/ZipArchive.cpp" line="+149"/>
        <source>the zip is too large</source>
        <translation>zip が大きすぎます</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>it is not a zip file</source>
        <translation>zip ファイルではありません</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>zips of several parts are not read</source>
        <translation>複数に分割された zip は読みません</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+39"/>
        <source>zip64 archives are not read</source>
        <translation>zip64 形式は読みません</translation>
    </message>
    <message>
        <location line="-37"/>
        <source>the zip holds too many entries</source>
        <translation>zip の項目が多すぎます</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the zip&apos;s directory lies outside the file</source>
        <translation>zip の目録がファイルの外を指しています</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+11"/>
        <source>the zip&apos;s directory is damaged</source>
        <translation>zip の目録が壊れています</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>the entry &quot;%1&quot; would leave the folder it is unpacked into</source>
        <translation>項目 &quot;%1&quot; は展開先のフォルダーの外に出てしまいます</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the entry &quot;%1&quot; is there twice</source>
        <translation>項目 &quot;%1&quot; が二つあります</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the entry &quot;%1&quot; is encrypted</source>
        <translation>項目 &quot;%1&quot; は暗号化されています</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the entry &quot;%1&quot; is too large</source>
        <translation>項目 &quot;%1&quot; が大きすぎます</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the entry &quot;%1&quot; is compressed; only stored entries are read</source>
        <translation>項目 &quot;%1&quot; は圧縮されています。無圧縮の項目だけを読みます</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the zip&apos;s entries are too large together</source>
        <translation>zip の項目が合わせて大きすぎます</translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+5"/>
        <location line="+6"/>
        <source>the entry &quot;%1&quot; is damaged</source>
        <translation>項目 &quot;%1&quot; が壊れています</translation>
    </message>
    <message>
        <location line="-3"/>
        <source>the entry &quot;%1&quot; fails its checksum</source>
        <translation>項目 &quot;%1&quot; のチェックサムが合いません</translation>
    </message>
</context>
</TS>
