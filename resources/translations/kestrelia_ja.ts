<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Kestrelia</source>
        <translation>Kestrelia について</translation>
    </message>
    <message>
        <source>aboutIcon</source>
        <translation type="vanished">aboutIcon</translation>
    </message>
    <message>
        <source>Kestrelia 2.0</source>
        <translation>Kestrelia 2.0</translation>
    </message>
    <message>
        <source>A disk benchmark: sequential transfers at zones from the first to the last sector, and random 4 KiB transfers, read and written back so the medium ends as it was.</source>
        <translation>ディスクベンチマーク：先頭から末尾のセクターまでのゾーンでのシーケンシャル転送と 4 KiB のランダム転送を、読み込んでから書き戻すため、メディアの内容は元のまま残ります。</translation>
    </message>
    <message>
        <source>© 2026 The Kestrelia developers</source>
        <translation>© 2026 Kestrelia 開発者</translation>
    </message>
</context>
<context>
    <name>Counts</name>
    <message numerus="yes">
        <source>%n Megabytes</source>
        <translation>
            <numerusform>%n メガバイト</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n zones</source>
        <translation>
            <numerusform>%n ゾーン</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n cycles</source>
        <translation>
            <numerusform>%n サイクル</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CustomSave</name>
    <message>
        <source>upan</source>
        <translation>upan</translation>
    </message>
    <message>
        <source>Report format</source>
        <translation>レポート形式</translation>
    </message>
    <message>
        <source>rgrp</source>
        <translation>rgrp</translation>
    </message>
    <message>
        <source>Text report (.txt)</source>
        <translation>テキストレポート (.txt)</translation>
    </message>
    <message>
        <source>Spreadsheet report, tab-separated (.xls)</source>
        <translation>表計算レポート、タブ区切り (.xls)</translation>
    </message>
</context>
<context>
    <name>GraphText</name>
    <message>
        <source>Zone %1 of %2, %3 to %4 GB: reads lowest %5, average %6, highest %7 MB per second.</source>
        <translation>ゾーン %1/%2、%3～%4 GB: 読み込み 最低 %5、平均 %6、最高 %7 MB/秒。</translation>
    </message>
    <message>
        <source>Writes lowest %1, average %2, highest %3 MB per second.</source>
        <translation>書き込み 最低 %1、平均 %2、最高 %3 MB/秒。</translation>
    </message>
    <message>
        <source>No results to show: no test has been run yet, or it measured nothing.</source>
        <translation>表示する結果はありません。テストがまだ実行されていないか、何も測定されませんでした。</translation>
    </message>
    <message>
        <source>Random test reads: %1 MB per second, %2 transfers per second.</source>
        <translation>ランダムテスト 読み込み: %1 MB/秒、毎秒 %2 回の転送。</translation>
    </message>
    <message>
        <source>Random test writes: %1 MB per second, %2 transfers per second.</source>
        <translation>ランダムテスト 書き込み: %1 MB/秒、毎秒 %2 回の転送。</translation>
    </message>
</context>
<context>
    <name>GraphView</name>
    <message>
        <source>Results graph</source>
        <translation>結果のグラフ</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kestrelia</source>
        <translation>Kestrelia</translation>
    </message>
    <message>
        <source>tabs</source>
        <translation>tabs</translation>
    </message>
    <message>
        <source>Drives</source>
        <translation>ドライブ</translation>
    </message>
    <message>
        <source>tabp</source>
        <translation>tabp</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation type="vanished">ドライブ:</translation>
    </message>
    <message>
        <source>popb</source>
        <translation>popb</translation>
    </message>
    <message>
        <source>- Select a Drive -</source>
        <translation>- ドライブを選択 -</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>icon</source>
        <translation>icon</translation>
    </message>
    <message>
        <source>Interface:</source>
        <translation>接続:</translation>
    </message>
    <message>
        <source>stxt</source>
        <translation>stxt</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>容量:</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>デバイス:</translation>
    </message>
    <message>
        <source>Volumes</source>
        <translation>ボリューム</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation type="vanished">Vol.:</translation>
    </message>
    <message>
        <source>- Select a Volume -</source>
        <translation>- ボリュームを選択 -</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>形式:</translation>
    </message>
    <message>
        <source>or drop a folder or volume from the file manager here</source>
        <translation>またはファイルマネージャーからフォルダーやボリュームをここにドロップ</translation>
    </message>
    <message>
        <source>well</source>
        <translation>well</translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="vanished">開始</translation>
    </message>
    <message>
        <source>push</source>
        <translation>push</translation>
    </message>
    <message>
        <source>Test options</source>
        <translation>テストオプション</translation>
    </message>
    <message>
        <source>bevl</source>
        <translation>bevl</translation>
    </message>
    <message>
        <source>Disk Benchmark</source>
        <translation>ベンチマーク</translation>
    </message>
    <message>
        <source>pgrp</source>
        <translation>pgrp</translation>
    </message>
    <message>
        <source>Standard Zone Test</source>
        <translation>標準ゾーンテスト</translation>
    </message>
    <message>
        <source>Random Zone Test</source>
        <translation>ランダムゾーンテスト</translation>
    </message>
    <message>
        <source>Zone Test Settings</source>
        <translation>ゾーンテストの設定</translation>
    </message>
    <message>
        <source>grpb</source>
        <translation>grpb</translation>
    </message>
    <message>
        <source>Transfer:</source>
        <translation>転送:</translation>
    </message>
    <message>
        <source>1 Megabyte</source>
        <translation>1 メガバイト</translation>
    </message>
    <message>
        <source>Zones:</source>
        <translation>ゾーン:</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Cycles:</source>
        <translation>サイクル:</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>目標:</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>オフ</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>マージン:</translation>
    </message>
    <message>
        <source>Random Test</source>
        <translation>ランダムテスト</translation>
    </message>
    <message>
        <source>10,000 transfers of 4 KiB at sectors spread over the whole drive, read and then written back.</source>
        <translation>ドライブ全体に散らばるセクターへの 4 KiB 転送を 10,000 回、読み込んでから書き戻します。</translation>
    </message>
    <message>
        <source>Queue depth: 1</source>
        <translation>キュー深度: 1</translation>
    </message>
    <message>
        <source>- No Drive Selected for Testing -</source>
        <translation>- テストするドライブが選択されていません -</translation>
    </message>
    <message>
        <source>upan</source>
        <translation>upan</translation>
    </message>
    <message>
        <source>Position on the drive (GB from its start)</source>
        <translation>ドライブ上の位置（先頭からの GB）</translation>
    </message>
    <message>
        <source>Random Zone Test: 10,000 transfers of 4 KiB</source>
        <translation>ランダムゾーンテスト：4 KiB 転送 10,000 回</translation>
    </message>
    <message>
        <source>Reads</source>
        <translation>読み込み</translation>
    </message>
    <message>
        <source>Transfers per second:</source>
        <translation>毎秒:</translation>
    </message>
    <message>
        <source>Transfers done:</source>
        <translation>完了した転送:</translation>
    </message>
    <message>
        <source>prgb</source>
        <translation>prgb</translation>
    </message>
    <message>
        <source>Elapsed:</source>
        <translation>経過:</translation>
    </message>
    <message>
        <source>Writes</source>
        <translation>書き込み</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>Save Test Results</source>
        <translation type="vanished">テスト結果を保存</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>As Text Report…</source>
        <translation type="vanished">テキストレポートとして…</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>word</source>
        <translation>word</translation>
    </message>
    <message>
        <source>As Spreadsheet Report…</source>
        <translation type="vanished">表計算レポートとして…</translation>
    </message>
    <message>
        <source>Ctrl+Shift+S</source>
        <translation>Ctrl+Shift+S</translation>
    </message>
    <message>
        <source>xcel</source>
        <translation>xcel</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>quit</translation>
    </message>
    <message>
        <source>&amp;About Kestrelia</source>
        <translation>Kestrelia について(&amp;A)</translation>
    </message>
    <message>
        <source>abou</source>
        <translation>abou</translation>
    </message>
    <message>
        <source>Surface Test</source>
        <translation>表面テスト</translation>
    </message>
    <message>
        <source>Surface test results</source>
        <translation>表面テストの結果</translation>
    </message>
    <message>
        <source>&amp;Drive:</source>
        <translation>ドライブ(&amp;D):</translation>
    </message>
    <message>
        <source>&amp;Volume:</source>
        <translation>Vol.(&amp;V):</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>開始(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>停止(&amp;T)</translation>
    </message>
    <message>
        <source>Options…</source>
        <translation>オプション…</translation>
    </message>
    <message>
        <source>Opens the test options: transfer size, zones, cycles, target rate and queue depth</source>
        <translation>テストのオプションを開きます: 転送サイズ、ゾーン、サイクル、目標レート、キューの深さ</translation>
    </message>
    <message>
        <source>Test kind</source>
        <translation>テストの種類</translation>
    </message>
    <message>
        <source>Reads done</source>
        <translation>完了した読み込み</translation>
    </message>
    <message>
        <source>Writes done</source>
        <translation>完了した書き込み</translation>
    </message>
    <message>
        <source>Save Test &amp;Results</source>
        <translation>テスト結果を保存(&amp;R)</translation>
    </message>
    <message>
        <source>As &amp;Text Report…</source>
        <translation>テキストレポートとして(&amp;T)…</translation>
    </message>
    <message>
        <source>As S&amp;preadsheet Report…</source>
        <translation>表計算レポートとして(&amp;P)…</translation>
    </message>
</context>
<context>
    <name>OptionsSheet</name>
    <message>
        <source>Test Options</source>
        <translation>テストオプション</translation>
    </message>
    <message>
        <source>Zone Test Options</source>
        <translation>ゾーンテストのオプション</translation>
    </message>
    <message>
        <source>Transfer size:</source>
        <translation type="vanished">転送サイズ:</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>etxt</source>
        <translation>etxt</translation>
    </message>
    <message>
        <source>Megabytes (1 to 511)</source>
        <translation>メガバイト（1～511）</translation>
    </message>
    <message>
        <source>Zones:</source>
        <translation type="vanished">ゾーン:</translation>
    </message>
    <message>
        <source>popb</source>
        <translation>popb</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>9</source>
        <translation>9</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
    <message>
        <source>11</source>
        <translation>11</translation>
    </message>
    <message>
        <source>12</source>
        <translation>12</translation>
    </message>
    <message>
        <source>13</source>
        <translation>13</translation>
    </message>
    <message>
        <source>14</source>
        <translation>14</translation>
    </message>
    <message>
        <source>15</source>
        <translation>15</translation>
    </message>
    <message>
        <source>16</source>
        <translation>16</translation>
    </message>
    <message>
        <source>17</source>
        <translation>17</translation>
    </message>
    <message>
        <source>18</source>
        <translation>18</translation>
    </message>
    <message>
        <source>19</source>
        <translation>19</translation>
    </message>
    <message>
        <source>20</source>
        <translation>20</translation>
    </message>
    <message>
        <source>21</source>
        <translation>21</translation>
    </message>
    <message>
        <source>22</source>
        <translation>22</translation>
    </message>
    <message>
        <source>23</source>
        <translation>23</translation>
    </message>
    <message>
        <source>24</source>
        <translation>24</translation>
    </message>
    <message>
        <source>25</source>
        <translation>25</translation>
    </message>
    <message>
        <source>26</source>
        <translation>26</translation>
    </message>
    <message>
        <source>27</source>
        <translation>27</translation>
    </message>
    <message>
        <source>28</source>
        <translation>28</translation>
    </message>
    <message>
        <source>29</source>
        <translation>29</translation>
    </message>
    <message>
        <source>30</source>
        <translation>30</translation>
    </message>
    <message>
        <source>31</source>
        <translation>31</translation>
    </message>
    <message>
        <source>32</source>
        <translation>32</translation>
    </message>
    <message>
        <source>33</source>
        <translation>33</translation>
    </message>
    <message>
        <source>34</source>
        <translation>34</translation>
    </message>
    <message>
        <source>35</source>
        <translation>35</translation>
    </message>
    <message>
        <source>36</source>
        <translation>36</translation>
    </message>
    <message>
        <source>37</source>
        <translation>37</translation>
    </message>
    <message>
        <source>38</source>
        <translation>38</translation>
    </message>
    <message>
        <source>39</source>
        <translation>39</translation>
    </message>
    <message>
        <source>40</source>
        <translation>40</translation>
    </message>
    <message>
        <source>41</source>
        <translation>41</translation>
    </message>
    <message>
        <source>42</source>
        <translation>42</translation>
    </message>
    <message>
        <source>43</source>
        <translation>43</translation>
    </message>
    <message>
        <source>44</source>
        <translation>44</translation>
    </message>
    <message>
        <source>45</source>
        <translation>45</translation>
    </message>
    <message>
        <source>46</source>
        <translation>46</translation>
    </message>
    <message>
        <source>47</source>
        <translation>47</translation>
    </message>
    <message>
        <source>48</source>
        <translation>48</translation>
    </message>
    <message>
        <source>49</source>
        <translation>49</translation>
    </message>
    <message>
        <source>50</source>
        <translation>50</translation>
    </message>
    <message>
        <source>Cycles per zone:</source>
        <translation type="vanished">サイクル数:</translation>
    </message>
    <message>
        <source>Show target media rate</source>
        <translation type="vanished">目標転送速度を表示</translation>
    </message>
    <message>
        <source>cgrp</source>
        <translation>cgrp</translation>
    </message>
    <message>
        <source>Target rate:</source>
        <translation type="vanished">目標速度:</translation>
    </message>
    <message>
        <source>MB per second</source>
        <translation>MB/秒</translation>
    </message>
    <message>
        <source>Safety margin:</source>
        <translation type="vanished">安全マージン:</translation>
    </message>
    <message>
        <source>none</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>5 %</source>
        <translation>5 %</translation>
    </message>
    <message>
        <source>10 %</source>
        <translation>10 %</translation>
    </message>
    <message>
        <source>15 %</source>
        <translation>15 %</translation>
    </message>
    <message>
        <source>20 %</source>
        <translation>20 %</translation>
    </message>
    <message>
        <source>25 %</source>
        <translation>25 %</translation>
    </message>
    <message>
        <source>30 %</source>
        <translation>30 %</translation>
    </message>
    <message>
        <source>35 %</source>
        <translation>35 %</translation>
    </message>
    <message>
        <source>40 %</source>
        <translation>40 %</translation>
    </message>
    <message>
        <source>45 %</source>
        <translation>45 %</translation>
    </message>
    <message>
        <source>50 %</source>
        <translation>50 %</translation>
    </message>
    <message>
        <source>Random test</source>
        <translation>ランダムテスト</translation>
    </message>
    <message>
        <source>Queue depth:</source>
        <translation type="vanished">キュー深度:</translation>
    </message>
    <message>
        <source>64</source>
        <translation>64</translation>
    </message>
    <message>
        <source>128</source>
        <translation>128</translation>
    </message>
    <message>
        <source>256</source>
        <translation>256</translation>
    </message>
    <message>
        <source>transfers in flight</source>
        <translation>同時転送数</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>push</source>
        <translation>push</translation>
    </message>
    <message>
        <source>Surface test</source>
        <translation>表面テスト</translation>
    </message>
    <message>
        <source>Span:</source>
        <translation>範囲:</translation>
    </message>
    <message>
        <source>GB (0 = all)</source>
        <translation>GB (0 = 全体)</translation>
    </message>
    <message>
        <source>Time limit:</source>
        <translation>制限時間:</translation>
    </message>
    <message>
        <source>min (0 = none)</source>
        <translation>分 (0 = なし)</translation>
    </message>
    <message>
        <source>Surface test span in gigabytes</source>
        <translation>表面テストの範囲 (ギガバイト)</translation>
    </message>
    <message>
        <source>Surface test time limit in minutes</source>
        <translation>表面テストの制限時間 (分)</translation>
    </message>
    <message>
        <source>&amp;Transfer size:</source>
        <translation>転送サイズ(&amp;T):</translation>
    </message>
    <message>
        <source>&amp;Zones:</source>
        <translation>ゾーン(&amp;Z):</translation>
    </message>
    <message>
        <source>&amp;Cycles per zone:</source>
        <translation>サイクル数(&amp;C):</translation>
    </message>
    <message>
        <source>Show target media &amp;rate</source>
        <translation>目標転送速度を表示(&amp;R)</translation>
    </message>
    <message>
        <source>Tar&amp;get rate:</source>
        <translation>目標速度(&amp;G):</translation>
    </message>
    <message>
        <source>Safety &amp;margin:</source>
        <translation>安全マージン(&amp;M):</translation>
    </message>
    <message>
        <source>&amp;Queue depth:</source>
        <translation>キュー深度(&amp;Q):</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Caution</source>
        <translation>注意</translation>
    </message>
    <message>
        <source>
Mount them back now?</source>
        <translation>
今すぐマウントし直しますか？</translation>
    </message>
    <message>
        <source>Save Test Results</source>
        <translation>テスト結果を保存</translation>
    </message>
</context>
</TS>
