// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SectionCheck.h"

#include <QWidget>

#include <vector>

class QLabel;
class QTimer;
class QTreeWidget;

namespace korvadel {

class NoticeLine;
class Workspace;

// The section check: what korvadel-cli check finds in the section and its gage-height settings,
// one row per finding (severity, code, station, message). Choosing a row that belongs to a point
// puts the main window's grid on that point. While the window is open the list follows the
// section and its settings as they change; a setting that stops being a number is said in a
// line above the list, which then keeps the last findings.
//
// Controls by object name: "summary", "outOfDate", "findingList", "closeButton"; Escape closes
// the window.
class SectionCheckWindow : public QWidget {
    Q_OBJECT
public:
    explicit SectionCheckWindow(Workspace& workspace, QWidget* parent = nullptr);

    // Checks the section in the main window with its settings as they stand and shows the
    // window. A setting that is not a number stops it with the conversion's error.
    void runCheck();

    const std::vector<Finding>& findings() const { return findings_; }

signals:
    // A row that belongs to a point was chosen.
    void pointRequested(double station);

private:
    void check();
    void scheduleCheck();
    void showFindings();

    Workspace& workspace_;
    std::vector<Finding> findings_;
    QLabel* summary_ = nullptr;
    NoticeLine* outOfDate_ = nullptr;
    QTreeWidget* findingList_ = nullptr;
    QTimer* followTimer_ = nullptr;
};

} // namespace korvadel
