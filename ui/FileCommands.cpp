// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileCommands.h"

#include "components/desktop/TextCodec.h"
#include "io/CrossSectionFile.h"
#include "io/HecRasGeometry.h"
#include "io/SurveyPoints.h"
#include "model/Error.h"
#include "ui/HecRasSectionPicker.h"
#include "ui/SurveyImportDialog.h"
#include "ui/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QUndoStack>

namespace korvadel {

FileCommands::FileCommands(Workspace& workspace, QWidget& window)
    : QObject(&window), workspace_(workspace), window_(window) {
    openDialog.kind = FileDialogState::Kind::Open;
    openDialog.filter = filterText(inputFormat(InputFormat::CrossSection).dialogFilter);
    saveDialog.kind = FileDialogState::Kind::Save;
    saveDialog.filter = QStringLiteral("Korvadel File (*.kvd)|*.kvd");
    // A name typed without an extension becomes a cross-section file.
    saveDialog.defaultExtension = QStringLiteral("kvd");
    saveDialog.overwritePrompt = false;
    importDialog.kind = FileDialogState::Kind::Open;
}

bool FileCommands::settleUnsavedChanges() {
    if (!workspace_.isModified())
        return true;
    const QString name = QFileInfo(workspace_.fileName()).fileName();
    const QString text = QStringLiteral("Save changes to %1?")
                             .arg(name.isEmpty() ? QStringLiteral("the cross section") : name);
    switch (workspace_.seam().askToSave(&window_, text)) {
    case DesktopSeam::SaveAnswer::Save:
        return saveCrossSection();
    case DesktopSeam::SaveAnswer::Discard:
        return true;
    case DesktopSeam::SaveAnswer::Cancel:
        break;
    }
    return false;
}

void FileCommands::newCrossSection() {
    if (!settleUnsavedChanges())
        return;
    CrossSectionDocument& document = workspace_.document();
    workspace_.replaceDocument(QStringLiteral("New Cross Section"), Workspace::Replaces::Document,
                               [&document] { document.clearToNew(); });
    workspace_.noteRead({});
    workspace_.markNew();
}

void FileCommands::loadCrossSection() {
    if (!settleUnsavedChanges())
        return;
    if (!workspace_.seam().runFileDialog(&window_, openDialog))
        return;
    loadFile(openDialog.fileName);
}

void FileCommands::loadFile(const QString& fileName) {
    ReadSummary read;
    const QUndoStack& steps = workspace_.history().stack();
    const QUndoCommand* lastStep = steps.command(steps.index() - 1);
    try {
        workspace_.replaceDocument(QStringLiteral("Load Cross Section"),
                                   Workspace::Replaces::Document, [this, &fileName, &read] {
                                       read = korvadel::loadCrossSection(toFilePath(fileName),
                                                                         workspace_.document(),
                                                                         workspace_.format());
                                   });
    } catch (...) {
        // A load that stopped part-way leaves what it read, which is neither the file nor the
        // document that was there: it has no file of its own until it is saved.
        if (steps.command(steps.index() - 1) != lastStep)
            workspace_.markUnsaved();
        throw;
    }
    workspace_.noteRead(read);
    workspace_.markSaved(fileName);
}

bool FileCommands::chooseImportFile(const InputFormatInfo& input) {
    importDialog.fileName.clear();
    importDialog.filter = filterText(input.dialogFilter);
    importDialog.defaultExtension.clear();
    return workspace_.seam().runFileDialog(&window_, importDialog);
}

void FileCommands::importPoints(InputFormat format) {
    const InputFormatInfo& input = inputFormat(format);
    if (!chooseImportFile(input))
        return;
    importFile(input, importDialog.fileName);
}

void FileCommands::importHecRasGeometry() {
    if (chooseImportFile(inputFormat(InputFormat::HecRasGeometry)))
        importHecRasFile(importDialog.fileName);
}

void FileCommands::importHecRasFile(const QString& fileName) {
    const std::string path = toFilePath(fileName);
    const HecRasGeometry geometry = readHecRasGeometry(path);
    // A file without a readable cross section says why before any list comes up: the first
    // broken block, or that there is none at all.
    if (geometry.sections.empty()) {
        const std::size_t broken = geometry.problems.size();
        if (broken > 1)
            throw Error(geometry.problems.front().message + " (and " + std::to_string(broken - 1) +
                        (broken == 2 ? " more cross section" : " more cross sections") +
                        " that cannot be read)");
        chooseHecRasSection(geometry, {}, path);
    }
    HecRasSectionPicker picker(&window_);
    picker.showGeometry(geometry, fileName, workspace_.format());
    if (workspace_.seam().execModal(picker) != QDialog::Accepted)
        return;
    const int chosen = picker.chosenSection();
    if (chosen < 0)
        return;
    const HecRasCrossSection& section = geometry.sections[static_cast<std::size_t>(chosen)];
    ReadSummary read;
    workspace_.replaceDocument(
        QStringLiteral("Import Cross Section"), Workspace::Replaces::Document,
        [this, &section, &read] { read = loadHecRasSection(section, workspace_.document()); });
    workspace_.noteRead(read);
    if (!read.notes.empty()) {
        QStringList notes;
        for (const std::string& note : read.notes)
            notes << fromFileText(note);
        workspace_.seam().showMessage(&window_, DesktopSeam::MessageKind::Information,
                                      QStringLiteral("Korvadel"), notes.join(QLatin1Char('\n')));
    }
}

void FileCommands::importSurveyedPoints() {
    if (chooseImportFile(inputFormat(InputFormat::SurveyedPoints)))
        importSurveyFile(importDialog.fileName);
}

void FileCommands::importSurveyFile(const QString& fileName) {
    SurveyImportDialog dialog(workspace_.format(), &window_);
    dialog.showPoints(readSurveyPoints(toFilePath(fileName), workspace_.format()), fileName);
    if (workspace_.seam().execModal(dialog) != QDialog::Accepted || !dialog.projection())
        return;
    // The points as the dialog showed them, not the file read again.
    ReadSummary read;
    workspace_.replaceDocument(
        QStringLiteral("Import Points"), Workspace::Replaces::Points, [this, &dialog, &read] {
            read =
                loadSurveyProjection(dialog.points(), *dialog.projection(), workspace_.document());
        });
    workspace_.noteRead(read);
}

void FileCommands::importFile(const InputFormatInfo& input, const QString& fileName) {
    ReadSummary read;
    workspace_.replaceDocument(QStringLiteral("Import Points"), Workspace::Replaces::Points,
                               [this, &input, &fileName, &read] {
                                   read = input.read(toFilePath(fileName), workspace_.document(),
                                                     workspace_.format());
                               });
    workspace_.noteRead(read);
}

bool FileCommands::saveCrossSection() {
    // The document's own file is the name the dialog proposes.
    if (!workspace_.fileName().isEmpty())
        saveDialog.fileName = workspace_.fileName();
    if (!workspace_.seam().runFileDialog(&window_, saveDialog))
        return false;
    korvadel::saveCrossSection(toFilePath(saveDialog.fileName), workspace_.document(),
                               workspace_.format());
    workspace_.markSaved(saveDialog.fileName);
    return true;
}

void FileCommands::openFile(const QString& fileName) {
    const QFileInfo file(fileName);
    const InputFormatInfo& input = inputFormat(inputFormatForPath(toFilePath(file.fileName())));
    // As from the File menu: a load replaces the document and asks first, an import does not.
    if (input.format == InputFormat::CrossSection && !settleUnsavedChanges())
        return;
    QDir::setCurrent(file.absolutePath());
    if (input.format == InputFormat::CrossSection)
        loadFile(file.absoluteFilePath());
    else if (input.format == InputFormat::HecRasGeometry)
        importHecRasFile(file.absoluteFilePath()); // which cross section is the user's to say
    else
        importFile(input, file.absoluteFilePath());
}

} // namespace korvadel
