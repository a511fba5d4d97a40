#include "cli/FleetGraph.h"

#include "display/GraphColors.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kLeft = 72;
constexpr int kRight = 24;
constexpr int kTop = 64;
constexpr int kChartHeight = 300;
constexpr int kBottom = 48;
constexpr int kBarWidth = 8;
constexpr int kMinimumGroupWidth = 112;
constexpr int kMinimumWidth = 784;
constexpr int kGridLines = 5;

const QColor kBackground{236, 236, 236};
const QColor kInk{24, 24, 24};
const QColor kQuietInk{88, 88, 88};

int BarsWidth(const std::vector<FleetBar>& bars)
{
    int count = 0;
    for (const FleetBar& bar : bars)
        count += bar.write ? 2 : 1;
    return count * kBarWidth;
}

int GroupWidth(const std::vector<FleetBar>& bars)
{
    return std::max(kMinimumGroupWidth, BarsWidth(bars) + 24);
}

// 1, 2 or 5 times a power of ten, at least value.
double RoundUpScale(double value)
{
    const double power = std::pow(10.0, std::floor(std::log10(std::max(value, 1.0))));
    for (const double step : {1.0, 2.0, 5.0, 10.0})
        if (step * power >= value)
            return step * power;
    return 10.0 * power;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

QBrush WriteBarBrush()
{
    QImage stipple(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            stipple.setPixelColor(x, y, (kWriteBarPattern[y] >> (7 - x)) & 1 ? myYellowColor : kLightStippleGap);
    return QBrush(stipple);
}

void DrawText(QPainter& painter, const QRect& box, int pixels, bool bold, const QColor& ink, int flags,
              const QString& text)
{
    QFont font = painter.font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(box, flags, painter.fontMetrics().elidedText(text, Qt::ElideMiddle, box.width()));
}
}  // namespace

QImage RenderFleetGraph(const std::vector<FleetRun>& runs)
{
    std::vector<const FleetRun*> drives;
    std::vector<std::vector<FleetBar>> driveBars;
    std::vector<double> readAverages;
    double highest = 0.0;
    int width = kLeft + kRight;
    for (const FleetRun& run : runs) {
        std::vector<FleetBar> bars = FleetBarsOf(run.run);
        if (bars.empty())
            continue;
        drives.push_back(&run);
        readAverages.push_back(FleetFiguresOf(run.run).readAverage);
        for (const FleetBar& bar : bars)
            highest = std::max({highest, bar.read, bar.write.value_or(0.0)});
        width += GroupWidth(bars);
        driveBars.push_back(std::move(bars));
    }
    width = std::max(width, kMinimumWidth);
    QImage image(width, kTop + kChartHeight + kBottom, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect chart(kLeft, kTop, width - kLeft - kRight, kChartHeight);
    DrawText(painter, QRect(16, 8, width - 32, 20), 15, true, kInk, Qt::AlignLeft | Qt::AlignVCenter,
             QString("Kestrelia zone averages of %1 drives").arg(drives.size()));
    DrawText(painter, QRect(16, 28, width - 32, 16), 12, false, kQuietInk, Qt::AlignLeft | Qt::AlignVCenter,
             QString("Reads solid, writes stippled, one bar per zone; dashed: the median read average; "
                     "framed in red: below %1 % of it")
                 .arg(static_cast<int>(kLaggingShareOfMedian * 100)));
    painter.fillRect(chart, kLightGraphChrome.active.backdropFace.lighter(130));
    const double scale = RoundUpScale(highest);
    auto yOf = [&](double speed) { return chart.bottom() - static_cast<int>(speed / scale * chart.height()); };
    for (int line = 0; line <= kGridLines; ++line) {
        const double speed = scale * line / kGridLines;
        painter.setPen(myOffWhiteColor);
        painter.drawLine(chart.left(), yOf(speed), chart.right(), yOf(speed));
        DrawText(painter, QRect(4, yOf(speed) - 8, kLeft - 10, 16), 11, false, kInk,
                 Qt::AlignRight | Qt::AlignVCenter, QString::number(speed, 'f', scale < 10 ? 1 : 0));
    }
    DrawText(painter, QRect(4, kTop - 20, kLeft - 10, 14), 11, false, kInk, Qt::AlignRight | Qt::AlignVCenter,
             "MB/s");
    const double median = readAverages.empty() ? 0.0 : Median(readAverages);
    const QBrush writeBrush = WriteBarBrush();
    int left = kLeft;
    for (size_t d = 0; d < drives.size(); ++d) {
        const RunDocument& run = drives[d]->run;
        const std::vector<FleetBar>& bars = driveBars[d];
        const int groupWidth = GroupWidth(bars);
        int x = left + (groupWidth - BarsWidth(bars)) / 2;
        painter.setPen(kInk);
        for (const FleetBar& bar : bars) {
            painter.fillRect(QRect(x, yOf(bar.read), kBarWidth, chart.bottom() - yOf(bar.read)), myYellowColor);
            x += kBarWidth;
            if (bar.write) {
                painter.fillRect(QRect(x, yOf(*bar.write), kBarWidth, chart.bottom() - yOf(*bar.write)), writeBrush);
                x += kBarWidth;
            }
        }
        const bool lagging = readAverages[d] < kLaggingShareOfMedian * median;
        const QColor labelInk = lagging ? myRedColor : kInk;
        if (lagging) {
            painter.setPen(QPen(myRedColor, 2));
            painter.drawRect(QRect(left + 4, chart.top() + 2, groupWidth - 8, chart.height() - 2));
        }
        const QRect label(left + 2, chart.bottom() + 4, groupWidth - 4, 16);
        DrawText(painter, label, 11, lagging, labelInk, Qt::AlignHCenter | Qt::AlignTop,
                 QString::fromStdString(drives[d]->host));
        DrawText(painter, label.translated(0, 16), 11, false, labelInk, Qt::AlignHCenter | Qt::AlignTop,
                 QString::fromStdString(run.surfaceTest ? run.devicePath + " (surface)" : run.devicePath));
        left += groupWidth;
    }
    if (median > 0.0) {
        painter.setPen(QPen(kInk, 1, Qt::DashLine));
        painter.drawLine(chart.left(), yOf(median), chart.right(), yOf(median));
    }
    painter.setPen(kLightGraphChrome.active.backdropFrame);
    painter.drawRect(chart.adjusted(0, 0, -1, -1));
    return image;
}
