<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Kestrelia</source>
        <translation>关于 Kestrelia</translation>
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
        <translation>磁盘基准测试：从第一个到最后一个扇区按分区进行顺序传输，以及 4 KiB 随机传输；数据读取后原样写回，介质内容保持不变。</translation>
    </message>
    <message>
        <source>© 2026 The Kestrelia developers</source>
        <translation>© 2026 Kestrelia 开发者</translation>
    </message>
</context>
<context>
    <name>Counts</name>
    <message numerus="yes">
        <source>%n Megabytes</source>
        <translation>
            <numerusform>%n MB</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n zones</source>
        <translation>
            <numerusform>%n 个分区</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n cycles</source>
        <translation>
            <numerusform>%n 轮</numerusform>
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
        <translation>报告格式</translation>
    </message>
    <message>
        <source>rgrp</source>
        <translation>rgrp</translation>
    </message>
    <message>
        <source>Text report (.txt)</source>
        <translation>文本报告 (.txt)</translation>
    </message>
    <message>
        <source>Spreadsheet report, tab-separated (.xls)</source>
        <translation>电子表格报告，制表符分隔 (.xls)</translation>
    </message>
</context>
<context>
    <name>GraphText</name>
    <message>
        <source>Zone %1 of %2, %3 to %4 GB: reads lowest %5, average %6, highest %7 MB per second.</source>
        <translation>区域 %1/%2，%3 至 %4 GB：读取 最低 %5，平均 %6，最高 %7 MB/秒。</translation>
    </message>
    <message>
        <source>Writes lowest %1, average %2, highest %3 MB per second.</source>
        <translation>写入 最低 %1，平均 %2，最高 %3 MB/秒。</translation>
    </message>
    <message>
        <source>No results to show: no test has been run yet, or it measured nothing.</source>
        <translation>没有可显示的结果：尚未运行测试，或测试未测得任何数据。</translation>
    </message>
    <message>
        <source>Random test reads: %1 MB per second, %2 transfers per second.</source>
        <translation>随机测试读取：每秒 %1 MB，每秒 %2 次传输。</translation>
    </message>
    <message>
        <source>Random test writes: %1 MB per second, %2 transfers per second.</source>
        <translation>随机测试写入：每秒 %1 MB，每秒 %2 次传输。</translation>
    </message>
</context>
<context>
    <name>GraphView</name>
    <message>
        <source>Results graph</source>
        <translation>结果图表</translation>
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
        <translation>驱动器</translation>
    </message>
    <message>
        <source>tabp</source>
        <translation>tabp</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation type="vanished">驱动器：</translation>
    </message>
    <message>
        <source>popb</source>
        <translation>popb</translation>
    </message>
    <message>
        <source>- Select a Drive -</source>
        <translation>- 选择驱动器 -</translation>
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
        <translation>接口：</translation>
    </message>
    <message>
        <source>stxt</source>
        <translation>stxt</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>容量：</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>设备：</translation>
    </message>
    <message>
        <source>Volumes</source>
        <translation>卷</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation type="vanished">卷：</translation>
    </message>
    <message>
        <source>- Select a Volume -</source>
        <translation>- 选择卷 -</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>格式：</translation>
    </message>
    <message>
        <source>or drop a folder or volume from the file manager here</source>
        <translation>或从文件管理器将文件夹或卷拖放到此处</translation>
    </message>
    <message>
        <source>well</source>
        <translation>well</translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="vanished">开始</translation>
    </message>
    <message>
        <source>push</source>
        <translation>push</translation>
    </message>
    <message>
        <source>Test options</source>
        <translation>测试选项</translation>
    </message>
    <message>
        <source>bevl</source>
        <translation>bevl</translation>
    </message>
    <message>
        <source>Disk Benchmark</source>
        <translation>磁盘基准测试</translation>
    </message>
    <message>
        <source>pgrp</source>
        <translation>pgrp</translation>
    </message>
    <message>
        <source>Standard Zone Test</source>
        <translation>标准分区测试</translation>
    </message>
    <message>
        <source>Random Zone Test</source>
        <translation>随机分区测试</translation>
    </message>
    <message>
        <source>Zone Test Settings</source>
        <translation>分区测试设置</translation>
    </message>
    <message>
        <source>grpb</source>
        <translation>grpb</translation>
    </message>
    <message>
        <source>Transfer:</source>
        <translation>传输：</translation>
    </message>
    <message>
        <source>1 Megabyte</source>
        <translation>1 MB</translation>
    </message>
    <message>
        <source>Zones:</source>
        <translation>分区数：</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Cycles:</source>
        <translation>轮数：</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>目标：</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>已关闭</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>余量：</translation>
    </message>
    <message>
        <source>Random Test</source>
        <translation>随机测试</translation>
    </message>
    <message>
        <source>10,000 transfers of 4 KiB at sectors spread over the whole drive, read and then written back.</source>
        <translation>在分布于整个驱动器的扇区上进行 10,000 次 4 KiB 传输，先读取再写回。</translation>
    </message>
    <message>
        <source>Queue depth: 1</source>
        <translation>队列深度：1</translation>
    </message>
    <message>
        <source>- No Drive Selected for Testing -</source>
        <translation>- 未选择要测试的驱动器 -</translation>
    </message>
    <message>
        <source>upan</source>
        <translation>upan</translation>
    </message>
    <message>
        <source>Position on the drive (GB from its start)</source>
        <translation>驱动器上的位置（距开头的 GB）</translation>
    </message>
    <message>
        <source>Random Zone Test: 10,000 transfers of 4 KiB</source>
        <translation>随机分区测试：10,000 次 4 KiB 传输</translation>
    </message>
    <message>
        <source>Reads</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>Transfers per second:</source>
        <translation>每秒：</translation>
    </message>
    <message>
        <source>Transfers done:</source>
        <translation>已完成传输：</translation>
    </message>
    <message>
        <source>prgb</source>
        <translation>prgb</translation>
    </message>
    <message>
        <source>Elapsed:</source>
        <translation>用时：</translation>
    </message>
    <message>
        <source>Writes</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>Save Test Results</source>
        <translation type="vanished">保存测试结果</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>As Text Report…</source>
        <translation type="vanished">保存为文本报告…</translation>
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
        <translation type="vanished">保存为电子表格报告…</translation>
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
        <translation>退出(&amp;Q)</translation>
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
        <translation>关于 Kestrelia(&amp;A)</translation>
    </message>
    <message>
        <source>abou</source>
        <translation>abou</translation>
    </message>
    <message>
        <source>Surface Test</source>
        <translation>表面测试</translation>
    </message>
    <message>
        <source>Surface test results</source>
        <translation>表面测试结果</translation>
    </message>
    <message>
        <source>&amp;Drive:</source>
        <translation>驱动器(&amp;D)：</translation>
    </message>
    <message>
        <source>&amp;Volume:</source>
        <translation>卷(&amp;V)：</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>开始(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>停止(&amp;T)</translation>
    </message>
    <message>
        <source>Options…</source>
        <translation>选项…</translation>
    </message>
    <message>
        <source>Opens the test options: transfer size, zones, cycles, target rate and queue depth</source>
        <translation>打开测试选项：传输大小、区域、循环、目标速率和队列深度</translation>
    </message>
    <message>
        <source>Test kind</source>
        <translation>测试类型</translation>
    </message>
    <message>
        <source>Reads done</source>
        <translation>已完成的读取</translation>
    </message>
    <message>
        <source>Writes done</source>
        <translation>已完成的写入</translation>
    </message>
    <message>
        <source>Save Test &amp;Results</source>
        <translation>保存测试结果(&amp;R)</translation>
    </message>
    <message>
        <source>As &amp;Text Report…</source>
        <translation>保存为文本报告(&amp;T)…</translation>
    </message>
    <message>
        <source>As S&amp;preadsheet Report…</source>
        <translation>保存为电子表格报告(&amp;P)…</translation>
    </message>
</context>
<context>
    <name>OptionsSheet</name>
    <message>
        <source>Test Options</source>
        <translation>测试选项</translation>
    </message>
    <message>
        <source>Zone Test Options</source>
        <translation>分区测试选项</translation>
    </message>
    <message>
        <source>Transfer size:</source>
        <translation type="vanished">传输大小：</translation>
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
        <translation>MB（1 至 511）</translation>
    </message>
    <message>
        <source>Zones:</source>
        <translation type="vanished">分区数：</translation>
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
        <translation type="vanished">每个分区的轮数：</translation>
    </message>
    <message>
        <source>Show target media rate</source>
        <translation type="vanished">显示目标速率</translation>
    </message>
    <message>
        <source>cgrp</source>
        <translation>cgrp</translation>
    </message>
    <message>
        <source>Target rate:</source>
        <translation type="vanished">目标速率：</translation>
    </message>
    <message>
        <source>MB per second</source>
        <translation>MB/秒</translation>
    </message>
    <message>
        <source>Safety margin:</source>
        <translation type="vanished">安全余量：</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
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
        <translation>随机测试</translation>
    </message>
    <message>
        <source>Queue depth:</source>
        <translation type="vanished">队列深度：</translation>
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
        <translation>个并发传输</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>push</source>
        <translation>push</translation>
    </message>
    <message>
        <source>Surface test</source>
        <translation>表面测试</translation>
    </message>
    <message>
        <source>Span:</source>
        <translation>范围：</translation>
    </message>
    <message>
        <source>GB (0 = all)</source>
        <translation>GB（0 = 全部）</translation>
    </message>
    <message>
        <source>Time limit:</source>
        <translation>时间限制：</translation>
    </message>
    <message>
        <source>min (0 = none)</source>
        <translation>分钟（0 = 无）</translation>
    </message>
    <message>
        <source>Surface test span in gigabytes</source>
        <translation>表面测试范围（GB）</translation>
    </message>
    <message>
        <source>Surface test time limit in minutes</source>
        <translation>表面测试时间限制（分钟）</translation>
    </message>
    <message>
        <source>&amp;Transfer size:</source>
        <translation>传输大小(&amp;T)：</translation>
    </message>
    <message>
        <source>&amp;Zones:</source>
        <translation>分区数(&amp;Z)：</translation>
    </message>
    <message>
        <source>&amp;Cycles per zone:</source>
        <translation>每个分区的轮数(&amp;C)：</translation>
    </message>
    <message>
        <source>Show target media &amp;rate</source>
        <translation>显示目标速率(&amp;R)</translation>
    </message>
    <message>
        <source>Tar&amp;get rate:</source>
        <translation>目标速率(&amp;G)：</translation>
    </message>
    <message>
        <source>Safety &amp;margin:</source>
        <translation>安全余量(&amp;M)：</translation>
    </message>
    <message>
        <source>&amp;Queue depth:</source>
        <translation>队列深度(&amp;Q)：</translation>
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
现在重新挂载它们吗？</translation>
    </message>
    <message>
        <source>Save Test Results</source>
        <translation>保存测试结果</translation>
    </message>
</context>
</TS>
