<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>tolvaris::AboutBox</name>
    <message>
        <source>&lt;h3&gt;Tolvaris&lt;/h3&gt;&lt;p&gt;Written astrological interpretations, and the natal chart from birth data.&lt;br&gt;Licence: GNU General Public License, version 3 or later (GPL-3.0-or-later).&lt;/p&gt;&lt;p&gt;Tolvaris is built on and ships:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;&lt;b&gt;Qt 6&lt;/b&gt; by The Qt Company and contributors: the windows. GNU Lesser General Public License, version 3 (LGPL-3.0).&lt;/li&gt;&lt;li&gt;&lt;b&gt;Swiss Ephemeris&lt;/b&gt; by Astrodienst AG, Zurich: the planets&apos; positions and the houses, through Debian&apos;s libswe. GNU Affero General Public License, version 3 (AGPL-3.0). Its data files, from Debian&apos;s swe-basic-data, are CC0-1.0.&lt;/li&gt;&lt;li&gt;&lt;b&gt;The tz database&lt;/b&gt; (IANA time zone database): the history of the world&apos;s clocks, public domain; read from the system&apos;s zone files (Debian&apos;s tzdata).&lt;/li&gt;&lt;li&gt;&lt;b&gt;GeoNames&lt;/b&gt; place data: the place atlas, Creative Commons Attribution 4.0 (CC BY 4.0), &lt;a href=&quot;https://www.geonames.org/&quot;&gt;https://www.geonames.org/&lt;/a&gt;; how the atlas was made is told in ATLAS-SOURCE.md in the program folder.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Liberation fonts&lt;/b&gt; by Red Hat, from the system&apos;s fonts-liberation: the windows and the output text. SIL Open Font License (OFL).&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;The interpretation texts are Tolvaris&apos;s own.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Tolvaris</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::AspectGrid</name>
    <message>
        <source>&amp;List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>G&amp;rid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every pair&apos;s aspect, its glyph and orb, in a triangle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 %3, orb %4</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::BirthDataDialog</name>
    <message>
        <source>Birth Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>YYYY-MM-DD, for example 1990-03-25</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HH:MM, for example 14:05</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time &amp;unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type a few letters of the town</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Place:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&amp;atitude:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&amp;ongitude:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>for example Europe/Berlin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Zone:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>empty: from the zone; or +05:30, UT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UTC o&amp;ffset:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clocks fell back:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;House system:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>O&amp;rbs...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The place list could not be read: %1 Type the latitude, longitude and zone yourself.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No UT yet. %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Earlier, UTC%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Later, UTC%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Birth data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>for example 52.52, 52n31 or 52°31&apos;N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>for example 13.405, 13e24 or 13°24&apos;E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose earlier or later.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard the birth data you typed?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::ChartListModel</name>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Born</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tags</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::ChartMenu</name>
    <message>
        <source>&amp;Chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New chart...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open chart...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save chart...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Full reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full reading by &amp;house</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Tolvaris...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The wheel could not be exported: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chart file %1 no longer exists; it is taken off the recent charts.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chart could not be saved to %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list of recent charts could not be written to %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Chart file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New birth data...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Charts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;harts...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every chart you keep: find, open, edit, tag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save to co&amp;llection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no folder for the collection: neither XDG_DATA_HOME nor HOME is set. Chart files still work.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Chart files still work.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be saved to the collection: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit birth data...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xport wheel...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The change to %1 could not be saved in the collection: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chart shown is not saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chart of %1 is not saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep it in the collection before it goes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save to collection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A composite chart has no moment or place of its own, so it cannot be saved as a chart file. Save the two charts it is made of.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xport report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By &amp;planet...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By &amp;house...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::ChartWindow</name>
    <message>
        <source>Chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>House</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R</source>
        <comment>the column that marks a retrograde body</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a body to set the main window&apos;s planet, sign and house.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cusp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Point</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aspect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orb</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kind</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Positions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Houses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Aspects</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Wheel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Full reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The reading of the whole chart, planet by planet, in the output window (F9)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading by &amp;house</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The same, house by house, then the aspects (Shift+F9)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export wheel...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The wheel as a PNG image of any size or an SVG drawing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chart: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Midheaven</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Transits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Now</source>
        <comment>the tab of the transits at one moment</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The transits of one moment, now unless you choose another, and the chart with that moment&apos;s sky around it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What the sky brings to the chart over a range of dates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Compare with...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This chart beside a second one: the aspects between them, each in the other&apos;s houses, the bi-wheel, the composite and Davison charts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Composite: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none: a birth time is unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Composite of %1
Every point lies halfway between the two charts&apos; points, so the chart has no moment and no place.
Houses: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pro&amp;gressions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The progressed chart of a date beside the natal one, and the progressed events of the years after it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Returns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The solar and lunar returns of a year, each a chart of its own</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::ChartsWindow</name>
    <message>
        <source>Charts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>name, place, tag or year</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit birth data...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tags...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N&amp;ote...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Takes the chart out of the collection; Ctrl+Z brings it back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 charts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chart could not be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The change could not be saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chart could not be deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The deleted chart could not be brought back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tags</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tags of %1, separated by commas:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note on %1:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::ComparisonWindow</name>
    <message>
        <source>Body</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>House</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Second chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparison: %1 and %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 inside the wheel and across the grid; %2 on the outer ring and down the grid. Orbs are %1&apos;s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none: %1&apos;s birth time is unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1&apos;s planets in %2&apos;s houses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Aspects</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Houses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Bi-wheel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Relationship reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The contacts, the house overlays and the composite read out in the output window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Composite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chart of midpoints between the two, in a window of its own</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Davison</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chart of the moment and place halfway between the two births, in a window of its own</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1&apos;s %2 %3 %4&apos;s %5, orb %6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The relationship reading</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::OutputPrinting</name>
    <message>
        <source>Export PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The printer could not be used.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The PDF could not be written: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No printer is installed. Export PDF... writes the readings to a PDF file instead.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::OutputWindow</name>
    <message>
        <source>Print Pre&amp;view...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export PDF...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::ProgressionsTab</name>
    <message>
        <source>&amp;Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>T&amp;oday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back to today&apos;s date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progre&amp;ssions page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The progressed events listed, with their texts, in the output window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chart inside, the progressed bodies of the date on the outer ring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Natal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progressed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>House</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R</source>
        <comment>the column that marks a retrograde body</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The house is the natal house the progressed body stands in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progressed event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The progressed chart could not be computed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Midheaven</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ascendant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solar arc %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, progressed Midheaven %1, progressed Ascendant %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>; no progressed angles without the time of birth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (progressed instant %1 UT)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The progressed events could not be computed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progressed %1 %2 natal %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progressed %1 enters %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progressed %1 enters the %2 house</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progressed %1 turns retrograde</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progressed %1 turns direct</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n progressed event(s) in the %1 years from this date, times in %2.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>The progressed events</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::QtChartFileDialogs</name>
    <message>
        <source>Charts (*.chart)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Wheel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG image (*.png);;SVG drawing (*.svg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Width and height of the image in pixels:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTML, one file (*.html *.htm)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::ReportOutput</name>
    <message>
        <source>No printer is set up on this computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The printer could not be used.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report could not be exported: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print report...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export report...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, typeset and printed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, typeset as a PDF or HTML file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::ReturnsTab</name>
    <message>
        <source>&amp;Year:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The year, and where the returns are cast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>type a place to look it up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Birthplace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cast the returns for the place of birth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>for example Europe/Lisbon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fin&amp;d returns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lat&amp;itude:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Longit&amp;ude:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Zone:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solar return</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open return chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chart of the solar return in a chart window of its own</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Solar return page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The reading of the solar return in the output window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lunar returns of the year</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-click a return to open its chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lunar returns page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The lunar returns of the year read in the output window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The place list could not be read: %1 Type the latitude, longitude and zone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The place is not clear: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type the place&apos;s time zone, for example Europe/Lisbon.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Sun returns to its natal place on %1 (%2 UT).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local time in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The return chart could not be cast: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>solar return %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lunar return %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The return charts could not be cast: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;lace:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open lunar return chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The solar return&apos;s reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The lunar returns&apos; reading</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::TimelineWidget</name>
    <message>
        <source>blending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>harmonizing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>discordant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>exact</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>exact, retrograde</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>today</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::TransitsNowTab</name>
    <message>
        <source>&amp;Moment:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N&amp;ow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back to the present moment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chart inside, the transiting bodies of the moment on the outer ring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orb</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R</source>
        <comment>the column that marks a retrograde body</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sky of that moment could not be computed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n transit(s) within %1 of exact, the closest first.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>applying</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>separating</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::TransitsTab</name>
    <message>
        <source>This month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The next 12 months</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From a date to a date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Range:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to</source>
        <comment>from one date to another</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How far from exact a transit still counts, for every aspect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Orb:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Moon makes dozens of contacts a month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forecast pa&amp;ge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These transits with their dates and texts as a page of the output window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a bar of the timeline to read about its transit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose at least one transiting body.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The transits could not be computed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n transit(s) from %1 to %2, dated in %3.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>%1 moves too fast for its transits to have entries of their own.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The library has no entry &quot;%1&quot; in %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The library&apos;s file %1 could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The library has no file %1 (for &quot;%2&quot;).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 natal %3 (%4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>before %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>after %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Within the orb from %1 to %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not exact within the range.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exact on %1, %2 retrograde.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exact on %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing was searched: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These transits</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tolvaris::WheelWidget</name>
    <message>
        <source>%1: there is no chart to draw</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
