// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/report/IndexVelocityReport.h"

#include "components/chart/MeasurementChart.h"
#include "components/chart/VelocityPlots.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/MeasurementTableModel.h"
#include "components/grid/ResultTable.h"
#include "components/report/ReportPreview.h"
#include "model/Numbers.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <functional>
#include <vector>

namespace korvadel {

namespace {

constexpr double kPageWidth = 215.9;
constexpr double kPageHeight = 279.4;
constexpr double kLeft = 15.0;
constexpr double kTop = 15.0;
constexpr double kBottom = 264.0;
constexpr double kWidth = kPageWidth - 2 * kLeft;
constexpr double kLine = 4.6; // mm, at 9 points
constexpr int kDigits = 6;

// Writes lines of text down the pages, starting a page when one is full.
class PageWriter {
public:
    explicit PageWriter(ReportDocument& document) : document_(document) { newPage(); }

    void newPage() {
        document_.pages.emplace_back();
        y_ = kTop;
        if (onNewPage)
            onNewPage();
    }
    // Room for `lines` more lines on this page, or a new one.
    void need(int lines) {
        if (y_ + lines * kLine > kBottom)
            newPage();
    }
    void text(double left, double width, const QString& text, bool centred = false) {
        document_.pages.back().items.push_back(
            {QRectF(kLeft + left, y_, width, kLine), centred, text});
    }
    void line(const QString& text, bool centred = false) {
        need(1);
        this->text(0, kWidth, text, centred);
        y_ += kLine;
    }
    void skip(double lines = 1.0) { y_ += lines * kLine; }
    void down() { y_ += kLine; }
    double y() const { return y_; }
    void picture(double height, const ReportPictureItem& item) {
        if (y_ + height > kBottom)
            newPage();
        ReportPictureItem placed = item;
        placed.boxMm = QRectF(kLeft, y_, kWidth, height);
        document_.pages.back().pictures.push_back(std::move(placed));
        y_ += height;
    }

    std::function<void()> onNewPage;

private:
    ReportDocument& document_;
    double y_ = kTop;
};

// A row of a table: texts in columns given by their left edge and width, numbers centred.
struct TableColumn {
    double left;
    double width;
    QString head;
    QString unit;
};

void tableRow(PageWriter& out, std::span<const TableColumn> columns, const QStringList& cells,
              int leftAligned) {
    for (qsizetype c = 0; c < cells.size() && c < static_cast<qsizetype>(columns.size()); ++c)
        out.text(columns[c].left, columns[c].width, cells[c], c >= leftAligned);
    out.down();
}

// The chart as an image at print resolution: a recorded vector drawing would resolve fonts and
// pens against the printer's resolution and blow them up, as the chart printouts found.
ReportPictureItem chartPicture(const std::function<void(MeasurementChart&)>& draw, double widthMm,
                               double heightMm) {
    constexpr int kWidthPx = 900; // the chart's size on screen, which sets its proportions
    constexpr double kDpi = 300;
    const int heightPx = static_cast<int>(std::lround(kWidthPx * heightMm / widthMm));
    MeasurementChart chart;
    chart.resize(kWidthPx, heightPx);
    draw(chart);
    QImage image(static_cast<int>(std::lround(widthMm / 25.4 * kDpi)),
                 static_cast<int>(std::lround(heightMm / 25.4 * kDpi)), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        chart.render(painter, image.rect());
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {QRectF(0, 0, widthMm, heightMm), QSizeF(image.size()), png};
}

} // namespace

ReportDocument layOutIndexVelocityReport(const VelocityPlotInput& input, const QString& description,
                                         const QString& problem, QDate date, NumberFormat format) {
    ReportDocument document;
    document.name = QStringLiteral("Index Velocity Rating");
    document.pageSizeMm = QSizeF(kPageWidth, kPageHeight);
    document.fontFamily = QStringLiteral("Arial");
    document.fontPointSize = 9;
    const char separator = format.decimalSeparator;
    const auto unit = [&](char kind) { return unitText(kind, input.feet); };
    const auto significant = [&](double v) {
        return QString::fromStdString(formatSignificant(v, kDigits, format));
    };
    const auto general = [&](double v) { return QString::fromStdString(formatGeneral(v, format)); };

    PageWriter out(document);
    out.line(description, true);
    out.line(QStringLiteral("Index Velocity Rating"), true);
    out.line(date.toString(Qt::ISODate), true);
    out.skip();

    const VelocityRatingFit* fit = input.fit;
    std::size_t validate = 0;
    std::size_t exclude = 0;
    for (const Measurement& m : input.measurements) {
        validate += m.use == MeasurementUse::Validate ? 1 : 0;
        exclude += m.use == MeasurementUse::Exclude ? 1 : 0;
    }
    if (fit != nullptr) {
        const VelocityModelInfo& info = velocityModelInfo(fit->equation.model);
        out.line(
            QStringLiteral("Model: %1, %2")
                .arg(QLatin1String(info.name.data(), static_cast<qsizetype>(info.name.size())),
                     QLatin1String(info.form.data(), static_cast<qsizetype>(info.form.size()))));
        out.line(QStringLiteral("Equation: ") +
                 QString::fromStdString(equationText(fit->equation, kDigits)));
        out.line(QStringLiteral("V mean velocity and Vi index velocity in %1, GH gage height in "
                                "%2, areas in %3, discharges in %4.")
                     .arg(unit('V'), unit('L'), unit('A'), unit('Q')));
        out.skip();
        out.line(QStringLiteral("Regression statistics"));
        const std::pair<QString, QString> statistics[] = {
            {QStringLiteral("Measurements fitted (n)"), QString::number(fit->n)},
            {QStringLiteral("Validate / exclude"),
             QStringLiteral("%1 / %2").arg(validate).arg(exclude)},
            {QStringLiteral("Parameters"), QString::number(fit->parameters)},
            {QStringLiteral("Degrees of freedom"), QString::number(fit->degreesOfFreedom)},
            {QStringLiteral("R squared"), significant(fit->rSquared)},
            {QStringLiteral("Adjusted R squared"), significant(fit->adjustedRSquared)},
            {QStringLiteral("Standard error of estimate (%1)").arg(unit('V')),
             significant(fit->standardErrorOfEstimate)},
            {QStringLiteral("F"), significant(fit->f)},
            {QStringLiteral("Significance F"), significant(fit->fP)}};
        for (const auto& [name, value] : statistics) {
            out.need(1);
            out.text(5, 70, name);
            out.text(75, 30, value);
            out.down();
        }
        out.skip();
        out.line(QStringLiteral("Coefficients"));
        const TableColumn coefficientColumns[] = {{5, 60, {}, {}},
                                                  {65, 30, {}, {}},
                                                  {95, 30, {}, {}},
                                                  {125, 25, {}, {}},
                                                  {150, 30, {}, {}}};
        out.need(1 + static_cast<int>(fit->parameters));
        tableRow(out, coefficientColumns,
                 {QStringLiteral("Term"), QStringLiteral("Estimate"),
                  QStringLiteral("Standard error"), QStringLiteral("t"), QStringLiteral("p")},
                 1);
        for (std::size_t j = 0; j < fit->parameters; ++j) {
            const CoefficientStatistics& c = fit->coefficients[j];
            const std::string_view term = info.terms[j];
            QStringList cells{QLatin1String(term.data(), static_cast<qsizetype>(term.size())),
                              significant(c.estimate), significant(c.standardError),
                              significant(c.t), significant(c.p)};
            // Names left, numbers centred.
            out.text(coefficientColumns[0].left, coefficientColumns[0].width, cells[0]);
            for (int k = 1; k < 5; ++k)
                out.text(coefficientColumns[k].left, coefficientColumns[k].width, cells[k], true);
            out.down();
        }
    } else {
        out.line(QStringLiteral("No rating: ") + problem);
    }
    out.skip();

    // The measurement summary, its heading on every page it runs onto.
    const TableColumn columns[] = {{0, 12, QStringLiteral("Number"), {}},
                                   {12, 27, QStringLiteral("Start"), {}},
                                   {39, 13, QStringLiteral("GH"), unit('L')},
                                   {52, 14, QStringLiteral("Q"), unit('Q')},
                                   {66, 13, QStringLiteral("Vi"), unit('V')},
                                   {79, 16, QStringLiteral("Rated A"), unit('A')},
                                   {95, 14, QStringLiteral("V"), unit('V')},
                                   {109, 16, QStringLiteral("Meas. A"), unit('A')},
                                   {125, 13, QStringLiteral("Diff."), QStringLiteral("%")},
                                   {138, 14, QStringLiteral("Use"), {}},
                                   {152, 15, QStringLiteral("Fitted V"), unit('V')},
                                   {167, 19, QStringLiteral("Residual"), unit('V')}};
    const auto heading = [&] {
        QStringList heads;
        QStringList units;
        for (const TableColumn& c : columns) {
            heads << c.head;
            units << c.unit;
        }
        // Centred over the numbers; the number and the start are left-aligned, as their cells.
        for (qsizetype c = 0; c < heads.size(); ++c)
            out.text(columns[c].left, columns[c].width, heads[c], c >= 2);
        out.down();
        for (qsizetype c = 0; c < units.size(); ++c)
            out.text(columns[c].left, columns[c].width, units[c], true);
        out.down();
    };
    out.need(4);
    out.line(QStringLiteral("Measurement summary"));
    heading();
    out.onNewPage = heading;
    const auto optional = [&](const std::optional<double>& v) {
        return v ? general(*v) : QString();
    };
    for (std::size_t i = 0; i < input.measurements.size(); ++i) {
        const Measurement& m = input.measurements[i];
        const RatedMeasurement* rated = i < input.rated.size() ? &input.rated[i] : nullptr;
        const MeasurementFit* e = i < input.evaluated.size() && input.evaluated[i].evaluated
                                      ? &input.evaluated[i]
                                      : nullptr;
        const QStringList cells{fromFileText(m.number),
                                fromFileText(m.start),
                                general(m.gageHeight),
                                general(m.discharge),
                                optional(m.indexVelocity),
                                rated ? decimalsText(rated->ratedArea, 3, separator) : QString(),
                                rated ? decimalsText(rated->meanVelocity, 4, separator) : QString(),
                                optional(m.measuredArea),
                                rated && rated->areaDifferencePercent
                                    ? decimalsText(*rated->areaDifferencePercent, 2, separator)
                                    : QString(),
                                QLatin1String(measurementUseName(m.use)),
                                e ? decimalsText(e->fittedVelocity, 4, separator) : QString(),
                                e ? decimalsText(e->residual, 4, separator) : QString()};
        out.need(1);
        for (qsizetype c = 0; c < cells.size(); ++c)
            out.text(columns[c].left, columns[c].width, cells[c], c >= 2);
        out.down();
    }
    out.onNewPage = nullptr;

    bool anyComment = false;
    for (const Measurement& m : input.measurements) {
        if (m.comment.empty())
            continue;
        if (!anyComment) {
            out.skip(0.5);
            out.need(2);
            out.line(QStringLiteral("Comments"));
            anyComment = true;
        }
        out.need(1);
        out.text(5, 20, fromFileText(m.number));
        out.text(25, kWidth - 25, fromFileText(m.comment));
        out.down();
    }

    // The plots, together on a page of their own.
    out.newPage();
    constexpr double kPlotHeight = 76.0;
    out.picture(kPlotHeight,
                chartPicture([&](MeasurementChart& chart) { drawLineFit(chart, input); }, kWidth,
                             kPlotHeight));
    out.skip(0.5);
    out.picture(kPlotHeight, chartPicture(
                                 [&](MeasurementChart& chart) {
                                     drawResiduals(chart, input, ResidualAxis::IndexVelocity);
                                 },
                                 kWidth, kPlotHeight));
    out.skip(0.5);
    out.picture(kPlotHeight,
                chartPicture([&](MeasurementChart& chart) { drawAreaCheck(chart, input); }, kWidth,
                             kPlotHeight));
    return document;
}

void previewIndexVelocityReport(DesktopSeam& seam, const PrinterAccess& printers,
                                ReportDocument document) {
    ReportPreview preview(seam, printers, std::move(document));
    preview.exec();
}

} // namespace korvadel
