// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The parts the analysis windows are made of: a read-only table of results, and the row of
// buttons at the window's foot with Escape closing the window as "&Close" does.
//
//   auto* table = new ResultTableView(this);      // table->results().setTable(...)
//   FootButtons foot = addFootButtons(*this, commands, [this] { exportTable(); });
//   layout->addLayout(foot.layout);               // "&Export Table..."  "&Close"

#include <QTableView>

#include <functional>

#include <QString>

class QHBoxLayout;
class QPushButton;

namespace korvadel {

class CommandRunner;
class ReadOnlyTableModel;

// Whole rows selected, no row numbers, rows as high as the text: over a model of its own.
class ResultTableView : public QTableView {
    Q_OBJECT
public:
    explicit ResultTableView(QWidget* parent = nullptr);
    ReadOnlyTableModel& results() const { return *model_; }

private:
    ReadOnlyTableModel* model_;
};

// A number for a table on screen: `decimals` places, the user's decimal separator; NaN and
// infinities shown as such. Files keep full precision; this is for reading at a glance.
QString decimalsText(double value, int decimals, char decimalSeparator);

struct FootButtons {
    QHBoxLayout* layout = nullptr;
    QPushButton* exportButton = nullptr; // none without an export command
    QPushButton* closeButton = nullptr;
};

// "&Export Table..." (when `exportTable` is given, run through the command runner) and
// "&Close", right-aligned; "&Close" and Escape close `window`.
FootButtons addFootButtons(QWidget& window, CommandRunner& commands,
                           std::function<void()> exportTable = {});

} // namespace korvadel
