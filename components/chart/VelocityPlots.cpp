// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/chart/VelocityPlots.h"

#include "components/chart/MeasurementChart.h"
#include "components/chart/Palette.h"
#include "components/grid/MeasurementTableModel.h"
#include "model/IsoTime.h"
#include "model/Numbers.h"
#include "model/WettedArea.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace korvadel {

namespace {

const QColor kFitColour(25, 95, 200);
const QColor kValidateColour(0, 140, 60);
const QColor kExcludeColour(150, 150, 150);

struct UseStyle {
    MeasurementUse use;
    const char* name;
    QCPScatterStyle::ScatterShape shape;
    const QColor& colour;
};
const UseStyle kUseStyles[] = {
    {MeasurementUse::Fit, "Fit", QCPScatterStyle::ssDisc, kFitColour},
    {MeasurementUse::Validate, "Validate", QCPScatterStyle::ssTriangle, kValidateColour},
    {MeasurementUse::Exclude, "Exclude", QCPScatterStyle::ssCross, kExcludeColour}};

} // namespace

void drawLineFit(MeasurementChart& chart, const VelocityPlotInput& input) {
    const auto& measurements = input.measurements;
    const auto& rated = input.rated;
    const auto& evaluated = input.evaluated;
    const VelocityRatingFit* fit = input.fit;
    const auto unit = [&](char kind) { return unitText(kind, input.feet); };
    chart.clearPlot();
    const bool stage = fit && fit->equation.model == VelocityModel::Stage;
    const QString velocity = unit('V');
    if (stage) {
        chart.setTitleLines({QStringLiteral("Measured against fitted mean velocity")});
        chart.setAxisTitles(QStringLiteral("Fitted V (%1)").arg(velocity),
                            QStringLiteral("Measured V (%1)").arg(velocity));
    } else {
        chart.setTitleLines({QStringLiteral("Mean velocity against index velocity")});
        chart.setAxisTitles(QStringLiteral("Index velocity Vi (%1)").arg(velocity),
                            QStringLiteral("Mean velocity V (%1)").arg(velocity));
    }
    if (rated.size() != measurements.size()) {
        chart.fitToPlot();
        return;
    }
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const UseStyle& style : kUseStyles) {
        std::vector<MeasurementChart::Point> points;
        for (std::size_t i = 0; i < measurements.size(); ++i) {
            const Measurement& m = measurements[i];
            if (m.use != style.use || !m.indexVelocity)
                continue;
            double x = *m.indexVelocity;
            if (stage) {
                if (i >= evaluated.size() || !evaluated[i].evaluated)
                    continue;
                x = evaluated[i].fittedVelocity;
            }
            points.push_back({x, rated[i].meanVelocity, static_cast<int>(i)});
            low = std::min(low, x);
            high = std::max(high, x);
        }
        chart.addPoints(QLatin1String(style.name), std::move(points), style.shape, style.colour);
    }
    if (fit && low <= high) {
        QVector<double> x;
        QVector<double> fitted;
        QVector<double> bandLow;
        QVector<double> bandHigh;
        if (stage) {
            // The band of each measurement at its own Vi and GH, in the order of fitted V.
            std::vector<std::pair<double, PredictionInterval>> limits;
            for (const MeasurementFit& e : evaluated)
                if (e.evaluated)
                    limits.emplace_back(e.fittedVelocity, e.interval);
            std::sort(limits.begin(), limits.end(),
                      [](const auto& a, const auto& b) { return a.first < b.first; });
            for (const auto& [v, interval] : limits) {
                x.append(v);
                fitted.append(v);
                bandLow.append(interval.low);
                bandHigh.append(interval.high);
            }
            chart.addBand(QStringLiteral("95 % prediction interval"), x, bandLow, bandHigh,
                          kFitColour);
            chart.addLine(QStringLiteral("V = fitted V"), x, fitted, QPen(palette::kRatingLine, 2));
        } else {
            constexpr int kSteps = 100;
            // The compound form bends at its breakpoint: a step lands on it.
            for (int k = 0; k <= kSteps; ++k)
                x.append(low + (high - low) * k / kSteps);
            if (fit->equation.model == VelocityModel::Compound && fit->equation.breakpoint > low &&
                fit->equation.breakpoint < high) {
                x.append(fit->equation.breakpoint);
                std::sort(x.begin(), x.end());
            }
            for (double vi : x) {
                fitted.append(fit->equation.velocity(vi, 0.0));
                const PredictionInterval interval = fit->predictionInterval(vi, 0.0);
                bandLow.append(interval.low);
                bandHigh.append(interval.high);
            }
            chart.addBand(QStringLiteral("95 % prediction interval"), x, bandLow, bandHigh,
                          kFitColour);
            chart.addLine(QString::fromStdString(equationText(fit->equation, 4)), x, fitted,
                          QPen(palette::kRatingLine, 2));
        }
    }
    chart.fitToPlot();
}

void drawResiduals(MeasurementChart& chart, const VelocityPlotInput& input, ResidualAxis axis) {
    const auto& measurements = input.measurements;
    const auto& evaluated = input.evaluated;
    const auto unit = [&](char kind) { return unitText(kind, input.feet); };
    chart.clearPlot();
    const int against = static_cast<int>(axis);
    const QString axisTitle = against == 0 ? QStringLiteral("Index velocity Vi (%1)").arg(unit('V'))
                              : against == 1 ? QStringLiteral("Gage height (%1)").arg(unit('L'))
                                             : QStringLiteral("Date");
    const QString names[] = {QStringLiteral("index velocity"), QStringLiteral("gage height"),
                             QStringLiteral("date")};
    chart.setTitleLines({QStringLiteral("Residuals V - fitted V against ") + names[against]});
    chart.setAxisTitles(axisTitle, QStringLiteral("Residual (%1)").arg(unit('V')));
    // Dates as the calendar shows them; the day of the start is enough at this scale.
    if (axis == ResidualAxis::Date) {
        auto dates = QSharedPointer<QCPAxisTickerDateTime>::create();
        dates->setDateTimeFormat(QStringLiteral("yyyy-MM-dd"));
        dates->setDateTimeSpec(Qt::UTC);
        chart.xAxis->setTicker(dates);
    } else {
        chart.xAxis->setTicker(QSharedPointer<QCPAxisTicker>::create());
    }
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const UseStyle& style : kUseStyles) {
        std::vector<MeasurementChart::Point> points;
        for (std::size_t i = 0; i < measurements.size() && i < evaluated.size(); ++i) {
            const Measurement& m = measurements[i];
            if (m.use != style.use || !evaluated[i].evaluated)
                continue;
            double x = 0.0;
            if (against == 0)
                x = *m.indexVelocity;
            else if (against == 1)
                x = m.gageHeight;
            else
                x = 86400.0 * isoCalendarDay(m.start).value_or(0);
            points.push_back({x, evaluated[i].residual, static_cast<int>(i)});
            low = std::min(low, x);
            high = std::max(high, x);
        }
        chart.addPoints(QLatin1String(style.name), std::move(points), style.shape, style.colour);
    }
    if (low <= high)
        chart.addLine(QString(), {low, high}, {0.0, 0.0}, QPen(Qt::black, 1, Qt::DashLine));
    chart.fitToPlot();
}

void drawAreaCheck(MeasurementChart& chart, const VelocityPlotInput& input) {
    const auto& measurements = input.measurements;
    const auto& rated = input.rated;
    const auto unit = [&](char kind) { return unitText(kind, input.feet); };
    chart.clearPlot();
    chart.setTitleLines({QStringLiteral("Measured area over the stage-area curve")});
    chart.setAxisTitles(QStringLiteral("Area (%1)").arg(unit('A')),
                        QStringLiteral("Gage height (%1)").arg(unit('L')));
    if (rated.size() != measurements.size() || measurements.empty()) {
        chart.fitToPlot();
        return;
    }
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    std::vector<MeasurementChart::Point> measured;
    std::vector<MeasurementChart::Point> beyond;
    for (std::size_t i = 0; i < measurements.size(); ++i) {
        const Measurement& m = measurements[i];
        low = std::min(low, m.gageHeight);
        high = std::max(high, m.gageHeight);
        if (!m.measuredArea)
            continue;
        // Keys along the area axis would reorder the points; the chart keeps them by gage
        // height and draws them across.
        auto& into = rated[i].beyondThreshold ? beyond : measured;
        into.push_back({*m.measuredArea, m.gageHeight, static_cast<int>(i)});
    }
    // The stage-area curve of the section over the measurements' gage heights.
    const double span = std::max(high - low, 0.1);
    QVector<double> areas;
    QVector<double> stages;
    constexpr int kSteps = 120;
    for (int k = 0; k <= kSteps; ++k) {
        const double gh = low - 0.05 * span + 1.1 * span * k / kSteps;
        const double area = wettedArea(input.stations, input.elevations, gh, -input.datum);
        if (area > 0.0) {
            areas.append(area);
            stages.append(gh);
        }
    }
    chart.addLine(QStringLiteral("Stage-area curve"), areas, stages, QPen(palette::kRatingLine, 2));
    // The differences: from the rated area to the measured one at each gage height.
    QVector<QPointF> from;
    QVector<QPointF> to;
    for (std::size_t i = 0; i < measurements.size(); ++i)
        if (measurements[i].measuredArea) {
            from.append(QPointF(rated[i].ratedArea, measurements[i].gageHeight));
            to.append(QPointF(*measurements[i].measuredArea, measurements[i].gageHeight));
        }
    chart.addSegments(from, to, QPen(QColor(120, 120, 120), 1));
    chart.addPoints(QStringLiteral("Measured area"), std::move(measured), QCPScatterStyle::ssDisc,
                    kFitColour);
    chart.addPoints(QStringLiteral("Beyond %1 %")
                        .arg(QString::fromStdString(formatGeneral(kDefaultAreaThreshold))),
                    std::move(beyond), QCPScatterStyle::ssSquare, QColor(180, 30, 0));
    chart.fitToPlot();
}

} // namespace korvadel
