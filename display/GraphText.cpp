#include "display/GraphText.h"

#include "engine/ZoneTests.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

namespace {

QString Speed(double megabytesPerSecond)
{
    return QLocale().toString(megabytesPerSecond, 'f', 1);
}

// Gigabytes (binary) from the start of the drive, as the position axis counts.
QString Gigabytes(uint64_t sector)
{
    return QLocale().toString(static_cast<double>(sector) * 512.0 / double(1u << 30), 'f', 2);
}

QString ZoneSentence(const Run& run, int z)
{
    const ZoneResult& zone = run.zones[static_cast<size_t>(z)];
    QString text = QCoreApplication::translate("GraphText",
                                               "Zone %1 of %2, %3 to %4 GB: reads lowest "
                                               "%5, average %6, highest %7 MB per second.")
                       .arg(z + 1)
                       .arg(run.zones.size())
                       .arg(Gigabytes(zone.firstSector), Gigabytes(zone.lastSector + 1), Speed(zone.read.minimum),
                            Speed(zone.read.average), Speed(zone.read.maximum));
    if (run.settings.writes && zone.WriteMeasured())
        text += QLatin1Char(' ') +
                QCoreApplication::translate("GraphText", "Writes lowest %1, average %2, highest %3 MB per second.")
                    .arg(Speed(zone.write.minimum), Speed(zone.write.average), Speed(zone.write.maximum));
    return text;
}

QString RandomSentence(const QString& sentence, double speed)
{
    return sentence.arg(Speed(speed)).arg(QLocale().toString(RandomTransfersPerSecond(speed)));
}

}  // namespace

QString GraphTextEquivalent(const Run& run)
{
    if (!run.HasResults())
        return QCoreApplication::translate("GraphText",
                                           "No results to show: no test has been "
                                           "run yet, or it measured nothing.");
    QStringList sentences;
    if (run.settings.kind == TestKind::Random) {
        sentences << RandomSentence(
            QCoreApplication::translate("GraphText", "Random test reads: %1 MB per second, %2 transfers per second."),
            run.random.readSpeed);
        if (run.random.writeSpeed != 0.0)
            sentences << RandomSentence(
                QCoreApplication::translate("GraphText",
                                            "Random test writes: %1 MB per second, %2 transfers per second."),
                run.random.writeSpeed);
    } else {
        for (int z = 0; z < run.MeasuredZoneCount(); ++z)
            sentences << ZoneSentence(run, z);
    }
    return sentences.join(QLatin1Char('\n'));
}
