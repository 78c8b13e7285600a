// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A desktop seam for UI tests: answers come from queues filled by the test, and everything the
// program shows is recorded.
//
//   ScriptedSeam seam;
//   seam.chooseFile("/tmp/x/section");     // next file dialog accepts this path
//   seam.cancelFileDialog();               // the one after that is cancelled
//   seam.answerConfirm(false);             // next confirmation answered Cancel
//   seam.answerSave(SaveAnswer::Discard);  // next "Save changes to ...?" answered Discard
//   seam.onModal([](QDialog& d) { ... });  // acts on the next modal window while it is shown
//   ... drive the program ...
//   seam.messages, seam.confirmations, seam.fileDialogs, seam.modals   // what was shown
//
// An accepted file dialog behaves like the real one: a relative path is taken from the working
// directory, the default extension is added to a name without one, state.fileName and
// state.filterIndex are updated and the working directory moves to the file's folder.
// Calls with nothing queued are counted in `unscripted` and answered Cancel.

#include "components/desktop/DesktopSeam.h"

#include <QList>
#include <QString>

#include <deque>
#include <functional>

namespace korvadel {

class ScriptedSeam : public DesktopSeam {
public:
    struct Message {
        MessageKind kind;
        QString caption;
        QString text;
    };
    struct Modal {
        QString objectName;
        QString title;
        int result;
    };

    // filterIndex 0 keeps the index the dialog was shown with.
    void chooseFile(const QString& path, int filterIndex = 0);
    void cancelFileDialog();
    void answerConfirm(bool ok);
    void answerSave(SaveAnswer answer);
    void onModal(std::function<void(QDialog&)> action);

    bool runFileDialog(QWidget* parent, FileDialogState& state) override;
    void showMessage(QWidget* parent, MessageKind kind, const QString& caption,
                     const QString& text) override;
    bool confirm(QWidget* parent, const QString& caption, const QString& text) override;
    SaveAnswer askToSave(QWidget* parent, const QString& text) override;
    int execModal(QDialog& dialog) override;

    // What was shown, in order. fileDialogs holds each dialog's state as it was shown.
    QList<Message> messages;
    QList<Message> confirmations;
    QStringList saveQuestions;
    QList<FileDialogState> fileDialogs;
    QList<Modal> modals;
    int unscripted = 0;

    void clearRecords();

private:
    struct FileAnswer {
        bool accept;
        QString path;
        int filterIndex;
    };
    std::deque<FileAnswer> fileAnswers_;
    std::deque<bool> confirmAnswers_;
    std::deque<SaveAnswer> saveAnswers_;
    std::deque<std::function<void(QDialog&)>> modalActions_;
};

} // namespace korvadel
