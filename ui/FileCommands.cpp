// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileCommands.h"

#include "components/desktop/TextCodec.h"
#include "io/CrossSectionFile.h"
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

void FileCommands::importPoints(InputFormat format) {
    const InputFormatInfo& input = inputFormat(format);
    importDialog.fileName.clear();
    importDialog.filter = filterText(input.dialogFilter);
    importDialog.defaultExtension.clear();
    if (!workspace_.seam().runFileDialog(&window_, importDialog))
        return;
    importFile(input, importDialog.fileName);
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
    else
        importFile(input, file.absoluteFilePath());
}

} // namespace korvadel
