// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SectionCheckWindow.h"

#include "components/desktop/ScreenPlacement.h"
#include "model/CommandSteps.h"
#include "model/Numbers.h"
#include "ui/Workspace.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvadel {

namespace {

constexpr int kStationRole = Qt::UserRole;

QString fromAscii(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString countText(std::size_t count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

SectionCheckWindow::SectionCheckWindow(Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window), workspace_(workspace) {
    setObjectName(QStringLiteral("sectionCheckWindow"));
    setWindowTitle(QStringLiteral("Section Check"));

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);

    findingList = new QTreeWidget(this);
    findingList->setObjectName(QStringLiteral("findingList"));
    findingList->setRootIsDecorated(false);
    findingList->setUniformRowHeights(true);
    findingList->setWordWrap(false);
    findingList->setHeaderLabels({QStringLiteral("Severity"), QStringLiteral("Code"),
                                  QStringLiteral("Station"), QStringLiteral("Message")});
    findingList->header()->setStretchLastSection(true);

    closeButton = new QPushButton(QStringLiteral("&Close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(findingList, 1);
    layout->addLayout(buttons);
    resize(860, 320);

    auto choose = [this](QTreeWidgetItem* item) {
        if (item && item->data(2, kStationRole).isValid())
            emit pointRequested(item->data(2, kStationRole).toDouble());
    };
    connect(findingList, &QTreeWidget::currentItemChanged, this,
            [choose](QTreeWidgetItem* item) { choose(item); });
    // Clicking the chosen row again goes back to its point after the grid moved elsewhere.
    connect(findingList, &QTreeWidget::itemClicked, this,
            [choose](QTreeWidgetItem* item) { choose(item); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

void SectionCheckWindow::runCheck() {
    const CrossSectionDocument& document = workspace_.document();
    findings_ = checkPoints(document.points, ratingBounds(document.settings),
                            workspace_.unsortedStations(), workspace_.format());
    showFindings();
    if (!isVisible())
        centreForShowing(*this);
    show();
    raise();
    activateWindow();
}

void SectionCheckWindow::showFindings() {
    const NumberFormat format = workspace_.format();
    std::size_t warnings = 0;
    findingList->clear();
    QList<QTreeWidgetItem*> rows;
    for (const Finding& finding : findings_) {
        auto* row = new QTreeWidgetItem;
        const bool warning = finding.severity == Severity::Warning;
        warnings += warning ? 1 : 0;
        row->setText(0, fromAscii(severityName(finding.severity)));
        row->setIcon(0, style()->standardIcon(warning ? QStyle::SP_MessageBoxWarning
                                                      : QStyle::SP_MessageBoxInformation));
        row->setText(1, fromAscii(findingCodeName(finding.code)));
        if (finding.station) {
            row->setText(2, QString::fromStdString(formatGeneral(*finding.station, format)));
            row->setData(2, kStationRole, *finding.station);
            row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        }
        row->setText(3, QString::fromUtf8(finding.message));
        row->setToolTip(3, row->text(3));
        rows.append(row);
    }
    findingList->addTopLevelItems(rows);
    for (int column = 0; column < 3; ++column)
        findingList->resizeColumnToContents(column);

    const std::size_t infos = findings_.size() - warnings;
    if (findings_.empty())
        summary->setText(
            QStringLiteral("No findings: nothing to know before rating this section."));
    else
        summary->setText(QStringLiteral("%1 and %2 for the section and the gage-height settings "
                                        "as they were when checked. A row with a station "
                                        "selects its point in the grid.")
                             .arg(countText(warnings, "warning", "warnings"),
                                  countText(infos, "info", "infos")));
}

} // namespace korvadel
