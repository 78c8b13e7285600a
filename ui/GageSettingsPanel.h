// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Workspace.h"

#include <QGroupBox>

#include <initializer_list>
#include <vector>

class QLineEdit;

namespace korvadel {

class IncrementSpinBox;

// The "Gage Height " group of the main window: Minimum, Maximum, Increment and Datum, each
// showing the workspace's setting and handing what is typed straight back to it. The texts are
// kept exactly as typed; a command converts them when it uses them.
class GageSettingsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit GageSettingsPanel(Workspace& workspace, QWidget* parent = nullptr);

    QWidget* field(GageField which) const;
    // Minimum, maximum, increment and datum, in the panel's order.
    std::vector<QWidget*> fields() const;

    // After a command stopped at a text that is not a number: the first field of `order` (the
    // order the command reads them in) whose text does not convert gets the focus with its
    // text selected, so the user can type the number over it. False when all of them convert.
    bool selectUnreadableField(std::initializer_list<GageField> order);

private:
    // Fields whose text is not the workspace's take it; `fromStart` puts every field's cursor
    // at its beginning, as for a freshly opened document.
    void showSettings(bool fromStart);

    Workspace& workspace_;
    QLineEdit* minimum_;
    QLineEdit* maximum_;
    IncrementSpinBox* increment_;
    QLineEdit* datum_;
};

} // namespace korvadel
