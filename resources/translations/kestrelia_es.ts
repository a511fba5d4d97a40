<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Kestrelia</source>
        <translation>Acerca de Kestrelia</translation>
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
        <translation>Una prueba de rendimiento de discos: transferencias secuenciales por zonas del primer al último sector y transferencias aleatorias de 4 KiB, leídas y reescritas para que el medio quede como estaba.</translation>
    </message>
    <message>
        <source>© 2026 The Kestrelia developers</source>
        <translation>© 2026 Los desarrolladores de Kestrelia</translation>
    </message>
</context>
<context>
    <name>Counts</name>
    <message numerus="yes">
        <source>%n Megabytes</source>
        <translation>
            <numerusform>%n megabyte</numerusform>
            <numerusform>%n megabytes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n zones</source>
        <translation>
            <numerusform>%n zona</numerusform>
            <numerusform>%n zonas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n cycles</source>
        <translation>
            <numerusform>%n ciclo</numerusform>
            <numerusform>%n ciclos</numerusform>
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
        <translation>Formato del informe</translation>
    </message>
    <message>
        <source>rgrp</source>
        <translation>rgrp</translation>
    </message>
    <message>
        <source>Text report (.txt)</source>
        <translation>Informe de texto (.txt)</translation>
    </message>
    <message>
        <source>Spreadsheet report, tab-separated (.xls)</source>
        <translation>Informe de hoja de cálculo, separado por tabulaciones (.xls)</translation>
    </message>
</context>
<context>
    <name>GraphText</name>
    <message>
        <source>Zone %1 of %2, %3 to %4 GB: reads lowest %5, average %6, highest %7 MB per second.</source>
        <translation>Zona %1 de %2, de %3 a %4 GB: lectura mínima %5, media %6, máxima %7 MB por segundo.</translation>
    </message>
    <message>
        <source>Writes lowest %1, average %2, highest %3 MB per second.</source>
        <translation>Escritura mínima %1, media %2, máxima %3 MB por segundo.</translation>
    </message>
    <message>
        <source>No results to show: no test has been run yet, or it measured nothing.</source>
        <translation>Sin resultados: aún no se ha hecho ninguna prueba, o no midió nada.</translation>
    </message>
    <message>
        <source>Random test reads: %1 MB per second, %2 transfers per second.</source>
        <translation>Prueba aleatoria, lectura: %1 MB por segundo, %2 transferencias por segundo.</translation>
    </message>
    <message>
        <source>Random test writes: %1 MB per second, %2 transfers per second.</source>
        <translation>Prueba aleatoria, escritura: %1 MB por segundo, %2 transferencias por segundo.</translation>
    </message>
</context>
<context>
    <name>GraphView</name>
    <message>
        <source>Results graph</source>
        <translation>Gráfico de resultados</translation>
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
        <translation>Unidades</translation>
    </message>
    <message>
        <source>tabp</source>
        <translation>tabp</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation type="vanished">Unidad:</translation>
    </message>
    <message>
        <source>popb</source>
        <translation>popb</translation>
    </message>
    <message>
        <source>- Select a Drive -</source>
        <translation>- Elija una unidad -</translation>
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
        <translation>Interfaz:</translation>
    </message>
    <message>
        <source>stxt</source>
        <translation>stxt</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Tamaño:</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>Nodo:</translation>
    </message>
    <message>
        <source>Volumes</source>
        <translation>Volúmenes</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation type="vanished">Vol.:</translation>
    </message>
    <message>
        <source>- Select a Volume -</source>
        <translation>- Elija un volumen -</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Formato:</translation>
    </message>
    <message>
        <source>or drop a folder or volume from the file manager here</source>
        <translation>o arrastre aquí una carpeta o un volumen desde el gestor de archivos</translation>
    </message>
    <message>
        <source>well</source>
        <translation>well</translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="vanished">Iniciar</translation>
    </message>
    <message>
        <source>push</source>
        <translation>push</translation>
    </message>
    <message>
        <source>Test options</source>
        <translation>Opciones de la prueba</translation>
    </message>
    <message>
        <source>bevl</source>
        <translation>bevl</translation>
    </message>
    <message>
        <source>Disk Benchmark</source>
        <translation>Prueba de discos</translation>
    </message>
    <message>
        <source>pgrp</source>
        <translation>pgrp</translation>
    </message>
    <message>
        <source>Standard Zone Test</source>
        <translation>Prueba estándar por zonas</translation>
    </message>
    <message>
        <source>Random Zone Test</source>
        <translation>Prueba aleatoria por zonas</translation>
    </message>
    <message>
        <source>Zone Test Settings</source>
        <translation>Ajustes de la prueba por zonas</translation>
    </message>
    <message>
        <source>grpb</source>
        <translation>grpb</translation>
    </message>
    <message>
        <source>Transfer:</source>
        <translation>Bloque:</translation>
    </message>
    <message>
        <source>1 Megabyte</source>
        <translation>1 megabyte</translation>
    </message>
    <message>
        <source>Zones:</source>
        <translation>Zonas:</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Cycles:</source>
        <translation>Ciclos:</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>Objetivo:</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Desactivado</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>Margen:</translation>
    </message>
    <message>
        <source>Random Test</source>
        <translation>Prueba aleatoria</translation>
    </message>
    <message>
        <source>10,000 transfers of 4 KiB at sectors spread over the whole drive, read and then written back.</source>
        <translation>10.000 transferencias de 4 KiB repartidas por toda la unidad, leídas y reescritas.</translation>
    </message>
    <message>
        <source>Queue depth: 1</source>
        <translation>Profundidad de cola: 1</translation>
    </message>
    <message>
        <source>- No Drive Selected for Testing -</source>
        <translation>- Ninguna unidad elegida para la prueba -</translation>
    </message>
    <message>
        <source>upan</source>
        <translation>upan</translation>
    </message>
    <message>
        <source>Position on the drive (GB from its start)</source>
        <translation>Posición en la unidad (GB desde el inicio)</translation>
    </message>
    <message>
        <source>Random Zone Test: 10,000 transfers of 4 KiB</source>
        <translation>Prueba aleatoria por zonas: 10.000 transferencias de 4 KiB</translation>
    </message>
    <message>
        <source>Reads</source>
        <translation>Lecturas</translation>
    </message>
    <message>
        <source>Transfers per second:</source>
        <translation>Por segundo:</translation>
    </message>
    <message>
        <source>Transfers done:</source>
        <translation>Completadas:</translation>
    </message>
    <message>
        <source>prgb</source>
        <translation>prgb</translation>
    </message>
    <message>
        <source>Elapsed:</source>
        <translation>Tiempo:</translation>
    </message>
    <message>
        <source>Writes</source>
        <translation>Escrituras</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>Save Test Results</source>
        <translation type="vanished">Guardar los resultados</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>As Text Report…</source>
        <translation type="vanished">Como informe de texto…</translation>
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
        <translation type="vanished">Como informe de hoja de cálculo…</translation>
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
        <translation>&amp;Salir</translation>
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
        <translation>A&amp;cerca de Kestrelia</translation>
    </message>
    <message>
        <source>abou</source>
        <translation>abou</translation>
    </message>
    <message>
        <source>Surface Test</source>
        <translation>Prueba de superficie</translation>
    </message>
    <message>
        <source>Surface test results</source>
        <translation>Resultados de la prueba de superficie</translation>
    </message>
    <message>
        <source>&amp;Drive:</source>
        <translation>Uni&amp;dad:</translation>
    </message>
    <message>
        <source>&amp;Volume:</source>
        <translation>&amp;Vol.:</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Iniciar</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>De&amp;tener</translation>
    </message>
    <message>
        <source>Options…</source>
        <translation>Opciones…</translation>
    </message>
    <message>
        <source>Opens the test options: transfer size, zones, cycles, target rate and queue depth</source>
        <translation>Abre las opciones de la prueba: tamaño de transferencia, zonas, ciclos, velocidad objetivo y profundidad de cola</translation>
    </message>
    <message>
        <source>Test kind</source>
        <translation>Tipo de prueba</translation>
    </message>
    <message>
        <source>Reads done</source>
        <translation>Lecturas hechas</translation>
    </message>
    <message>
        <source>Writes done</source>
        <translation>Escrituras hechas</translation>
    </message>
    <message>
        <source>Save Test &amp;Results</source>
        <translation>Gua&amp;rdar los resultados</translation>
    </message>
    <message>
        <source>As &amp;Text Report…</source>
        <translation>Como informe de &amp;texto…</translation>
    </message>
    <message>
        <source>As S&amp;preadsheet Report…</source>
        <translation>&amp;Como informe de hoja de cálculo…</translation>
    </message>
</context>
<context>
    <name>OptionsSheet</name>
    <message>
        <source>Test Options</source>
        <translation>Opciones de la prueba</translation>
    </message>
    <message>
        <source>Zone Test Options</source>
        <translation>Opciones de la prueba por zonas</translation>
    </message>
    <message>
        <source>Transfer size:</source>
        <translation type="vanished">Bloque:</translation>
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
        <translation>megabytes (1 a 511)</translation>
    </message>
    <message>
        <source>Zones:</source>
        <translation type="vanished">Zonas:</translation>
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
        <translation type="vanished">Ciclos por zona:</translation>
    </message>
    <message>
        <source>Show target media rate</source>
        <translation type="vanished">Mostrar la velocidad objetivo</translation>
    </message>
    <message>
        <source>cgrp</source>
        <translation>cgrp</translation>
    </message>
    <message>
        <source>Target rate:</source>
        <translation type="vanished">Objetivo:</translation>
    </message>
    <message>
        <source>MB per second</source>
        <translation>MB/segundo</translation>
    </message>
    <message>
        <source>Safety margin:</source>
        <translation type="vanished">Margen:</translation>
    </message>
    <message>
        <source>none</source>
        <translation>ninguno</translation>
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
        <translation>Prueba aleatoria</translation>
    </message>
    <message>
        <source>Queue depth:</source>
        <translation type="vanished">Prof. de cola:</translation>
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
        <translation>en paralelo</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>push</source>
        <translation>push</translation>
    </message>
    <message>
        <source>Surface test</source>
        <translation>Prueba de superficie</translation>
    </message>
    <message>
        <source>Span:</source>
        <translation>Alcance:</translation>
    </message>
    <message>
        <source>GB (0 = all)</source>
        <translation>GB (0 = todo)</translation>
    </message>
    <message>
        <source>Time limit:</source>
        <translation>Límite:</translation>
    </message>
    <message>
        <source>min (0 = none)</source>
        <translation>min (0 = ninguno)</translation>
    </message>
    <message>
        <source>Surface test span in gigabytes</source>
        <translation>Alcance de la prueba de superficie en gigabytes</translation>
    </message>
    <message>
        <source>Surface test time limit in minutes</source>
        <translation>Límite de tiempo de la prueba de superficie en minutos</translation>
    </message>
    <message>
        <source>&amp;Transfer size:</source>
        <translation>&amp;Bloque:</translation>
    </message>
    <message>
        <source>&amp;Zones:</source>
        <translation>&amp;Zonas:</translation>
    </message>
    <message>
        <source>&amp;Cycles per zone:</source>
        <translation>&amp;Ciclos por zona:</translation>
    </message>
    <message>
        <source>Show target media &amp;rate</source>
        <translation>Most&amp;rar la velocidad objetivo</translation>
    </message>
    <message>
        <source>Tar&amp;get rate:</source>
        <translation>&amp;Objetivo:</translation>
    </message>
    <message>
        <source>Safety &amp;margin:</source>
        <translation>&amp;Margen:</translation>
    </message>
    <message>
        <source>&amp;Queue depth:</source>
        <translation>&amp;Prof. de cola:</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Caution</source>
        <translation>Precaución</translation>
    </message>
    <message>
        <source>
Mount them back now?</source>
        <translation>
¿Montarlos de nuevo ahora?</translation>
    </message>
    <message>
        <source>Save Test Results</source>
        <translation>Guardar los resultados</translation>
    </message>
</context>
</TS>
