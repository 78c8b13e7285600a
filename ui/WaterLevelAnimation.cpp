#include "ui/WaterLevelAnimation.h"

#include "components/Chart.h"
#include "components/DataGrid.h"
#include "components/TextCodec.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/Numbers.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <utility>

namespace korvadel {

const QString WaterLevelAnimation::kStartCaption = QStringLiteral("&Animate Cross Section");
const QString WaterLevelAnimation::kStopCaption = QStringLiteral("Stop Cross Section Animation");

WaterLevelAnimation::WaterLevelAnimation(Parts parts) : parts_(std::move(parts)) {}

bool WaterLevelAnimation::running() const
{
    return parts_.button->text() != kStartCaption;
}

void WaterLevelAnimation::toggle()
{
    if (parts_.button->text() == kStartCaption)
        start();
    else
        stop();
}

void WaterLevelAnimation::start()
{
    for (QWidget* input : parts_.inputs)
        input->setEnabled(false);
    parts_.button->setText(kStopCaption);

    const GageSettings& settings = parts_.document->settings;
    const NumberFormat format = parts_.format;
    const double increment = settings.increment();
    const long double datum = textToExtended(settings.datum, format);
    const long double minimum = textToExtended(settings.minimum, format);
    const long double maximum = textToExtended(settings.maximum, format);

    long double top = maximum + datum;

    // Committing a pending row inside First may fail ("Field 'Station' must have a value"):
    // the start stops there, half-started.
    PointTable& points = parts_.document->points;
    points.first();
    points.suspendViews();
    double minX = 0.0;
    double maxX = 0.0;
    if (!points.atEnd()) {
        minX = points.station();
        maxX = minX;
    }
    while (!points.atEnd()) {
        const double elevation = points.elevation();
        const double station = points.station();
        if (elevation > top)
            top = elevation;
        if (station > maxX)
            maxX = station;
        if (station < minX)
            minX = station;
        points.next();
    }
    points.resumeViews();
    points.first();
    // The resume showed the cursor where the walk left it, on the last row.
    if (parts_.grid)
        parts_.grid->followTableCursor();

    const long double margin = (static_cast<long double>(maxX) - minX) * 0.02L;
    parts_.chart->setAxisRangesFixed(static_cast<double>(minX - margin),
                                     static_cast<double>(maxX + margin),
                                     static_cast<double>(top));

    // A sweep takes about 1.8 s whatever the range: one step per increment.
    if (maximum == minimum)
        throw Error("Floating point division by zero");
    const long double steps = (maximum - minimum) / static_cast<long double>(increment);
    interval_ = truncateToInt32(1800.0L / steps, format);

    setLevel(maximum + datum);
    direction_ = 0;

    parts_.timer->setInterval(interval_ > 0 ? interval_ : 0);
    // A timer of zero or less milliseconds would fire on every pass of the event loop; the
    // animation then runs without moving until it is stopped.
    if (interval_ > 0)
        parts_.timer->start();
    else
        parts_.timer->stop();

    parts_.chart->refreshFromTable();
}

void WaterLevelAnimation::stop()
{
    parts_.timer->stop();
    for (QWidget* input : parts_.inputs)
        input->setEnabled(true);
    parts_.button->setText(kStartCaption);
    parts_.chart->setAutomaticAxes();
}

void WaterLevelAnimation::tick()
{
    const GageSettings& settings = parts_.document->settings;
    const NumberFormat format = parts_.format;
    const long double level = levelValue();
    const long double datum = textToExtended(settings.datum, format);
    const long double increment = settings.increment();

    if (direction_ != 0) {
        if ((level - datum) + increment > textToExtended(settings.maximum, format))
            direction_ = 0;
        else
            setLevel(level + increment);
    } else {
        if ((level - datum) - increment < textToExtended(settings.minimum, format))
            direction_ = -1;
        else
            setLevel(level - increment);
    }
    showLevel(levelValue());
}

long double WaterLevelAnimation::levelValue() const
{
    return textToExtended(toFileText(parts_.level->text()), parts_.format);
}

void WaterLevelAnimation::setLevel(long double value)
{
    parts_.level->setText(fromFileText(formatGeneral(value, parts_.format)));
}

void WaterLevelAnimation::showLevel(long double value)
{
    parts_.chart->setReferenceLevel(static_cast<double>(value));
    parts_.chart->replot(QCustomPlot::rpQueuedReplot);
}

} // namespace korvadel
