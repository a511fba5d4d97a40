<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Kestrelia</source>
        <translation>О программе Kestrelia</translation>
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
        <translation>Тест скорости дисков: последовательные передачи по зонам от первого до последнего сектора и случайные передачи по 4 КиБ, прочитанные и записанные обратно, так что носитель остаётся прежним.</translation>
    </message>
    <message>
        <source>© 2026 The Kestrelia developers</source>
        <translation>© 2026 Разработчики Kestrelia</translation>
    </message>
</context>
<context>
    <name>Counts</name>
    <message numerus="yes">
        <source>%n Megabytes</source>
        <translation>
            <numerusform>%n мегабайт</numerusform>
            <numerusform>%n мегабайта</numerusform>
            <numerusform>%n мегабайт</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n zones</source>
        <translation>
            <numerusform>%n зона</numerusform>
            <numerusform>%n зоны</numerusform>
            <numerusform>%n зон</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n cycles</source>
        <translation>
            <numerusform>%n цикл</numerusform>
            <numerusform>%n цикла</numerusform>
            <numerusform>%n циклов</numerusform>
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
        <translation>Формат отчёта</translation>
    </message>
    <message>
        <source>rgrp</source>
        <translation>rgrp</translation>
    </message>
    <message>
        <source>Text report (.txt)</source>
        <translation>Текстовый отчёт (.txt)</translation>
    </message>
    <message>
        <source>Spreadsheet report, tab-separated (.xls)</source>
        <translation>Отчёт для таблиц, с табуляцией (.xls)</translation>
    </message>
</context>
<context>
    <name>GraphText</name>
    <message>
        <source>Zone %1 of %2, %3 to %4 GB: reads lowest %5, average %6, highest %7 MB per second.</source>
        <translation>Зона %1 из %2, от %3 до %4 ГБ: чтение минимум %5, в среднем %6, максимум %7 МБ в секунду.</translation>
    </message>
    <message>
        <source>Writes lowest %1, average %2, highest %3 MB per second.</source>
        <translation>Запись минимум %1, в среднем %2, максимум %3 МБ в секунду.</translation>
    </message>
    <message>
        <source>No results to show: no test has been run yet, or it measured nothing.</source>
        <translation>Нет результатов: тест ещё не запускался или ничего не измерил.</translation>
    </message>
    <message>
        <source>Random test reads: %1 MB per second, %2 transfers per second.</source>
        <translation>Случайный тест, чтение: %1 МБ в секунду, %2 операций в секунду.</translation>
    </message>
    <message>
        <source>Random test writes: %1 MB per second, %2 transfers per second.</source>
        <translation>Случайный тест, запись: %1 МБ в секунду, %2 операций в секунду.</translation>
    </message>
</context>
<context>
    <name>GraphView</name>
    <message>
        <source>Results graph</source>
        <translation>График результатов</translation>
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
        <translation>Диски</translation>
    </message>
    <message>
        <source>tabp</source>
        <translation>tabp</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation type="vanished">Диск:</translation>
    </message>
    <message>
        <source>popb</source>
        <translation>popb</translation>
    </message>
    <message>
        <source>- Select a Drive -</source>
        <translation>- Выберите диск -</translation>
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
        <translation>Шина:</translation>
    </message>
    <message>
        <source>stxt</source>
        <translation>stxt</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Размер:</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>Узел:</translation>
    </message>
    <message>
        <source>Volumes</source>
        <translation>Тома</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation type="vanished">Том:</translation>
    </message>
    <message>
        <source>- Select a Volume -</source>
        <translation>- Выберите том -</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Формат:</translation>
    </message>
    <message>
        <source>or drop a folder or volume from the file manager here</source>
        <translation>или перетащите сюда папку или том из файлового менеджера</translation>
    </message>
    <message>
        <source>well</source>
        <translation>well</translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="vanished">Старт</translation>
    </message>
    <message>
        <source>push</source>
        <translation>push</translation>
    </message>
    <message>
        <source>Test options</source>
        <translation>Параметры теста</translation>
    </message>
    <message>
        <source>bevl</source>
        <translation>bevl</translation>
    </message>
    <message>
        <source>Disk Benchmark</source>
        <translation>Тест дисков</translation>
    </message>
    <message>
        <source>pgrp</source>
        <translation>pgrp</translation>
    </message>
    <message>
        <source>Standard Zone Test</source>
        <translation>Стандартный зонный тест</translation>
    </message>
    <message>
        <source>Random Zone Test</source>
        <translation>Случайный зонный тест</translation>
    </message>
    <message>
        <source>Zone Test Settings</source>
        <translation>Настройки зонного теста</translation>
    </message>
    <message>
        <source>grpb</source>
        <translation>grpb</translation>
    </message>
    <message>
        <source>Transfer:</source>
        <translation>Блок:</translation>
    </message>
    <message>
        <source>1 Megabyte</source>
        <translation>1 мегабайт</translation>
    </message>
    <message>
        <source>Zones:</source>
        <translation>Зоны:</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Cycles:</source>
        <translation>Циклы:</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>Цель:</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Выкл.</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>Запас:</translation>
    </message>
    <message>
        <source>Random Test</source>
        <translation>Случайный тест</translation>
    </message>
    <message>
        <source>10,000 transfers of 4 KiB at sectors spread over the whole drive, read and then written back.</source>
        <translation>10 000 передач по 4 КиБ по всему диску: чтение, затем запись обратно.</translation>
    </message>
    <message>
        <source>Queue depth: 1</source>
        <translation>Глубина очереди: 1</translation>
    </message>
    <message>
        <source>- No Drive Selected for Testing -</source>
        <translation>- Диск для теста не выбран -</translation>
    </message>
    <message>
        <source>upan</source>
        <translation>upan</translation>
    </message>
    <message>
        <source>Position on the drive (GB from its start)</source>
        <translation>Позиция на диске (ГБ от начала)</translation>
    </message>
    <message>
        <source>Random Zone Test: 10,000 transfers of 4 KiB</source>
        <translation>Случайный зонный тест: 10 000 передач по 4 КиБ</translation>
    </message>
    <message>
        <source>Reads</source>
        <translation>Чтение</translation>
    </message>
    <message>
        <source>Transfers per second:</source>
        <translation>В секунду:</translation>
    </message>
    <message>
        <source>Transfers done:</source>
        <translation>Выполнено:</translation>
    </message>
    <message>
        <source>prgb</source>
        <translation>prgb</translation>
    </message>
    <message>
        <source>Elapsed:</source>
        <translation>Прошло:</translation>
    </message>
    <message>
        <source>Writes</source>
        <translation>Запись</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>Save Test Results</source>
        <translation type="vanished">Сохранить результаты</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>As Text Report…</source>
        <translation type="vanished">Как текстовый отчёт…</translation>
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
        <translation type="vanished">Как отчёт для таблиц…</translation>
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
        <translation>В&amp;ыход</translation>
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
        <translation>&amp;О программе Kestrelia</translation>
    </message>
    <message>
        <source>abou</source>
        <translation>abou</translation>
    </message>
    <message>
        <source>Surface Test</source>
        <translation>Тест поверхности</translation>
    </message>
    <message>
        <source>Surface test results</source>
        <translation>Результаты теста поверхности</translation>
    </message>
    <message>
        <source>&amp;Drive:</source>
        <translation>&amp;Диск:</translation>
    </message>
    <message>
        <source>&amp;Volume:</source>
        <translation>&amp;Том:</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>Ста&amp;рт</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>Сто&amp;п</translation>
    </message>
    <message>
        <source>Options…</source>
        <translation>Параметры…</translation>
    </message>
    <message>
        <source>Opens the test options: transfer size, zones, cycles, target rate and queue depth</source>
        <translation>Открывает параметры теста: размер передачи, зоны, циклы, целевую скорость и глубину очереди</translation>
    </message>
    <message>
        <source>Test kind</source>
        <translation>Вид теста</translation>
    </message>
    <message>
        <source>Reads done</source>
        <translation>Выполнено чтений</translation>
    </message>
    <message>
        <source>Writes done</source>
        <translation>Выполнено записей</translation>
    </message>
    <message>
        <source>Save Test &amp;Results</source>
        <translation>&amp;Сохранить результаты</translation>
    </message>
    <message>
        <source>As &amp;Text Report…</source>
        <translation>&amp;Как текстовый отчёт…</translation>
    </message>
    <message>
        <source>As S&amp;preadsheet Report…</source>
        <translation>&amp;Как отчёт для таблиц…</translation>
    </message>
</context>
<context>
    <name>OptionsSheet</name>
    <message>
        <source>Test Options</source>
        <translation>Параметры теста</translation>
    </message>
    <message>
        <source>Zone Test Options</source>
        <translation>Параметры зонного теста</translation>
    </message>
    <message>
        <source>Transfer size:</source>
        <translation type="vanished">Размер блока:</translation>
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
        <translation>мегабайт (1–511)</translation>
    </message>
    <message>
        <source>Zones:</source>
        <translation type="vanished">Зоны:</translation>
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
        <translation type="vanished">Циклов на зону:</translation>
    </message>
    <message>
        <source>Show target media rate</source>
        <translation type="vanished">Показать целевую скорость</translation>
    </message>
    <message>
        <source>cgrp</source>
        <translation>cgrp</translation>
    </message>
    <message>
        <source>Target rate:</source>
        <translation type="vanished">Цель:</translation>
    </message>
    <message>
        <source>MB per second</source>
        <translation>МБ в секунду</translation>
    </message>
    <message>
        <source>Safety margin:</source>
        <translation type="vanished">Запас:</translation>
    </message>
    <message>
        <source>none</source>
        <translation>нет</translation>
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
        <translation>Случайный тест</translation>
    </message>
    <message>
        <source>Queue depth:</source>
        <translation type="vanished">Очередь:</translation>
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
        <translation>параллельно</translation>
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
        <translation>Тест поверхности</translation>
    </message>
    <message>
        <source>Span:</source>
        <translation>Объём:</translation>
    </message>
    <message>
        <source>GB (0 = all)</source>
        <translation>ГБ (0 = всё)</translation>
    </message>
    <message>
        <source>Time limit:</source>
        <translation>Лимит времени:</translation>
    </message>
    <message>
        <source>min (0 = none)</source>
        <translation>мин (0 = нет)</translation>
    </message>
    <message>
        <source>Surface test span in gigabytes</source>
        <translation>Объём теста поверхности в гигабайтах</translation>
    </message>
    <message>
        <source>Surface test time limit in minutes</source>
        <translation>Лимит времени теста поверхности в минутах</translation>
    </message>
    <message>
        <source>&amp;Transfer size:</source>
        <translation>&amp;Размер блока:</translation>
    </message>
    <message>
        <source>&amp;Zones:</source>
        <translation>&amp;Зоны:</translation>
    </message>
    <message>
        <source>&amp;Cycles per zone:</source>
        <translation>&amp;Циклов на зону:</translation>
    </message>
    <message>
        <source>Show target media &amp;rate</source>
        <translation>&amp;Показать целевую скорость</translation>
    </message>
    <message>
        <source>Tar&amp;get rate:</source>
        <translation>Ц&amp;ель:</translation>
    </message>
    <message>
        <source>Safety &amp;margin:</source>
        <translation>З&amp;апас:</translation>
    </message>
    <message>
        <source>&amp;Queue depth:</source>
        <translation>&amp;Очередь:</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Caution</source>
        <translation>Внимание</translation>
    </message>
    <message>
        <source>
Mount them back now?</source>
        <translation>
Смонтировать их обратно сейчас?</translation>
    </message>
    <message>
        <source>Save Test Results</source>
        <translation>Сохранить результаты</translation>
    </message>
</context>
</TS>
