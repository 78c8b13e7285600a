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
#include "model/WaterLevelSweep.h"

#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace korvadel {

class DesktopSeam;
class PrinterAccess;

// Everything one run of the program works on: the cross-section document (with the gage-height
// settings of the run), its undo history, the rating, the water level of the animation, and the
// things every command needs (the desktop seam, the user's decimal separator, the command
// runner, the printers). The windows hold a reference to it and are views and command sources
// over it; none of them owns data another one reads.
//
// A rating run tells the program how it goes through the signals below, each emitted on the
// calling thread while the run is in progress: the program connects the progress dialog, the
// edge warning and the bounds prompt to them, the rating window shows the result.
class Workspace : public QObject {
    Q_OBJECT
public:
    Workspace(DesktopSeam& seam, NumberFormat format, QObject* parent = nullptr);

    CrossSectionDocument& document() { return document_; }
    RatingTable& rating() { return rating_; }
    SectionHistory& history() { return history_; }
    WaterLevelSweep& waterLevel() { return waterLevel_; }
    CommandRunner& commands() { return commands_; }
    DesktopSeam& seam() const { return seam_; }
    NumberFormat format() const { return format_; }

    // The printers the print previews offer: the system's unless others were given.
    const PrinterAccess& printers() const;
    void setPrinters(const PrinterAccess* printers) { printers_ = printers; }

    // The description as the main window's field shows it, characters the file's code page
    // cannot hold included; the document keeps it as the file will.
    QString descriptionText() const { return descriptionText_; }
    void setDescriptionText(const QString& text) { descriptionText_ = text; }

    // Fills the rating from the document's points and returns when it is complete (the signals
    // below are emitted on the way). Errors propagate; the rating is then empty.
    void createRating(RatingMode mode, const RatingBounds& bounds);

    // The run that made the rating (ratingRowStages gives its rows' stages). None before the
    // first rating completes.
    using RatingRun = korvadel::RatingRun;
    const std::optional<RatingRun>& ratingRun() const { return ratingRun_; }

    // A load or an import has read the points now in the document.
    void noteRead(const ReadSummary& summary);
    // How many stations the file last read listed out of order, for as long as the points are
    // the ones it gave (an undo back to them counts again); 0 once they were changed.
    std::size_t unsortedStations() const;

signals:
    void ratingProgressRange(int minimum, int maximum);
    void ratingProgress(int position);
    // The bounds were accepted and the run starts: the bounds prompt goes away.
    void ratingBoundsTaken();
    // The maximum stands above an end of the section; the run goes on when this returns, so
    // the warning is shown modally.
    void ratingEdgeWarning();
    // Just before the first stage is computed.
    void ratingComputing();
    // The run is over, complete or not.
    void ratingRunEnded();
    // The run completed: the rating holds the new rows.
    void ratingCreated();

private:
    friend class SignallingObserver;
    std::uint64_t pointsFingerprint() const;

    DesktopSeam& seam_;
    NumberFormat format_;
    CommandRunner commands_;
    const PrinterAccess* printers_ = nullptr;
    CrossSectionDocument document_;
    RatingTable rating_;
    SectionHistory history_; // after the document: it follows the document's table
    WaterLevelSweep waterLevel_;
    QString descriptionText_;
    std::optional<RatingRun> ratingRun_;
    std::size_t readUnsorted_ = 0;
    std::uint64_t readFingerprint_ = 0;
};

} // namespace korvadel
