// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HecRasSectionPicker.h"

#include "components/desktop/TextCodec.h"
#include "io/HecRasGeometry.h"
#include "model/Numbers.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvadel {

namespace {

QString bankText(const std::optional<double>& bank, NumberFormat format) {
    return bank ? QString::fromStdString(formatGeneral(*bank, format)) : QString();
}

} // namespace

HecRasSectionPicker::HecRasSectionPicker(QWidget* parent)
    : ProgramDialog(QStringLiteral("hecRasSectionPicker"), QStringLiteral("HEC-RAS Cross Sections"),
                    kFixedFrame, parent) {
    auto* layout = new QVBoxLayout(this);
    fileName_ = new QLabel(this);
    fileName_->setObjectName(QStringLiteral("fileName"));
    layout->addWidget(fileName_);

    sections_ = new QTreeWidget(this);
    sections_->setObjectName(QStringLiteral("sectionList"));
    sections_->setRootIsDecorated(false);
    sections_->setUniformRowHeights(true);
    sections_->setAllColumnsShowFocus(true);
    sections_->setHeaderLabels({QStringLiteral("Cross section"), QStringLiteral("Points"),
                                QStringLiteral("Left bank"), QStringLiteral("Right bank")});
    sections_->header()->setStretchLastSection(false);
    sections_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < 4; ++column)
        sections_->headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(sections_, 1);

    problems_ = new QLabel(this);
    problems_->setObjectName(QStringLiteral("problems"));
    problems_->setWordWrap(true);
    problems_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(problems_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->setObjectName(QStringLiteral("buttons"));
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(sections_, &QTreeWidget::itemActivated, this, &QDialog::accept);
    connect(sections_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        buttons_->button(QDialogButtonBox::Ok)->setEnabled(item != nullptr);
    });
    resize(560, 380);
}

void HecRasSectionPicker::showGeometry(const HecRasGeometry& geometry, const QString& fileName,
                                       NumberFormat format) {
    fileName_->setText(QStringLiteral("Cross sections in %1:").arg(QFileInfo(fileName).fileName()));
    sections_->clear();
    QList<QTreeWidgetItem*> rows;
    for (const HecRasCrossSection& section : geometry.sections) {
        auto* row = new QTreeWidgetItem(
            {fromFileText(section.description()), QString::number(section.stations.size()),
             bankText(section.leftBank, format), bankText(section.rightBank, format)});
        for (int column = 1; column < 4; ++column)
            row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        rows.append(row);
    }
    sections_->addTopLevelItems(rows);
    for (int column = 1; column < 4; ++column)
        sections_->resizeColumnToContents(column);
    sections_->setCurrentItem(rows.isEmpty() ? nullptr : rows.first());
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!rows.isEmpty());

    // A file broken throughout would push the list off the screen: the first few say enough.
    constexpr std::size_t kProblemsShown = 12;
    QStringList problems;
    for (std::size_t i = 0; i < geometry.problems.size() && i < kProblemsShown; ++i)
        problems << fromFileText(geometry.problems[i].message);
    if (geometry.problems.size() > kProblemsShown)
        problems
            << QStringLiteral("... and %1 more.").arg(geometry.problems.size() - kProblemsShown);
    problems_->setText(problems.isEmpty()
                           ? QString()
                           : QStringLiteral("Not listed, as they could not be read:\n") +
                                 problems.join(QLatin1Char('\n')));
    problems_->setVisible(!problems.isEmpty());
    sections_->setFocus(Qt::OtherFocusReason);
}

int HecRasSectionPicker::chosenSection() const {
    QTreeWidgetItem* item = sections_->currentItem();
    return item ? sections_->indexOfTopLevelItem(item) : -1;
}

} // namespace korvadel
