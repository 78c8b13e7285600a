// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/desktop/ErrorSink.h"

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace korvadel {

// State of one file dialog of the program, kept by the window that owns it between showings:
// the program's dialogs remember the filter entry and the file name last chosen in them.
struct FileDialogState {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    // Filter in the program's own "Description|patterns|Description|patterns" form,
    // e.g. "Korvadel File (*.kvd)|*.kvd|All Files (*.*)|*.*".
    QString filter;
    int filterIndex = 1;          // 1-based entry selected when shown; updated on accept
    QString defaultExtension;     // added to a typed name without extension ("" = none)
    QString fileName;             // proposed name; the chosen full path after accept
    bool overwritePrompt = false; // Save: ask before replacing an existing file
    QString title;                // empty: the platform's default title
};

// Every interaction that needs a person goes through here: the real implementation uses Qt's
// dialogs and message boxes, the UI tests install a scripted one. Windows receive the seam at
// construction; there is no global instance.
//
// It is also where failures end up (ErrorSink): a file that cannot be opened for reading shows
// the warning box (caption "Warning"), any other failure the program's error box, its text as
// messageText gives it.
class DesktopSeam : public ErrorSink {
public:
    enum class MessageKind { Plain, Error, Warning, Information };

    virtual ~DesktopSeam() = default;

    void reportError(QWidget* over, const std::exception& error) override;

    // Shows the dialog; on accept updates state.fileName (full path) and state.filterIndex,
    // moves the process's working directory to the chosen file's folder and returns true.
    virtual bool runFileDialog(QWidget* parent, FileDialogState& state) = 0;

    // Modal box with one OK button.
    virtual void showMessage(QWidget* parent, MessageKind kind, const QString& caption,
                             const QString& text) = 0;

    // Modal question with OK and Cancel; true for OK.
    virtual bool confirm(QWidget* parent, const QString& caption, const QString& text) = 0;

    // Shows a window of the program modally and returns when it is closed.
    virtual int execModal(QDialog& dialog) = 0;

    // The program's error box: caption "Korvadel", error icon, the message with "." appended
    // when its last character sorts after "." in character code.
    void showError(QWidget* parent, const QString& message);
    // Plain box (no icon) captioned "Korvadel".
    void showPlain(QWidget* parent, const QString& message);

    static QString errorBoxText(const QString& message);
    // "A|a|B|b" -> Qt name filters "A (a)", "B (b)" with the patterns split on ';', each
    // pattern in both cases ("*.CSV" -> "*.csv *.CSV") so that names in either case are shown.
    static QStringList qtNameFilters(const QString& filter);
};

} // namespace korvadel
