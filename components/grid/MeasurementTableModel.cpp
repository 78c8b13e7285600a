// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/grid/MeasurementTableModel.h"

#include "components/desktop/TextCodec.h"
#include "components/grid/ResultTable.h"
#include "io/MeasurementFile.h"
#include "model/CommandSteps.h"
#include "model/Error.h"
#include "model/IsoTime.h"
#include "model/Numbers.h"

namespace korvadel {

namespace {

// Each column's caption and unit: L a length, A an area, Q a discharge, V a velocity.
struct ColumnInfo {
    const char* caption;
    char unit;
};
constexpr ColumnInfo kColumns[] = {{"Number", 0},
                                   {"Start", 0},
                                   {"End", 0},
                                   {"Gage Height", 'L'},
                                   {"Discharge", 'Q'},
                                   {"Index Velocity", 'V'},
                                   {"Rated Area", 'A'},
                                   {"Mean Velocity", 'V'},
                                   {"Measured Area", 'A'},
                                   {"Area Difference", '%'},
                                   {"Beyond Threshold", 0},
                                   {"Use", 0},
                                   {"Comment", 0}};
static_assert(std::size(kColumns) == MeasurementTableModel::ColumnCount);

QString optionalText(const std::optional<double>& value, NumberFormat format) {
    return value ? QString::fromStdString(formatGeneral(*value, format)) : QString();
}

} // namespace

QString unitText(char unit, bool feet) {
    const QString length = feet ? QStringLiteral("ft") : QStringLiteral("m");
    switch (unit) {
    case 'L':
        return length;
    case 'A':
        return length + QStringLiteral("\u00b2");
    case 'Q':
        return length + QStringLiteral("\u00b3/s");
    case 'V':
        return length + QStringLiteral("/s");
    case '%':
        return QStringLiteral("%");
    default:
        return QString();
    }
}

MeasurementTableModel::MeasurementTableModel(const std::vector<Measurement>& measurements,
                                             const std::vector<RatedMeasurement>& rated,
                                             NumberFormat format, QObject* parent)
    : QAbstractTableModel(parent), measurements_(measurements), rated_(rated), format_(format) {}

void MeasurementTableModel::setFeet(bool feet) {
    feet_ = feet;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

QString MeasurementTableModel::caption(int column) const {
    const QString unit = unitText(kColumns[column].unit, feet_);
    const QString name = QLatin1String(kColumns[column].caption);
    return unit.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, unit);
}

void MeasurementTableModel::rowsChanged() {
    beginResetModel();
    endResetModel();
}

int MeasurementTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(measurements_.size());
}

int MeasurementTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString MeasurementTableModel::cellText(int row, int column) const {
    const Measurement& m = measurements_[static_cast<std::size_t>(row)];
    const RatedMeasurement* rated = static_cast<std::size_t>(row) < rated_.size()
                                        ? &rated_[static_cast<std::size_t>(row)]
                                        : nullptr;
    const char separator = format_.decimalSeparator;
    switch (column) {
    case Number:
        return fromFileText(m.number);
    case Start:
        return fromFileText(m.start);
    case End:
        return fromFileText(m.end);
    case GageHeight:
        return QString::fromStdString(formatGeneral(m.gageHeight, format_));
    case Discharge:
        return QString::fromStdString(formatGeneral(m.discharge, format_));
    case IndexVelocity:
        return optionalText(m.indexVelocity, format_);
    case RatedArea:
        return rated ? decimalsText(rated->ratedArea, 3, separator) : QString();
    case MeanVelocity:
        return rated ? decimalsText(rated->meanVelocity, 4, separator) : QString();
    case MeasuredArea:
        return optionalText(m.measuredArea, format_);
    case AreaDifference:
        return rated && rated->areaDifferencePercent
                   ? decimalsText(*rated->areaDifferencePercent, 2, separator)
                   : QString();
    case BeyondThreshold:
        return rated && rated->areaDifferencePercent
                   ? (rated->beyondThreshold ? QStringLiteral("yes") : QStringLiteral("no"))
                   : QString();
    case Use:
        return QLatin1String(measurementUseName(m.use));
    case Comment:
        return fromFileText(m.comment);
    default:
        return QString();
    }
}

QVariant MeasurementTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cellText(index.row(), column);
    case Qt::TextAlignmentRole:
        return column >= GageHeight && column <= AreaDifference
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole: {
        const Measurement& m = measurements_[static_cast<std::size_t>(index.row())];
        if (m.use == MeasurementUse::Exclude)
            return QColor(128, 128, 128);
        if (column == BeyondThreshold || column == AreaDifference) {
            const auto row = static_cast<std::size_t>(index.row());
            if (row < rated_.size() && rated_[row].beyondThreshold)
                return QColor(180, 30, 0);
        }
        return {};
    }
    default:
        return {};
    }
}

QVariant MeasurementTableModel::headerData(int section, Qt::Orientation orientation,
                                           int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    // The unit under the caption keeps the columns narrow.
    return caption(section).replace(QStringLiteral(" ("), QStringLiteral("\n("));
}

Qt::ItemFlags MeasurementTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const int column = index.column();
    const bool computed = column == RatedArea || column == MeanVelocity ||
                          column == AreaDifference || column == BeyondThreshold;
    if (!computed)
        flags |= Qt::ItemIsEditable;
    return flags;
}

void MeasurementTableModel::readCell(Measurement& m, int column, const QString& typed) const {
    const std::string text = toFileText(typed.trimmed());
    const std::string name = toFileText(caption(column));
    const auto optionalNumber = [&](std::optional<double>& value) {
        if (text.empty())
            value.reset();
        else
            value = readNamedNumber(text, name, format_);
    };
    switch (column) {
    case Number:
        if (text.empty())
            throw Error("A measurement needs a number");
        m.number = text;
        break;
    case Start:
        if (!isoCalendarDay(text))
            throw Error("Start: '" + text +
                        "' is not an ISO 8601 date or date and time (YYYY-MM-DD, "
                        "YYYY-MM-DDThh:mm or YYYY-MM-DD hh:mm:ss)");
        m.start = text;
        break;
    case End:
        if (!text.empty() && !isMeasurementEnd(text))
            throw Error("End: '" + text +
                        "' is not an ISO 8601 date and time or a time of day (hh:mm)");
        m.end = text;
        break;
    case GageHeight:
        m.gageHeight = readNamedNumber(text, name, format_);
        break;
    case Discharge:
        m.discharge = readNamedNumber(text, name, format_);
        break;
    case IndexVelocity:
        optionalNumber(m.indexVelocity);
        break;
    case MeasuredArea:
        optionalNumber(m.measuredArea);
        break;
    case Use: {
        const auto use = measurementUseNamed(text);
        if (!use)
            throw Error("Use: '" + text + "' is not fit, validate or exclude");
        m.use = *use;
        break;
    }
    case Comment:
        m.comment = text;
        break;
    default:
        throw Error("This column is worked out from the section and cannot be typed into");
    }
}

bool MeasurementTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount())
        return false;
    const QString typed = value.toString();
    if (typed == cellText(index.row(), index.column()))
        return false;
    Measurement changed = measurements_[static_cast<std::size_t>(index.row())];
    try {
        readCell(changed, index.column(), typed);
    } catch (const std::exception& error) {
        if (refuse)
            refuse(messageText(error));
        return false;
    }
    if (edit)
        edit(index.row(), changed);
    return true;
}

} // namespace korvadel
