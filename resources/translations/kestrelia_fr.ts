<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Kestrelia</source>
        <translation>À propos de Kestrelia</translation>
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
        <translation>Un banc d’essai de disques : transferts séquentiels par zones du premier au dernier secteur, et transferts aléatoires de 4 Kio, lus puis réécrits pour que le support reste tel qu’il était.</translation>
    </message>
    <message>
        <source>© 2026 The Kestrelia developers</source>
        <translation>© 2026 Les développeurs de Kestrelia</translation>
    </message>
</context>
<context>
    <name>Counts</name>
    <message numerus="yes">
        <source>%n Megabytes</source>
        <translation>
            <numerusform>%n mégaoctet</numerusform>
            <numerusform>%n mégaoctets</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n zones</source>
        <translation>
            <numerusform>%n zone</numerusform>
            <numerusform>%n zones</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n cycles</source>
        <translation>
            <numerusform>%n cycle</numerusform>
            <numerusform>%n cycles</numerusform>
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
        <translation>Format du rapport</translation>
    </message>
    <message>
        <source>rgrp</source>
        <translation>rgrp</translation>
    </message>
    <message>
        <source>Text report (.txt)</source>
        <translation>Rapport texte (.txt)</translation>
    </message>
    <message>
        <source>Spreadsheet report, tab-separated (.xls)</source>
        <translation>Rapport tableur, séparé par tabulations (.xls)</translation>
    </message>
</context>
<context>
    <name>GraphText</name>
    <message>
        <source>Zone %1 of %2, %3 to %4 GB: reads lowest %5, average %6, highest %7 MB per second.</source>
        <translation>Zone %1 sur %2, de %3 à %4 Go : lecture minimale %5, moyenne %6, maximale %7 Mo par seconde.</translation>
    </message>
    <message>
        <source>Writes lowest %1, average %2, highest %3 MB per second.</source>
        <translation>Écriture minimale %1, moyenne %2, maximale %3 Mo par seconde.</translation>
    </message>
    <message>
        <source>No results to show: no test has been run yet, or it measured nothing.</source>
        <translation>Aucun résultat : aucun test n’a encore été lancé, ou il n’a rien mesuré.</translation>
    </message>
    <message>
        <source>Random test reads: %1 MB per second, %2 transfers per second.</source>
        <translation>Test aléatoire, lecture : %1 Mo par seconde, %2 transferts par seconde.</translation>
    </message>
    <message>
        <source>Random test writes: %1 MB per second, %2 transfers per second.</source>
        <translation>Test aléatoire, écriture : %1 Mo par seconde, %2 transferts par seconde.</translation>
    </message>
</context>
<context>
    <name>GraphView</name>
    <message>
        <source>Results graph</source>
        <translation>Graphique des résultats</translation>
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
        <translation>Disques</translation>
    </message>
    <message>
        <source>tabp</source>
        <translation>tabp</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation type="vanished">Disque :</translation>
    </message>
    <message>
        <source>popb</source>
        <translation>popb</translation>
    </message>
    <message>
        <source>- Select a Drive -</source>
        <translation>- Choisir un disque -</translation>
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
        <translation>Bus :</translation>
    </message>
    <message>
        <source>stxt</source>
        <translation>stxt</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Taille :</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>Périph. :</translation>
    </message>
    <message>
        <source>Volumes</source>
        <translation>Volumes</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation type="vanished">Volume :</translation>
    </message>
    <message>
        <source>- Select a Volume -</source>
        <translation>- Choisir un volume -</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format :</translation>
    </message>
    <message>
        <source>or drop a folder or volume from the file manager here</source>
        <translation>ou déposez ici un dossier ou un volume</translation>
    </message>
    <message>
        <source>well</source>
        <translation>well</translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="vanished">Démarrer</translation>
    </message>
    <message>
        <source>push</source>
        <translation>push</translation>
    </message>
    <message>
        <source>Test options</source>
        <translation>Options du test</translation>
    </message>
    <message>
        <source>bevl</source>
        <translation>bevl</translation>
    </message>
    <message>
        <source>Disk Benchmark</source>
        <translation>Test de disques</translation>
    </message>
    <message>
        <source>pgrp</source>
        <translation>pgrp</translation>
    </message>
    <message>
        <source>Standard Zone Test</source>
        <translation>Test par zones standard</translation>
    </message>
    <message>
        <source>Random Zone Test</source>
        <translation>Test par zones aléatoire</translation>
    </message>
    <message>
        <source>Zone Test Settings</source>
        <translation>Réglages du test par zones</translation>
    </message>
    <message>
        <source>grpb</source>
        <translation>grpb</translation>
    </message>
    <message>
        <source>Transfer:</source>
        <translation>Bloc :</translation>
    </message>
    <message>
        <source>1 Megabyte</source>
        <translation>1 mégaoctet</translation>
    </message>
    <message>
        <source>Zones:</source>
        <translation>Zones :</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Cycles:</source>
        <translation>Cycles :</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>Cible :</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>Marge :</translation>
    </message>
    <message>
        <source>Random Test</source>
        <translation>Test aléatoire</translation>
    </message>
    <message>
        <source>10,000 transfers of 4 KiB at sectors spread over the whole drive, read and then written back.</source>
        <translation>10 000 transferts de 4 Kio répartis sur tout le disque, lus puis réécrits.</translation>
    </message>
    <message>
        <source>Queue depth: 1</source>
        <translation>Profondeur de file : 1</translation>
    </message>
    <message>
        <source>- No Drive Selected for Testing -</source>
        <translation>- Aucun disque choisi pour le test -</translation>
    </message>
    <message>
        <source>upan</source>
        <translation>upan</translation>
    </message>
    <message>
        <source>Position on the drive (GB from its start)</source>
        <translation>Position sur le disque (Go depuis le début)</translation>
    </message>
    <message>
        <source>Random Zone Test: 10,000 transfers of 4 KiB</source>
        <translation>Test par zones aléatoire : 10 000 transferts de 4 Kio</translation>
    </message>
    <message>
        <source>Reads</source>
        <translation>Lectures</translation>
    </message>
    <message>
        <source>Transfers per second:</source>
        <translation>Par seconde :</translation>
    </message>
    <message>
        <source>Transfers done:</source>
        <translation>Effectués :</translation>
    </message>
    <message>
        <source>prgb</source>
        <translation>prgb</translation>
    </message>
    <message>
        <source>Elapsed:</source>
        <translation>Durée :</translation>
    </message>
    <message>
        <source>Writes</source>
        <translation>Écritures</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>Save Test Results</source>
        <translation type="vanished">Enregistrer les résultats</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;ide</translation>
    </message>
    <message>
        <source>As Text Report…</source>
        <translation type="vanished">En rapport texte…</translation>
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
        <translation type="vanished">En rapport tableur…</translation>
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
        <translation>&amp;Quitter</translation>
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
        <translation>À &amp;propos de Kestrelia</translation>
    </message>
    <message>
        <source>abou</source>
        <translation>abou</translation>
    </message>
    <message>
        <source>Surface Test</source>
        <translation>Test de surface</translation>
    </message>
    <message>
        <source>Surface test results</source>
        <translation>Résultats du test de surface</translation>
    </message>
    <message>
        <source>&amp;Drive:</source>
        <translation>Dis&amp;que :</translation>
    </message>
    <message>
        <source>&amp;Volume:</source>
        <translation>&amp;Volume :</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Démarrer</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Arrêter</translation>
    </message>
    <message>
        <source>Options…</source>
        <translation>Options…</translation>
    </message>
    <message>
        <source>Opens the test options: transfer size, zones, cycles, target rate and queue depth</source>
        <translation>Ouvre les options du test : taille de transfert, zones, cycles, débit cible et profondeur de file</translation>
    </message>
    <message>
        <source>Test kind</source>
        <translation>Type de test</translation>
    </message>
    <message>
        <source>Reads done</source>
        <translation>Lectures effectuées</translation>
    </message>
    <message>
        <source>Writes done</source>
        <translation>Écritures effectuées</translation>
    </message>
    <message>
        <source>Save Test &amp;Results</source>
        <translation>En&amp;registrer les résultats</translation>
    </message>
    <message>
        <source>As &amp;Text Report…</source>
        <translation>En rappor&amp;t texte…</translation>
    </message>
    <message>
        <source>As S&amp;preadsheet Report…</source>
        <translation>En ra&amp;pport tableur…</translation>
    </message>
</context>
<context>
    <name>OptionsSheet</name>
    <message>
        <source>Test Options</source>
        <translation>Options du test</translation>
    </message>
    <message>
        <source>Zone Test Options</source>
        <translation>Options du test par zones</translation>
    </message>
    <message>
        <source>Transfer size:</source>
        <translation type="vanished">Taille du bloc :</translation>
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
        <translation>mégaoctets (1 à 511)</translation>
    </message>
    <message>
        <source>Zones:</source>
        <translation type="vanished">Zones :</translation>
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
        <translation type="vanished">Cycles par zone :</translation>
    </message>
    <message>
        <source>Show target media rate</source>
        <translation type="vanished">Afficher le débit cible</translation>
    </message>
    <message>
        <source>cgrp</source>
        <translation>cgrp</translation>
    </message>
    <message>
        <source>Target rate:</source>
        <translation type="vanished">Débit cible :</translation>
    </message>
    <message>
        <source>MB per second</source>
        <translation>Mo/seconde</translation>
    </message>
    <message>
        <source>Safety margin:</source>
        <translation type="vanished">Marge :</translation>
    </message>
    <message>
        <source>none</source>
        <translation>aucune</translation>
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
        <translation>Test aléatoire</translation>
    </message>
    <message>
        <source>Queue depth:</source>
        <translation type="vanished">File d’attente :</translation>
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
        <translation>en parallèle</translation>
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
        <translation>Test de surface</translation>
    </message>
    <message>
        <source>Span:</source>
        <translation>Étendue :</translation>
    </message>
    <message>
        <source>GB (0 = all)</source>
        <translation>Go (0 = tout)</translation>
    </message>
    <message>
        <source>Time limit:</source>
        <translation>Limite de temps :</translation>
    </message>
    <message>
        <source>min (0 = none)</source>
        <translation>min (0 = aucune)</translation>
    </message>
    <message>
        <source>Surface test span in gigabytes</source>
        <translation>Étendue du test de surface en gigaoctets</translation>
    </message>
    <message>
        <source>Surface test time limit in minutes</source>
        <translation>Limite de temps du test de surface en minutes</translation>
    </message>
    <message>
        <source>&amp;Transfer size:</source>
        <translation>&amp;Taille du bloc :</translation>
    </message>
    <message>
        <source>&amp;Zones:</source>
        <translation>&amp;Zones :</translation>
    </message>
    <message>
        <source>&amp;Cycles per zone:</source>
        <translation>&amp;Cycles par zone :</translation>
    </message>
    <message>
        <source>Show target media &amp;rate</source>
        <translation>Affiche&amp;r le débit cible</translation>
    </message>
    <message>
        <source>Tar&amp;get rate:</source>
        <translation>&amp;Débit cible :</translation>
    </message>
    <message>
        <source>Safety &amp;margin:</source>
        <translation>&amp;Marge :</translation>
    </message>
    <message>
        <source>&amp;Queue depth:</source>
        <translation>&amp;File d’attente :</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Caution</source>
        <translation>Attention</translation>
    </message>
    <message>
        <source>
Mount them back now?</source>
        <translation>
Les remonter maintenant ?</translation>
    </message>
    <message>
        <source>Save Test Results</source>
        <translation>Enregistrer les résultats</translation>
    </message>
</context>
</TS>
