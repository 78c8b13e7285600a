// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace korvadel {

// A line across a window that says what is wrong with what the window shows (the section has
// changed since, an input was refused), in the program's warning colours; hidden while it has
// nothing to say.
class NoticeLine : public QLabel {
    Q_OBJECT
public:
    explicit NoticeLine(QWidget* parent = nullptr);

    // Shows `text`, or hides the line when it is empty.
    void setNotice(const QString& text);
};

} // namespace korvadel
