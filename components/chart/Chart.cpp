// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/chart/Chart.h"

#include "model/PointTable.h"
#include "model/RatingTable.h"

#include <QPainter>
#include <QPicture>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace korvadel {

namespace {

const QColor kHatchColour(169, 214, 211);
// 18 % transparency.
constexpr int kHatchAlpha = 209;
const QColor kRatingLineColour(222, 71, 33);
constexpr int kZoomMilliseconds = 160;
// Room above and below a cross-section, as a share of its elevation span.
constexpr double kSectionMargin = 0.05;
constexpr double kZoomStep = 0.85;

struct ZoomRanges {
    QCPRange x;
    QCPRange y;
};

QCPRange paddedRange(QCPRange range, double fraction) {
    double span = range.size();
    if (span <= 0.0)
        span = std::max(1.0, std::abs(range.center()));
    return QCPRange(range.lower - span * fraction, range.upper + span * fraction);
}

// Qt draws the predefined patterns, such as the hatch under a cross-section, in device pixels:
// on a screen of two device pixels to the pixel the hatch would come out at half its size and
// half its weight. There it is drawn in pixels, as everything else is; on surfaces of one device
// pixel (the screen at 100 %, pictures, prints and exports) it is drawn as it always was.
class HatchedGraph : public QCPGraph {
public:
    using QCPGraph::QCPGraph;

protected:
    void draw(QCPPainter* painter) override {
        const QPaintDevice* device = painter->device();
        painter->setRenderHint(QPainter::NonCosmeticBrushPatterns,
                               device != nullptr && device->devicePixelRatioF() != 1.0);
        QCPGraph::draw(painter);
    }
};

} // namespace

Chart::Chart(QWidget* parent) : QCustomPlot(parent) {
    setBackground(palette().color(QPalette::Button));
    axisRect()->setBackground(Qt::white);
    legend->setVisible(false);
    setNoAntialiasingOnDrag(true);

    plotLayout()->insertRow(0);
    title_ = new QCPTextElement(this);
    QFont titleFont = font();
    if (titleFont.pixelSize() > 0)
        titleFont.setPixelSize(titleFont.pixelSize() + 1);
    else
        titleFont.setPointSizeF(titleFont.pointSizeF() + 1.0);
    title_->setFont(titleFont);
    title_->setTextColor(Qt::black);
    plotLayout()->addElement(0, 0, title_);

    reference_ = addGraph();
    reference_->setPen(Qt::NoPen);
    reference_->setLineStyle(QCPGraph::lsLine);
    reference_->setSelectable(QCP::stNone);

    series_ = new HatchedGraph(xAxis, yAxis);
    series_->setPen(QPen(Qt::black, 1));
    series_->setLineStyle(QCPGraph::lsLine);
    series_->setSelectable(QCP::stNone);
    series_->setAdaptiveSampling(true);

    connect(this, &QCustomPlot::beforeReplot, this, [this] { runBeforeDraw(); });
}

Chart::~Chart() {
    if (zoomAnimation_)
        zoomAnimation_->stop();
    unbind();
}

void Chart::setTitleLines(const QStringList& lines) {
    titleLines_ = lines;
    // A line made of a space keeps the height of an empty line, which plain text layout
    // would otherwise let collapse at the end of the text.
    QStringList shown;
    shown.reserve(lines.size());
    for (const QString& line : lines)
        shown.append(line.isEmpty() ? QStringLiteral(" ") : line);
    title_->setText(shown.join(QLatin1Char('\n')));
    title_->setVisible(!lines.isEmpty());
    replot(rpQueuedReplot);
}

QString Chart::bottomAxisTitle() const {
    return xAxis->label();
}
QString Chart::leftAxisTitle() const {
    return yAxis->label();
}

void Chart::setAxisTitles(const QString& bottom, const QString& left) {
    xAxis->setLabel(bottom);
    yAxis->setLabel(left);
    replot(rpQueuedReplot);
}

void Chart::bindAreaSeries(PointTable& points) {
    unbind();
    binding_ = Binding::Area;
    points_ = &points;
    series_->setPen(QPen(Qt::black, 1));
    series_->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
    QColor hatch = kHatchColour;
    hatch.setAlpha(kHatchAlpha);
    series_->setBrush(QBrush(hatch, Qt::BDiagPattern));
    series_->setChannelFillGraph(reference_);
    subscription_ =
        points.subscribe(PointTable::viewsOnly([this](const TableChange&) { onTableChange(); }));
    refreshFromTable();
}

void Chart::bindLineSeries(RatingTable& rating) {
    unbind();
    binding_ = Binding::Line;
    rating_ = &rating;
    series_->setPen(QPen(kRatingLineColour, 1));
    series_->setBrush(Qt::NoBrush);
    series_->setChannelFillGraph(nullptr);
    QPen outline(Qt::black, 2);
    outline.setCapStyle(Qt::SquareCap);
    series_->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssCircle, outline, QBrush(Qt::black), 4));
    subscription_ = rating.subscribe([this](const TableChange&) { onTableChange(); });
    refreshFromTable();
}

void Chart::unbind() {
    subscription_.reset();
    points_ = nullptr;
    rating_ = nullptr;
    binding_ = Binding::None;
}

void Chart::onTableChange() {
    // Tables hold their notifications back while views are suspended, so whatever arrives here
    // is a change the user should see now.
    refreshFromTable();
}

void Chart::setReferenceLevel(double level) {
    if (level == referenceLevel_ && reference_->dataCount() > 0)
        return;
    referenceLevel_ = level;
    updateReferenceGraph();
}

void Chart::refreshFromTable() {
    ++refreshCount_;
    readSeries();
    if (automaticAxes_)
        applyAutomaticRanges();
    updateReferenceGraph();
    replot(rpQueuedReplot);
}

void Chart::readSeries() {
    QVector<QCPGraphData> data;
    bool sorted = true;
    if (binding_ == Binding::Area && points_) {
        const std::size_t rows = points_->rowCount();
        data.reserve(static_cast<qsizetype>(rows));
        for (std::size_t row = 0; row < rows; ++row) {
            if (!points_->hasStation(row))
                continue;
            const double key = points_->stationAt(row);
            if (!data.isEmpty() && key < data.constLast().key)
                sorted = false;
            data.append(QCPGraphData(key, points_->elevationAt(row)));
        }
        if (!sorted) {
            std::stable_sort(
                data.begin(), data.end(),
                [](const QCPGraphData& a, const QCPGraphData& b) { return a.key < b.key; });
        }
    } else if (binding_ == Binding::Line && rating_) {
        const std::size_t rows = rating_->rowCount();
        data.reserve(static_cast<qsizetype>(rows));
        for (std::size_t row = 0; row < rows; ++row)
            data.append(QCPGraphData(rating_->areaAt(row), rating_->stageAt(row)));
        // Equal areas (every stage below the bed has area 0) keep the table's order, so the
        // curve climbs instead of zig-zagging.
        std::stable_sort(
            data.begin(), data.end(),
            [](const QCPGraphData& a, const QCPGraphData& b) { return a.key < b.key; });
    }
    series_->data()->set(data, true);
}

void Chart::updateReferenceGraph() {
    QVector<QCPGraphData> line;
    if (binding_ == Binding::Area && !series_->data()->isEmpty()) {
        // A level outside the vertical range is drawn just beyond the edge on its side: the
        // fill then runs to the plot's edge, and a level far away (elevation 0.00 under a bed
        // at 200 m) gives no drawing coordinates far outside the widget.
        const QCPRange shown = yAxis->range();
        const double beyond = std::max(shown.size(), 1.0);
        const double drawn =
            std::clamp(referenceLevel_, shown.lower - beyond, shown.upper + beyond);
        line.append(QCPGraphData(series_->data()->constBegin()->key, drawn));
        line.append(QCPGraphData((series_->data()->constEnd() - 1)->key, drawn));
    }
    reference_->data()->set(line, true);
}

void Chart::applyAutomaticRanges() {
    bool found = false;
    QCPRange keys = series_->getKeyRange(found);
    if (!found)
        keys = QCPRange(0.0, 1.0);
    QCPRange values = series_->getValueRange(found);
    if (!found)
        values = QCPRange(0.0, 1.0);
    if (binding_ == Binding::Line) {
        // Room for the markers at the ends of the curve.
        keys = paddedRange(keys, 0.03);
        values = paddedRange(values, 0.03);
    } else {
        // The section fills the plot: the water level counts only where it lies within the
        // section's elevations, which they already span, so a level far below the bed (the
        // 0.00 before any animation) does not squeeze the section into a line at the top.
        if (keys.size() <= 0.0)
            keys = paddedRange(keys, 0.5);
        values = paddedRange(values, values.size() <= 0.0 ? 0.5 : kSectionMargin);
    }
    xAxis->setRange(keys);
    yAxis->setRange(values);
}

void Chart::runBeforeDraw() {
    if (!beforeDraw_ || inBeforeDraw_)
        return;
    inBeforeDraw_ = true;
    beforeDraw_();
    inBeforeDraw_ = false;
}

void Chart::setAxisRangesFixed(double xMinimum, double xMaximum, double yMaximum) {
    if (zoomAnimation_)
        zoomAnimation_->stop();
    automaticAxes_ = false;
    xAxis->setRange(xMinimum, xMaximum);
    // The vertical minimum stays where the automatic range left it.
    yAxis->setRange(yAxis->range().lower, yMaximum);
    updateReferenceGraph();
    replot(rpQueuedReplot);
}

void Chart::setAutomaticAxes() {
    if (zoomAnimation_)
        zoomAnimation_->stop();
    automaticAxes_ = true;
    applyAutomaticRanges();
    updateReferenceGraph();
    replot(rpQueuedReplot);
}

void Chart::wheelEvent(QWheelEvent* event) {
    if (!animatedZoom_) {
        QCustomPlot::wheelEvent(event);
        return;
    }
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0.0) {
        event->accept();
        return;
    }
    const double factor = std::pow(kZoomStep, steps);
    const QPointF at = event->position();
    const double cx = xAxis->pixelToCoord(at.x());
    const double cy = yAxis->pixelToCoord(at.y());

    if (!zoomAnimation_) {
        zoomAnimation_ = new QVariantAnimation(this);
        zoomAnimation_->setDuration(kZoomMilliseconds);
        zoomAnimation_->setEasingCurve(QEasingCurve::OutCubic);
        zoomAnimation_->setStartValue(0.0);
        zoomAnimation_->setEndValue(1.0);
    }
    // Zooming again while easing starts from where the picture is now.
    const ZoomRanges from{xAxis->range(), yAxis->range()};
    const ZoomRanges to{
        QCPRange(cx + (from.x.lower - cx) * factor, cx + (from.x.upper - cx) * factor),
        QCPRange(cy + (from.y.lower - cy) * factor, cy + (from.y.upper - cy) * factor)};
    zoomAnimation_->stop();
    zoomAnimation_->disconnect(this);
    connect(zoomAnimation_, &QVariantAnimation::valueChanged, this,
            [this, from, to](const QVariant& value) {
                const double t = value.toDouble();
                auto mix = [t](QCPRange a, QCPRange b) {
                    return QCPRange(a.lower + (b.lower - a.lower) * t,
                                    a.upper + (b.upper - a.upper) * t);
                };
                xAxis->setRange(mix(from.x, to.x));
                yAxis->setRange(mix(from.y, to.y));
                replot(rpQueuedReplot);
            });
    automaticAxes_ = false;
    zoomAnimation_->start();
    event->accept();
}

void Chart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (animatedZoom_) {
        setAutomaticAxes();
        event->accept();
        return;
    }
    QCustomPlot::mouseDoubleClickEvent(event);
}

QSize Chart::clientSize() const {
    return size().expandedTo(QSize(1, 1));
}

void Chart::render(QPainter& painter, const QRect& target) {
    if (target.isEmpty())
        return;
    runBeforeDraw();
    const QSize size = clientSize();
    // Recorded once at screen size and played back under a scale, so fonts, line widths and
    // hatch keep their on-screen proportions on any surface.
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        recorder.setMode(QCPPainter::pmVectorized);
        toPainter(&recorder, size.width(), size.height());
    }
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(static_cast<double>(target.width()) / size.width(),
                  static_cast<double>(target.height()) / size.height());
    painter.setClipRect(QRect(QPoint(0, 0), size), Qt::IntersectClip);
    picture.play(&painter);
    painter.restore();
    // toPainter laid the plot out for the recording; put the screen layout back.
    replot(rpQueuedReplot);
}

} // namespace korvadel
