// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Measurement.h"
#include "model/NumberFormat.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

namespace korvadel {

// The unit of a value in feet or metres: 'L' a length, 'A' an area, 'Q' a discharge, 'V' a
// velocity, '%' a percentage; empty for anything else.
QString unitText(char unit, bool feet);

// The measurement summary of an index-velocity station as an editable grid: the measurements
// as their file gives them and what the section makes of them (rated area, mean velocity, the
// measured area's difference). The rows are kept by the owner; the model asks for an edit
// through `edit` with the whole row as it would become, so the owner can record it (undo) and
// refuse it, and is told of changes by rowsChanged(). A text that does not read goes to
// `refuse` with the reason. Columns with a unit name it in the units of `feet`.
class MeasurementTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Number,
        Start,
        End,
        GageHeight,
        Discharge,
        IndexVelocity,
        RatedArea,
        MeanVelocity,
        MeasuredArea,
        AreaDifference,
        BeyondThreshold,
        Use,
        Comment,
        ColumnCount
    };

    MeasurementTableModel(const std::vector<Measurement>& measurements,
                          const std::vector<RatedMeasurement>& rated, NumberFormat format,
                          QObject* parent = nullptr);

    std::function<void(int row, const Measurement& changed)> edit;
    std::function<void(const QString& reason)> refuse;

    void setFeet(bool feet);
    bool feet() const { return feet_; }
    // The column's caption with its unit, on one line.
    QString caption(int column) const;
    // The rows or the rated values are now other ones.
    void rowsChanged();
    // Reads `text` typed into `column` of `m`; an Error when it does not read.
    void readCell(Measurement& m, int column, const QString& text) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QString cellText(int row, int column) const;

    const std::vector<Measurement>& measurements_;
    const std::vector<RatedMeasurement>& rated_;
    NumberFormat format_;
    bool feet_ = true;
};

} // namespace korvadel
