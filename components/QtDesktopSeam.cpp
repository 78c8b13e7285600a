#include "components/QtDesktopSeam.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace korvadel {

namespace {

// Boxes and dialogs of the program appear in the middle of the screen, whatever window asked.
void centreOnScreen(QWidget& w) {
    w.adjustSize();
    QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = w.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    w.move(frame.topLeft());
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
    centreOnScreen(box);
    box.exec();
}

bool QtDesktopSeam::confirm(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Ok);
    centreOnScreen(box);
    return box.exec() == QMessageBox::Ok;
}

int QtDesktopSeam::execModal(QDialog& dialog) {
    return dialog.exec();
}

} // namespace korvadel
