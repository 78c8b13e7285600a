// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/desktop/DesktopSeam.h"
#include "io/InputFormats.h"

#include <QObject>
#include <QString>

class QWidget;

namespace korvadel {

class Workspace;

// The main window's file commands, apart from the window: New, Load, the imports, Save,
// opening a file chosen outside the program, and the question that comes before unsaved work
// would be lost. Each works on the workspace (which announces what changed) through the desktop
// seam; errors propagate to the command runner that started the command.
//
// New, Load (also of a file opened from outside) and the end of the program first ask "Save
// changes to ...?" when, and only when, the document has unsaved changes: Save saves it (through
// the save dialog) and goes on, Discard goes on, Cancel stops the command with nothing changed.
class FileCommands : public QObject {
    Q_OBJECT
public:
    // Dialogs and boxes come up over `window`.
    FileCommands(Workspace& workspace, QWidget& window);

    void newCrossSection();
    void loadCrossSection();
    void importPoints(InputFormat format);
    // A cross section of a HEC-RAS geometry file, picked from the file's list: it becomes the
    // document's points and description (the settings stay), its n values and bank stations
    // kept with it (Workspace::readRoughness).
    void importHecRasGeometry();
    // Surveyed points laid onto a section line in the survey dialog: the points kept replace
    // the document's.
    void importSurveyedPoints();
    // True when the document was saved; false when the dialog was cancelled.
    bool saveCrossSection();
    // A file chosen outside the program (named on its command line, dropped on the window),
    // opened as the File menu opens one of its kind, chosen by its name as the command-line
    // companion chooses its reader: loaded as a cross-section file or imported, into the undo
    // history, with the same boxes; the working directory moves to its folder as after a
    // dialog. An ADCP file is imported without the import's warning: the user already chose it.
    void openFile(const QString& fileName);

    // The question before unsaved work is replaced or the program ends; true when the command
    // may go on (nothing unsaved, saved, or discarded), false for Cancel or a save dialog that
    // was cancelled.
    bool settleUnsavedChanges();

    // The dialogs these commands own: cross-section open, cross-section save, and the one
    // import dialog whose filter each import sets. They remember filter and name between uses.
    FileDialogState openDialog;
    FileDialogState saveDialog;
    FileDialogState importDialog;

private:
    void loadFile(const QString& fileName);
    void importFile(const InputFormatInfo& input, const QString& fileName);
    bool chooseImportFile(const InputFormatInfo& input);
    void importHecRasFile(const QString& fileName);
    void importSurveyFile(const QString& fileName);

    Workspace& workspace_;
    QWidget& window_;
};

} // namespace korvadel
