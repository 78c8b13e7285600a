// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/QtDesktopSeam.h"

#include "components/desktop/ScreenPlacement.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

namespace korvadel {

namespace {

// A message box settles its size only while it is being shown, so it is centred again once
// its own event loop runs.
int execCentred(QMessageBox& box) {
    box.adjustSize();
    centreOnScreen(box);
    QTimer::singleShot(0, &box, [&box] { centreOnScreen(box); });
    return box.exec();
}

} // namespace

bool QtDesktopSeam::runFileDialog(QWidget* parent, FileDialogState& state) {
    QFileDialog dialog(parent);
    if (!state.title.isEmpty())
        dialog.setWindowTitle(state.title);
    const bool save = state.kind == FileDialogState::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // No starting folder is given: the dialog opens in the working directory.
    dialog.setDirectory(QDir::currentPath());
    QFileDialog::Options options;
    if (!(save && state.overwritePrompt))
        options |= QFileDialog::DontConfirmOverwrite;
    dialog.setOptions(options);

    const QStringList filters = qtNameFilters(state.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = state.filterIndex >= 1 && state.filterIndex <= filters.size()
                              ? state.filterIndex - 1
                              : 0;
        dialog.selectNameFilter(filters[index]);
    }
    if (!state.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(state.defaultExtension);
    if (!state.fileName.isEmpty())
        dialog.selectFile(QFileInfo(state.fileName).fileName());

    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;

    const QFileInfo info(chosen.first());
    state.fileName = QDir::toNativeSeparators(info.absoluteFilePath());
    const qsizetype selected = filters.indexOf(dialog.selectedNameFilter());
    if (selected >= 0)
        state.filterIndex = static_cast<int>(selected) + 1;
    QDir::setCurrent(info.absolutePath());
    return true;
}

void QtDesktopSeam::showMessage(QWidget* parent, MessageKind kind, const QString& caption,
                                const QString& text) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
    case MessageKind::Plain:
        icon = QMessageBox::NoIcon;
        break;
    case MessageKind::Error:
        icon = QMessageBox::Critical;
        break;
    case MessageKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageKind::Information:
        icon = QMessageBox::Information;
        break;
    }
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    execCentred(box);
}

bool QtDesktopSeam::confirm(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Ok);
    return execCentred(box) == QMessageBox::Ok;
}

DesktopSeam::SaveAnswer QtDesktopSeam::askToSave(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Korvadel"), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    // Reachable from the keyboard as well as by Enter (Save) and Escape (Cancel).
    box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    switch (execCentred(box)) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

int QtDesktopSeam::execModal(QDialog& dialog) {
    return dialog.exec();
}

} // namespace korvadel
