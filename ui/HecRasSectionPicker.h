// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"
#include "ui/ProgramDialog.h"

class QDialogButtonBox;
class QLabel;
class QTreeWidget;

namespace korvadel {

struct HecRasGeometry;

// The cross sections of a HEC-RAS geometry file to pick the one to import: one row a section
// ("River Reach RS", its point count and bank stations), the blocks that could not be read
// listed below with their reasons. OK (or a double click, or Enter) takes the selected row.
//
// Controls by object name: "fileName", "sectionList", "problems", "buttons".
class HecRasSectionPicker : public ProgramDialog {
    Q_OBJECT
public:
    explicit HecRasSectionPicker(QWidget* parent = nullptr);

    // Lists the sections of `geometry` (read from `fileName`), the first selected.
    void showGeometry(const HecRasGeometry& geometry, const QString& fileName, NumberFormat format);
    // The selected section, as an index into the geometry's sections; -1 when none is.
    int chosenSection() const;

private:
    QLabel* fileName_ = nullptr;
    QTreeWidget* sections_ = nullptr;
    QLabel* problems_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

} // namespace korvadel
