// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SectionCheck.h"

#include <QWidget>

#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace korvadel {

class Workspace;

// The section check: what korvadel-cli check finds in the section and its gage-height settings,
// one row per finding (severity, code, station, message). Choosing a row that belongs to a point
// puts the main window's grid on that point. The list is of the section as it was when the check
// ran; running the check again brings it up to date.
class SectionCheckWindow : public QWidget {
    Q_OBJECT
public:
    explicit SectionCheckWindow(Workspace& workspace, QWidget* parent = nullptr);

    // Checks the section in the main window with its settings as they stand and shows the
    // window. A setting that is not a number stops it with the conversion's error.
    void runCheck();

    const std::vector<Finding>& findings() const { return findings_; }

    QLabel* summary = nullptr;
    QTreeWidget* findingList = nullptr;
    QPushButton* closeButton = nullptr;

signals:
    // A row that belongs to a point was chosen.
    void pointRequested(double station);

private:
    void showFindings();

    Workspace& workspace_;
    std::vector<Finding> findings_;
};

} // namespace korvadel
