// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/desktop/CommandRunner.h"
#include "components/history/SectionHistory.h"
#include "io/ReadSummary.h"
#include "model/CommandSteps.h"
#include "model/CrossSectionDocument.h"
#include "model/NumberFormat.h"
#include "model/RatingGenerator.h"
#include "model/RatingTable.h"
#include "model/SectionPoints.h"
#include "model/TableNotifier.h"
#include "model/WaterLevelSweep.h"

#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace korvadel {

class DesktopSeam;
class PrinterAccess;
class RatingWorker;

// The gage-height settings a field shows, in the order of the main window's panel.
enum class GageField { Minimum, Maximum, Increment, Datum };

// Everything one run of the program works on: the cross-section document (with the gage-height
// settings of the run), its undo history, the rating, the water level of the animation, and the
// things every command needs (the desktop seam, the user's decimal separator, the command
// runner, the printers). The windows hold a reference to it and are views and command sources
// over it; none of them owns data another one reads.
//
// The document announces its changes: every setter below emits its signal when the value
// changes, whoever made the change, so fields, charts and derived windows listen instead of
// being kept in step by hand. Changes to the points come from the table itself (the grid edits
// it in place, the history and the readers replace its rows) and are passed on as
// pointsChanged(). Commands that replace the whole document go through replaceDocument(), which
// records the step in the history and announces the new document once.
//
// The document is modified when it differs from what was last saved, loaded or made new: the
// undo history away from its clean step, a description or a setting other than the saved one,
// or a point being typed. Undoing back to the saved state clears the mark.
class Workspace : public QObject {
    Q_OBJECT
public:
    Workspace(DesktopSeam& seam, NumberFormat format, QObject* parent = nullptr);
    ~Workspace() override;

    CrossSectionDocument& document() { return document_; }
    const CrossSectionDocument& document() const { return document_; }
    RatingTable& rating() { return rating_; }
    SectionHistory& history() { return history_; }
    WaterLevelSweep& waterLevel() { return waterLevel_; }
    CommandRunner& commands() { return commands_; }
    DesktopSeam& seam() const { return seam_; }
    NumberFormat format() const { return format_; }

    // The printers the print previews offer: the system's unless others were given.
    const PrinterAccess& printers() const;
    void setPrinters(const PrinterAccess* printers) { printers_ = printers; }

    // --- the document's fields, as the windows show them ---
    // The description as typed, characters the file's code page cannot hold included; the
    // document keeps it as the file will.
    QString descriptionText() const { return description_; }
    void setDescriptionText(const QString& text);
    // A gage-height text as typed (Minimum, Maximum, Datum); the increment as its number.
    QString settingText(GageField field) const;
    void setSettingText(GageField field, const QString& text);
    double increment() const { return document_.settings.increment(); }
    void setIncrement(double increment);
    // The settings the rating command reads.
    RatingBounds ratingBounds() const;

    // --- whole-document changes ---
    // Runs `change` as one step of the undo history (New, a load, an import) and then announces
    // what it did, also when it stops with an error part-way (the error propagates). A step
    // that replaces the document (`Replaces::Document`) announces documentReplaced(); one that
    // replaces the points leaves the description and settings alone.
    enum class Replaces { Document, Points };
    void replaceDocument(const QString& stepText, Replaces what,
                         const std::function<void()>& change);

    // The file the document was last loaded from or saved to; empty for a new one.
    QString fileName() const { return fileName_; }
    // The document now stands as in `fileName` (after a load or a save): not modified.
    void markSaved(const QString& fileName);
    // The document is a new one, not from any file: not modified.
    void markNew();
    // The document belongs to no file and has never been saved (what a load that stopped
    // part-way leaves): modified until it is saved.
    void markUnsaved();
    bool isModified() const { return modified_; }

    // --- the rating ---
    // Fills the rating from the document's points and returns when it is complete (the signals
    // below are emitted on the way). Errors propagate and leave the rating as it was; so does a
    // run that is cancelled, which returns normally.
    void createRating(RatingMode mode, const RatingBounds& bounds);
    // Asks a running rating to stop; it ends at its next block of stages.
    void cancelRating();
    bool ratingRunning() const { return runningRating_ != nullptr; }

    // The run that made the rating (ratingRowStages gives its rows' stages) and the section it
    // was made from. None before the first rating completes.
    struct RatingRun : korvadel::RatingRun {
        SectionPoints section;
        std::uint64_t sectionVersion = 0;
    };
    const std::optional<RatingRun>& ratingRun() const { return ratingRun_; }
    // The points now differ from those the rating was made from.
    bool ratingOutOfDate() const { return ratingOutOfDate_; }

    // The section as the windows show it now.
    SectionPoints currentSection() const { return sectionPoints(document_.points); }
    // Counts every change to the points; two equal counts mean the same points.
    std::uint64_t sectionVersion() const { return sectionVersion_; }
    // Whether the points now are `section` (cheap when `version` is still the current one).
    bool sectionIs(const SectionPoints& section, std::uint64_t version) const;

    // A load or an import has read the points now in the document.
    void noteRead(const ReadSummary& summary);
    // How many stations the file last read listed out of order, for as long as the points are
    // the ones it gave (an undo back to them counts again); 0 once they were changed.
    std::size_t unsortedStations() const;
    // The n values (where n changes across the section) and the bank stations the file last
    // read gave with its points (a HEC-RAS cross section), for as long as `section` is the
    // points it gave: they describe those points and no others. None otherwise.
    struct ReadRoughness {
        Subsections roughness;
        std::optional<double> leftBank;
        std::optional<double> rightBank;
    };
    std::optional<ReadRoughness> readRoughness(const SectionPoints& section) const;

signals:
    void descriptionChanged(const QString& text);
    // A gage-height setting (minimum, maximum, increment or datum).
    void settingsChanged();
    // Any change to the points: typed, deleted, undone, loaded or imported.
    void pointsChanged();
    // New, a load, or an undo or redo of either: description, settings and points are another
    // document's (each of their own signals follows this one).
    void documentReplaced();
    void modifiedChanged(bool modified);
    void fileNameChanged(const QString& fileName);
    void ratingOutOfDateChanged(bool outOfDate);

    void ratingProgressRange(int minimum, int maximum);
    void ratingProgress(int position);
    // The bounds were accepted and the run starts: the bounds prompt goes away.
    void ratingBoundsTaken();
    // The maximum stands above an end of the section; the run goes on when this returns, so
    // the warning is shown modally.
    void ratingEdgeWarning();
    // Just before the first stage is computed.
    void ratingComputing();
    // The run is over, complete, cancelled or failed.
    void ratingRunEnded();
    // The run completed: the rating holds the new rows.
    void ratingCreated();

private:
    void onPointsChanged();
    void onDocumentRestored();
    void fieldsFromDocument();
    void updateModified();
    void updateRatingOutOfDate();
    bool pointBeingTyped() const;
    static std::uint64_t fingerprint(const SectionPoints& section);

    DesktopSeam& seam_;
    NumberFormat format_;
    CommandRunner commands_;
    const PrinterAccess* printers_ = nullptr;
    CrossSectionDocument document_;
    RatingTable rating_;
    SectionHistory history_; // after the document: it follows the document's table
    WaterLevelSweep waterLevel_;
    TableSubscription pointsSubscription_;

    QString description_;
    QString minimum_;
    QString maximum_;
    QString datum_;

    // The description and the settings as last saved, loaded or made new.
    struct SavedFields {
        std::string description;
        GageSettings settings;
    };
    QString fileName_;
    SavedFields saved_;
    bool modified_ = false;

    std::optional<RatingRun> ratingRun_;
    bool ratingOutOfDate_ = false;
    RatingWorker* runningRating_ = nullptr;
    std::uint64_t sectionVersion_ = 0;

    // What the file last read said, and a fingerprint of the points it gave.
    std::size_t readUnsorted_ = 0;
    std::optional<ReadRoughness> readRoughness_;
    std::uint64_t readFingerprint_ = 0;
};

} // namespace korvadel
