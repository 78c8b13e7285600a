// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/widgets/NoticeLine.h"

#include "components/chart/Palette.h"

namespace korvadel {

NoticeLine::NoticeLine(QWidget* parent) : QLabel(parent) {
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setMargin(4);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, palette::kNoticeText);
    colours.setColor(QPalette::Window, palette::kNoticeBackground);
    setPalette(colours);
    hide();
}

void NoticeLine::setNotice(const QString& text) {
    setText(text);
    setVisible(!text.isEmpty());
}

} // namespace korvadel
