// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"
#include "model/SurveyProjection.h"
#include "ui/ProgramDialog.h"

#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QCPGraph;
class QDialogButtonBox;
class QLineEdit;

namespace korvadel {

class Chart;
class NoticeLine;
class ResultTableView;

// Surveyed points laid onto a section line before they are imported: the left and right pins
// chosen from the points' names (the first and the last point to begin with), the station of
// the left pin, the largest offset allowed, whether points off the line or beyond the pins are
// dropped, and whether left and right are swapped. Every change projects the points again: the
// table shows each point's station, offset and warning, the plan view the points with the
// section line between the pins, the ones reported marked. OK is offered only while the choices
// give a projection; the line above the table says what is wrong otherwise.
//
// Controls by object name: "leftPin", "rightPin", "startStation", "maxOffset", "dropOffLine",
// "flip", "message", "pointTable", "planChart", "buttons".
class SurveyImportDialog : public ProgramDialog {
    Q_OBJECT
public:
    explicit SurveyImportDialog(NumberFormat format, QWidget* parent = nullptr);

    // The points of `fileName`, with the choices back at their defaults.
    void showPoints(std::vector<SurveyPoint> points, const QString& fileName);

    const std::vector<SurveyPoint>& points() const { return points_; }
    // The projection of the choices as they stand; none while they are refused.
    const std::optional<SurveyProjection>& projection() const { return projection_; }
    // Why there is no projection; empty when there is one.
    QString problem() const { return problem_; }

protected:
    void comingUp(QShowEvent* event) override;

private:
    SurveyLine line() const;
    void project();
    void showTable();
    void showPlan();
    void fitPlan();

    NumberFormat format_;
    std::vector<SurveyPoint> points_;
    std::optional<SurveyProjection> projection_;
    QString problem_;

    QComboBox* leftPin_ = nullptr;
    QComboBox* rightPin_ = nullptr;
    QLineEdit* startStation_ = nullptr;
    QLineEdit* maxOffset_ = nullptr;
    QCheckBox* dropOffLine_ = nullptr;
    QCheckBox* flip_ = nullptr;
    NoticeLine* message_ = nullptr;
    ResultTableView* table_ = nullptr;
    Chart* plan_ = nullptr;
    QCPGraph* surveyPoints_ = nullptr;
    QCPGraph* reportedPoints_ = nullptr;
    QCPGraph* pins_ = nullptr;
    QCPGraph* sectionLine_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

} // namespace korvadel
