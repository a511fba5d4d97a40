<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Kestrelia</source>
        <translation>O programie Kestrelia</translation>
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
        <translation>Test wydajności dysków: transfery sekwencyjne w strefach od pierwszego do ostatniego sektora oraz losowe transfery po 4 KiB, odczytywane i zapisywane z powrotem, tak że nośnik pozostaje niezmieniony.</translation>
    </message>
    <message>
        <source>© 2026 The Kestrelia developers</source>
        <translation>© 2026 Twórcy Kestrelii</translation>
    </message>
</context>
<context>
    <name>Counts</name>
    <message numerus="yes">
        <source>%n Megabytes</source>
        <translation>
            <numerusform>%n megabajt</numerusform>
            <numerusform>%n megabajty</numerusform>
            <numerusform>%n megabajtów</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n zones</source>
        <translation>
            <numerusform>%n strefa</numerusform>
            <numerusform>%n strefy</numerusform>
            <numerusform>%n stref</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n cycles</source>
        <translation>
            <numerusform>%n cykl</numerusform>
            <numerusform>%n cykle</numerusform>
            <numerusform>%n cykli</numerusform>
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
        <translation>Format raportu</translation>
    </message>
    <message>
        <source>rgrp</source>
        <translation>rgrp</translation>
    </message>
    <message>
        <source>Text report (.txt)</source>
        <translation>Raport tekstowy (.txt)</translation>
    </message>
    <message>
        <source>Spreadsheet report, tab-separated (.xls)</source>
        <translation>Raport arkusza, rozdzielany tabulatorami (.xls)</translation>
    </message>
</context>
<context>
    <name>GraphText</name>
    <message>
        <source>Zone %1 of %2, %3 to %4 GB: reads lowest %5, average %6, highest %7 MB per second.</source>
        <translation>Strefa %1 z %2, od %3 do %4 GB: odczyt najniższy %5, średni %6, najwyższy %7 MB na sekundę.</translation>
    </message>
    <message>
        <source>Writes lowest %1, average %2, highest %3 MB per second.</source>
        <translation>Zapis najniższy %1, średni %2, najwyższy %3 MB na sekundę.</translation>
    </message>
    <message>
        <source>No results to show: no test has been run yet, or it measured nothing.</source>
        <translation>Brak wyników: nie przeprowadzono jeszcze testu albo niczego nie zmierzył.</translation>
    </message>
    <message>
        <source>Random test reads: %1 MB per second, %2 transfers per second.</source>
        <translation>Test losowy, odczyt: %1 MB na sekundę, %2 transferów na sekundę.</translation>
    </message>
    <message>
        <source>Random test writes: %1 MB per second, %2 transfers per second.</source>
        <translation>Test losowy, zapis: %1 MB na sekundę, %2 transferów na sekundę.</translation>
    </message>
</context>
<context>
    <name>GraphView</name>
    <message>
        <source>Results graph</source>
        <translation>Wykres wyników</translation>
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
        <translation>Dyski</translation>
    </message>
    <message>
        <source>tabp</source>
        <translation>tabp</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation type="vanished">Dysk:</translation>
    </message>
    <message>
        <source>popb</source>
        <translation>popb</translation>
    </message>
    <message>
        <source>- Select a Drive -</source>
        <translation>- Wybierz dysk -</translation>
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
        <translation>Interfejs:</translation>
    </message>
    <message>
        <source>stxt</source>
        <translation>stxt</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Rozmiar:</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>Węzeł:</translation>
    </message>
    <message>
        <source>Volumes</source>
        <translation>Woluminy</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation type="vanished">Wol.:</translation>
    </message>
    <message>
        <source>- Select a Volume -</source>
        <translation>- Wybierz wolumin -</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>or drop a folder or volume from the file manager here</source>
        <translation>lub upuść tu folder albo wolumin z menedżera plików</translation>
    </message>
    <message>
        <source>well</source>
        <translation>well</translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="vanished">Start</translation>
    </message>
    <message>
        <source>push</source>
        <translation>push</translation>
    </message>
    <message>
        <source>Test options</source>
        <translation>Opcje testu</translation>
    </message>
    <message>
        <source>bevl</source>
        <translation>bevl</translation>
    </message>
    <message>
        <source>Disk Benchmark</source>
        <translation>Test dysków</translation>
    </message>
    <message>
        <source>pgrp</source>
        <translation>pgrp</translation>
    </message>
    <message>
        <source>Standard Zone Test</source>
        <translation>Standardowy test strefowy</translation>
    </message>
    <message>
        <source>Random Zone Test</source>
        <translation>Losowy test strefowy</translation>
    </message>
    <message>
        <source>Zone Test Settings</source>
        <translation>Ustawienia testu strefowego</translation>
    </message>
    <message>
        <source>grpb</source>
        <translation>grpb</translation>
    </message>
    <message>
        <source>Transfer:</source>
        <translation>Transfer:</translation>
    </message>
    <message>
        <source>1 Megabyte</source>
        <translation>1 megabajt</translation>
    </message>
    <message>
        <source>Zones:</source>
        <translation>Strefy:</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Cycles:</source>
        <translation>Cykle:</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>Cel:</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Wyłączone</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>Margines:</translation>
    </message>
    <message>
        <source>Random Test</source>
        <translation>Test losowy</translation>
    </message>
    <message>
        <source>10,000 transfers of 4 KiB at sectors spread over the whole drive, read and then written back.</source>
        <translation>10 000 transferów po 4 KiB rozłożonych na cały dysk, odczyt, potem zapis.</translation>
    </message>
    <message>
        <source>Queue depth: 1</source>
        <translation>Głębokość kolejki: 1</translation>
    </message>
    <message>
        <source>- No Drive Selected for Testing -</source>
        <translation>- Nie wybrano dysku do testu -</translation>
    </message>
    <message>
        <source>upan</source>
        <translation>upan</translation>
    </message>
    <message>
        <source>Position on the drive (GB from its start)</source>
        <translation>Pozycja na dysku (GB od początku)</translation>
    </message>
    <message>
        <source>Random Zone Test: 10,000 transfers of 4 KiB</source>
        <translation>Losowy test strefowy: 10 000 transferów po 4 KiB</translation>
    </message>
    <message>
        <source>Reads</source>
        <translation>Odczyty</translation>
    </message>
    <message>
        <source>Transfers per second:</source>
        <translation>Na sekundę:</translation>
    </message>
    <message>
        <source>Transfers done:</source>
        <translation>Wykonane:</translation>
    </message>
    <message>
        <source>prgb</source>
        <translation>prgb</translation>
    </message>
    <message>
        <source>Elapsed:</source>
        <translation>Czas:</translation>
    </message>
    <message>
        <source>Writes</source>
        <translation>Zapisy</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Plik</translation>
    </message>
    <message>
        <source>Save Test Results</source>
        <translation type="vanished">Zapisz wyniki testu</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Pomo&amp;c</translation>
    </message>
    <message>
        <source>As Text Report…</source>
        <translation type="vanished">Jako raport tekstowy…</translation>
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
        <translation type="vanished">Jako raport arkusza…</translation>
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
        <translation>Za&amp;kończ</translation>
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
        <translation>&amp;O programie Kestrelia</translation>
    </message>
    <message>
        <source>abou</source>
        <translation>abou</translation>
    </message>
    <message>
        <source>Surface Test</source>
        <translation>Test powierzchni</translation>
    </message>
    <message>
        <source>Surface test results</source>
        <translation>Wyniki testu powierzchni</translation>
    </message>
    <message>
        <source>&amp;Drive:</source>
        <translation>&amp;Dysk:</translation>
    </message>
    <message>
        <source>&amp;Volume:</source>
        <translation>&amp;Wol.:</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>Options…</source>
        <translation>Opcje…</translation>
    </message>
    <message>
        <source>Opens the test options: transfer size, zones, cycles, target rate and queue depth</source>
        <translation>Otwiera opcje testu: rozmiar transferu, strefy, cykle, docelową szybkość i głębokość kolejki</translation>
    </message>
    <message>
        <source>Test kind</source>
        <translation>Rodzaj testu</translation>
    </message>
    <message>
        <source>Reads done</source>
        <translation>Wykonane odczyty</translation>
    </message>
    <message>
        <source>Writes done</source>
        <translation>Wykonane zapisy</translation>
    </message>
    <message>
        <source>Save Test &amp;Results</source>
        <translation>&amp;Zapisz wyniki testu</translation>
    </message>
    <message>
        <source>As &amp;Text Report…</source>
        <translation>Jako rapor&amp;t tekstowy…</translation>
    </message>
    <message>
        <source>As S&amp;preadsheet Report…</source>
        <translation>Jako ra&amp;port arkusza…</translation>
    </message>
</context>
<context>
    <name>OptionsSheet</name>
    <message>
        <source>Test Options</source>
        <translation>Opcje testu</translation>
    </message>
    <message>
        <source>Zone Test Options</source>
        <translation>Opcje testu strefowego</translation>
    </message>
    <message>
        <source>Transfer size:</source>
        <translation type="vanished">Rozmiar transferu:</translation>
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
        <translation>megabajtów (1–511)</translation>
    </message>
    <message>
        <source>Zones:</source>
        <translation type="vanished">Strefy:</translation>
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
        <translation type="vanished">Cykle na strefę:</translation>
    </message>
    <message>
        <source>Show target media rate</source>
        <translation type="vanished">Pokaż docelową prędkość</translation>
    </message>
    <message>
        <source>cgrp</source>
        <translation>cgrp</translation>
    </message>
    <message>
        <source>Target rate:</source>
        <translation type="vanished">Cel:</translation>
    </message>
    <message>
        <source>MB per second</source>
        <translation>MB/s</translation>
    </message>
    <message>
        <source>Safety margin:</source>
        <translation type="vanished">Margines:</translation>
    </message>
    <message>
        <source>none</source>
        <translation>brak</translation>
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
        <translation>Test losowy</translation>
    </message>
    <message>
        <source>Queue depth:</source>
        <translation type="vanished">Kolejka:</translation>
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
        <translation>równolegle</translation>
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
        <translation>Test powierzchni</translation>
    </message>
    <message>
        <source>Span:</source>
        <translation>Zakres:</translation>
    </message>
    <message>
        <source>GB (0 = all)</source>
        <translation>GB (0 = całość)</translation>
    </message>
    <message>
        <source>Time limit:</source>
        <translation>Limit czasu:</translation>
    </message>
    <message>
        <source>min (0 = none)</source>
        <translation>min (0 = brak)</translation>
    </message>
    <message>
        <source>Surface test span in gigabytes</source>
        <translation>Zakres testu powierzchni w gigabajtach</translation>
    </message>
    <message>
        <source>Surface test time limit in minutes</source>
        <translation>Limit czasu testu powierzchni w minutach</translation>
    </message>
    <message>
        <source>&amp;Transfer size:</source>
        <translation>Rozmiar &amp;transferu:</translation>
    </message>
    <message>
        <source>&amp;Zones:</source>
        <translation>&amp;Strefy:</translation>
    </message>
    <message>
        <source>&amp;Cycles per zone:</source>
        <translation>&amp;Cykle na strefę:</translation>
    </message>
    <message>
        <source>Show target media &amp;rate</source>
        <translation>Pokaż docelową p&amp;rędkość</translation>
    </message>
    <message>
        <source>Tar&amp;get rate:</source>
        <translation>C&amp;el:</translation>
    </message>
    <message>
        <source>Safety &amp;margin:</source>
        <translation>&amp;Margines:</translation>
    </message>
    <message>
        <source>&amp;Queue depth:</source>
        <translation>&amp;Kolejka:</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Caution</source>
        <translation>Uwaga</translation>
    </message>
    <message>
        <source>
Mount them back now?</source>
        <translation>
Zamontować je teraz ponownie?</translation>
    </message>
    <message>
        <source>Save Test Results</source>
        <translation>Zapisz wyniki testu</translation>
    </message>
</context>
</TS>
