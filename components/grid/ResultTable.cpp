// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/grid/ResultTable.h"

#include "components/desktop/CommandRunner.h"
#include "components/grid/ReadOnlyTableModel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>

#include <cmath>

namespace korvadel {

ResultTableView::ResultTableView(QWidget* parent)
    : QTableView(parent), model_(new ReadOnlyTableModel(this)) {
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

QString decimalsText(double value, int decimals, char decimalSeparator) {
    if (!std::isfinite(value))
        return QString::number(value);
    // A value that rounds to zero shows as zero, not as "-0.000".
    if (std::abs(value) < 0.5 * std::pow(10.0, -decimals))
        value = 0.0;
    QString text = QString::number(value, 'f', decimals);
    text.replace(QLatin1Char('.'), QLatin1Char(decimalSeparator));
    return text;
}

FootButtons addFootButtons(QWidget& window, CommandRunner& commands,
                           std::function<void()> exportTable) {
    FootButtons foot;
    foot.layout = new QHBoxLayout;
    foot.layout->addStretch(1);
    if (exportTable) {
        foot.exportButton = new QPushButton(QStringLiteral("&Export Table..."), &window);
        foot.exportButton->setObjectName(QStringLiteral("exportButton"));
        commands.route(foot.exportButton, std::move(exportTable));
        foot.layout->addWidget(foot.exportButton);
    }
    foot.closeButton = new QPushButton(QStringLiteral("&Close"), &window);
    foot.closeButton->setObjectName(QStringLiteral("closeButton"));
    foot.layout->addWidget(foot.closeButton);
    QObject::connect(foot.closeButton, &QPushButton::clicked, &window, &QWidget::close);

    auto* escape = new QAction(&window);
    escape->setObjectName(QStringLiteral("closeOnEscapeAction"));
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    escape->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(escape, &QAction::triggered, &window, &QWidget::close);
    window.addAction(escape);
    return foot;
}

} // namespace korvadel
