// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/widgets/FullTextToolTip.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace korvadel {

bool textFits(const QLineEdit& field) {
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.lineWidth = field.hasFrame() ? 1 : 0;
    const QRect area = field.style()->subElementRect(QStyle::SE_LineEditContents, &option, &field);
    const QMargins margins = field.textMargins();
    // A line edit keeps a couple of pixels free on each side of its text.
    constexpr int kInnerMargin = 2;
    const int room = area.width() - margins.left() - margins.right() - 2 * kInnerMargin;
    return field.fontMetrics().horizontalAdvance(field.text()) <= room;
}

void keepFullTextToolTip(QLineEdit& field) {
    const auto update = [&field] { field.setToolTip(textFits(field) ? QString() : field.text()); };
    QObject::connect(&field, &QLineEdit::textChanged, &field, update);
    update();
}

} // namespace korvadel
