// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QDropEvent;
class QWidget;

namespace korvadel {

// Takes a single local file dragged from a file manager anywhere over a window, its fields
// included (which would otherwise take the file's address as text); a drag of anything else
// with addresses (several files, a remote one) is refused there. Text and other drags go on to
// the field under them as usual.
//
// The file is handed on by fileDropped() once the drop is over, from the event loop: a box
// shown inside the drop would hold the file manager's drag until it is answered.
class FileDropFilter : public QObject {
    Q_OBJECT
public:
    // Watches `window` and every child of it that takes drops.
    explicit FileDropFilter(QWidget& window);
    // Stops watching (the window's own teardown must not reach a half-destroyed owner).
    void detach();

signals:
    void fileDropped(const QString& fileName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the drag is one of addresses (taken over from the field under it); accepts or
    // refuses it.
    bool takeDrag(QDropEvent* event);

    QWidget& window_;
};

} // namespace korvadel
