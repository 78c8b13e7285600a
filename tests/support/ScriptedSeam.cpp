// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/ScriptedSeam.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>

namespace korvadel {

void ScriptedSeam::chooseFile(const QString& path, int filterIndex) {
    fileAnswers_.push_back({true, path, filterIndex});
}

void ScriptedSeam::cancelFileDialog() {
    fileAnswers_.push_back({false, {}, 0});
}

void ScriptedSeam::answerConfirm(bool ok) {
    confirmAnswers_.push_back(ok);
}

void ScriptedSeam::answerSave(SaveAnswer answer) {
    saveAnswers_.push_back(answer);
}

void ScriptedSeam::onModal(std::function<void(QDialog&)> action) {
    modalActions_.push_back(std::move(action));
}

void ScriptedSeam::clearRecords() {
    messages.clear();
    confirmations.clear();
    saveQuestions.clear();
    fileDialogs.clear();
    modals.clear();
    unscripted = 0;
}

bool ScriptedSeam::runFileDialog(QWidget*, FileDialogState& state) {
    fileDialogs.append(state);
    if (fileAnswers_.empty()) {
        ++unscripted;
        return false;
    }
    const FileAnswer answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    if (!answer.accept)
        return false;

    QString path = QDir::current().absoluteFilePath(answer.path);
    if (!state.defaultExtension.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + state.defaultExtension;
    const QFileInfo info(path);
    state.fileName = QDir::toNativeSeparators(info.absoluteFilePath());
    if (answer.filterIndex > 0)
        state.filterIndex = answer.filterIndex;
    QDir::setCurrent(info.absolutePath());
    return true;
}

void ScriptedSeam::showMessage(QWidget*, MessageKind kind, const QString& caption,
                               const QString& text) {
    messages.append({kind, caption, text});
}

bool ScriptedSeam::confirm(QWidget*, const QString& caption, const QString& text) {
    confirmations.append({MessageKind::Plain, caption, text});
    if (confirmAnswers_.empty()) {
        ++unscripted;
        return false;
    }
    const bool ok = confirmAnswers_.front();
    confirmAnswers_.pop_front();
    return ok;
}

DesktopSeam::SaveAnswer ScriptedSeam::askToSave(QWidget*, const QString& text) {
    saveQuestions.append(text);
    if (saveAnswers_.empty()) {
        ++unscripted;
        return SaveAnswer::Cancel;
    }
    const SaveAnswer answer = saveAnswers_.front();
    saveAnswers_.pop_front();
    return answer;
}

int ScriptedSeam::execModal(QDialog& dialog) {
    // The window is really shown while the action runs, so the action sees it as the user
    // would (geometry, focus, visible children); it is hidden again afterwards as exec() would.
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (!modalActions_.empty()) {
        auto action = std::move(modalActions_.front());
        modalActions_.pop_front();
        action(dialog);
    }
    dialog.hide();
    const int result = dialog.result();
    modals.append({dialog.objectName(), dialog.windowTitle(), result});
    return result;
}

} // namespace korvadel
