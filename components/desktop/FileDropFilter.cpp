// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/FileDropFilter.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace korvadel {

namespace {

// The one local file a drag carries; empty for several, none or a remote one.
QString draggedFile(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile())
        return {};
    return urls.constFirst().toLocalFile();
}

} // namespace

FileDropFilter::FileDropFilter(QWidget& window) : QObject(&window), window_(window) {
    window_.setAcceptDrops(true);
    window_.installEventFilter(this);
    for (QWidget* child : window_.findChildren<QWidget*>())
        if (child->acceptDrops())
            child->installEventFilter(this);
}

void FileDropFilter::detach() {
    window_.removeEventFilter(this);
    for (QWidget* child : window_.findChildren<QWidget*>())
        child->removeEventFilter(this);
}

bool FileDropFilter::takeDrag(QDropEvent* event) {
    if (!event->mimeData()->hasUrls())
        return false;
    // A move would have the file manager delete the file once it is dropped.
    const Qt::DropActions actions = event->possibleActions();
    const Qt::DropAction action = actions.testFlag(Qt::CopyAction)   ? Qt::CopyAction
                                  : actions.testFlag(Qt::LinkAction) ? Qt::LinkAction
                                                                     : Qt::IgnoreAction;
    if (action == Qt::IgnoreAction || draggedFile(event->mimeData()).isEmpty()) {
        event->ignore();
        return true;
    }
    event->setDropAction(action);
    event->accept();
    return true;
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        return takeDrag(static_cast<QDropEvent*>(event));
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!takeDrag(drop))
            return false;
        if (drop->isAccepted()) {
            QTimer::singleShot(0, this, [this, fileName = draggedFile(drop->mimeData())] {
                emit fileDropped(fileName);
            });
        }
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace korvadel
