// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SectionCheckWindow.h"

#include "components/desktop/ScreenPlacement.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/ResultTable.h"
#include "components/widgets/NoticeLine.h"
#include "model/CommandSteps.h"
#include "model/Numbers.h"
#include "ui/Workspace.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTimer>
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

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setWordWrap(true);
    outOfDate_ = new NoticeLine(this);
    outOfDate_->setObjectName(QStringLiteral("outOfDate"));

    findingList_ = new QTreeWidget(this);
    findingList_->setObjectName(QStringLiteral("findingList"));
    findingList_->setRootIsDecorated(false);
    findingList_->setUniformRowHeights(true);
    findingList_->setWordWrap(false);
    findingList_->setHeaderLabels({QStringLiteral("Severity"), QStringLiteral("Code"),
                                   QStringLiteral("Station"), QStringLiteral("Message")});
    findingList_->header()->setStretchLastSection(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(outOfDate_);
    layout->addWidget(findingList_, 1);
    layout->addLayout(addFootButtons(*this, workspace_.commands()).layout);
    resize(860, 320);

    auto choose = [this](QTreeWidgetItem* item) {
        if (item && item->data(2, kStationRole).isValid())
            emit pointRequested(item->data(2, kStationRole).toDouble());
    };
    connect(findingList_, &QTreeWidget::currentItemChanged, this,
            [choose](QTreeWidgetItem* item) { choose(item); });
    // Clicking the chosen row again goes back to its point after the grid moved elsewhere.
    connect(findingList_, &QTreeWidget::itemClicked, this,
            [choose](QTreeWidgetItem* item) { choose(item); });

    // A burst of changes (a load, typing) is checked once, from the event loop.
    followTimer_ = new QTimer(this);
    followTimer_->setSingleShot(true);
    followTimer_->setInterval(0);
    connect(followTimer_, &QTimer::timeout, this, [this] {
        try {
            check();
            outOfDate_->setNotice(QString());
        } catch (const std::exception& error) {
            outOfDate_->setNotice(
                QStringLiteral("The list is of the section as it was last checked: %1")
                    .arg(messageText(error)));
        }
    });
    for (auto signal : {&Workspace::pointsChanged, &Workspace::settingsChanged})
        connect(&workspace_, signal, this, &SectionCheckWindow::scheduleCheck);
}

void SectionCheckWindow::scheduleCheck() {
    if (isVisible())
        followTimer_->start();
}

void SectionCheckWindow::runCheck() {
    check();
    outOfDate_->setNotice(QString());
    presentWindow(*this);
}

void SectionCheckWindow::check() {
    const CrossSectionDocument& document = workspace_.document();
    findings_ = checkPoints(document.points, ratingBounds(document.settings),
                            workspace_.unsortedStations(), workspace_.format());
    showFindings();
}

void SectionCheckWindow::showFindings() {
    const NumberFormat format = workspace_.format();
    std::size_t warnings = 0;
    // The row the user was on stays chosen when it is still there.
    const QTreeWidgetItem* current = findingList_->currentItem();
    const QString currentKey =
        current ? current->text(1) + QLatin1Char('|') + current->text(2) : QString();
    const QSignalBlocker quiet(findingList_);
    findingList_->clear();
    QList<QTreeWidgetItem*> rows;
    QTreeWidgetItem* again = nullptr;
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
        if (!again && row->text(1) + QLatin1Char('|') + row->text(2) == currentKey)
            again = row;
        rows.append(row);
    }
    findingList_->addTopLevelItems(rows);
    if (again)
        findingList_->setCurrentItem(again);
    for (int column = 0; column < 3; ++column)
        findingList_->resizeColumnToContents(column);

    const std::size_t infos = findings_.size() - warnings;
    if (findings_.empty())
        summary_->setText(
            QStringLiteral("No findings: nothing to know before rating this section."));
    else
        summary_->setText(QStringLiteral("%1 and %2 for the section and its gage-height "
                                         "settings. A row with a station selects its point in "
                                         "the grid.")
                              .arg(countText(warnings, "warning", "warnings"),
                                   countText(infos, "info", "infos")));
}

} // namespace korvadel
