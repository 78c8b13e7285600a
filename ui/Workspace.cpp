// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Workspace.h"

#include "components/desktop/PrinterAccess.h"
#include "components/desktop/TextCodec.h"
#include "model/Numbers.h"
#include "model/SectionPoints.h"
#include "ui/RatingWorker.h"

#include <QScopedValueRollback>
#include <QUndoStack>

#include <cstring>

namespace korvadel {

Workspace::Workspace(DesktopSeam& seam, NumberFormat format, QObject* parent)
    : QObject(parent), seam_(seam), format_(format), commands_(seam), history_(document_) {
    pointsSubscription_ = document_.points.subscribe(
        PointTable::viewsOnly([this](const TableChange&) { onPointsChanged(); }));
    connect(&history_, &SectionHistory::documentRestored, this, &Workspace::onDocumentRestored);
    connect(&history_.stack(), &QUndoStack::cleanChanged, this, &Workspace::updateModified);
    fieldsFromDocument();
    saved_ = {document_.description, document_.settings};
}

Workspace::~Workspace() {
    // The history's undo stack clears itself as it is destroyed, after the history around it,
    // and says so: the workspace must not hear of it and look into the half-destroyed history.
    disconnect(&history_.stack(), nullptr, this, nullptr);
}

const PrinterAccess& Workspace::printers() const {
    return printers_ ? *printers_ : systemPrinters();
}

// ---- fields ---------------------------------------------------------------------------------

void Workspace::setDescriptionText(const QString& text) {
    if (text == description_)
        return;
    description_ = text;
    document_.description = toFileText(text);
    emit descriptionChanged(text);
    updateModified();
}

QString Workspace::settingText(GageField field) const {
    switch (field) {
    case GageField::Minimum:
        return minimum_;
    case GageField::Maximum:
        return maximum_;
    case GageField::Datum:
        return datum_;
    case GageField::Increment:
        break;
    }
    return QString::fromStdString(formatGeneral(increment(), format_));
}

void Workspace::setSettingText(GageField field, const QString& text) {
    QString* shown = nullptr;
    std::string* stored = nullptr;
    GageSettings& settings = document_.settings;
    switch (field) {
    case GageField::Minimum:
        shown = &minimum_;
        stored = &settings.minimum;
        break;
    case GageField::Maximum:
        shown = &maximum_;
        stored = &settings.maximum;
        break;
    case GageField::Datum:
        shown = &datum_;
        stored = &settings.datum;
        break;
    case GageField::Increment:
        setIncrement(GageSettings::incrementFromText(toFileText(text), format_));
        return;
    }
    if (*shown == text)
        return;
    *shown = text;
    *stored = toFileText(text);
    emit settingsChanged();
    updateModified();
}

void Workspace::setIncrement(double increment) {
    const double before = document_.settings.increment();
    document_.settings.setIncrement(increment);
    if (document_.settings.increment() == before)
        return;
    emit settingsChanged();
    updateModified();
}

RatingBounds Workspace::ratingBounds() const {
    return korvadel::ratingBounds(document_.settings);
}

void Workspace::fieldsFromDocument() {
    description_ = fromFileText(document_.description);
    minimum_ = fromFileText(document_.settings.minimum);
    maximum_ = fromFileText(document_.settings.maximum);
    datum_ = fromFileText(document_.settings.datum);
}

// ---- whole-document changes -----------------------------------------------------------------

void Workspace::replaceDocument(const QString& stepText, Replaces what,
                                const std::function<void()>& change) {
    struct Announce {
        Workspace& workspace;
        Replaces what;
        // Whatever the change managed before an error is the document now, and is shown.
        ~Announce() {
            if (what == Replaces::Document)
                workspace.onDocumentRestored();
            else
                workspace.updateModified();
        }
    } announce{*this, what};
    history_.recordDocumentChange(stepText, change);
}

void Workspace::onDocumentRestored() {
    fieldsFromDocument();
    emit documentReplaced();
    emit descriptionChanged(description_);
    emit settingsChanged();
    updateModified();
}

void Workspace::onPointsChanged() {
    ++sectionVersion_;
    emit pointsChanged();
    updateRatingOutOfDate();
    updateModified();
}

void Workspace::markSaved(const QString& fileName) {
    saved_ = {document_.description, document_.settings};
    history_.stack().setClean();
    if (fileName != fileName_) {
        fileName_ = fileName;
        emit fileNameChanged(fileName_);
    }
    updateModified();
}

void Workspace::markNew() {
    markSaved(QString());
}

void Workspace::markUnsaved() {
    markNew();
    history_.stack().resetClean();
}

bool Workspace::pointBeingTyped() const {
    const PointTable& points = document_.points;
    if (points.state() == PointTable::State::Browsing)
        return false;
    if (points.state() == PointTable::State::Editing)
        return true;
    // A blank new row is dropped when the cursor leaves it; only a value typed into it counts.
    const auto row = static_cast<std::size_t>(points.editRow());
    return points.hasStation(row) || points.hasElevation(row);
}

void Workspace::updateModified() {
    const GageSettings& now = document_.settings;
    const GageSettings& saved = saved_.settings;
    const bool modified = !history_.stack().isClean() || pointBeingTyped() ||
                          document_.description != saved_.description ||
                          now.minimum != saved.minimum || now.maximum != saved.maximum ||
                          now.datum != saved.datum || now.increment() != saved.increment();
    if (modified == modified_)
        return;
    modified_ = modified;
    emit modifiedChanged(modified_);
}

// ---- the rating -----------------------------------------------------------------------------

void Workspace::createRating(RatingMode mode, const RatingBounds& bounds) {
    if (runningRating_)
        return;
    RatingWorker worker(document_.points, mode, bounds, format_);
    connect(&worker, &RatingWorker::progressRange, this, &Workspace::ratingProgressRange);
    connect(&worker, &RatingWorker::progress, this, &Workspace::ratingProgress);
    connect(&worker, &RatingWorker::boundsTaken, this, &Workspace::ratingBoundsTaken);
    connect(&worker, &RatingWorker::edgeWarning, this, &Workspace::ratingEdgeWarning);
    connect(&worker, &RatingWorker::computing, this, &Workspace::ratingComputing);
    struct Ended {
        Workspace& workspace;
        ~Ended() {
            workspace.runningRating_ = nullptr;
            emit workspace.ratingRunEnded();
        }
    };
    std::exception_ptr error;
    {
        runningRating_ = &worker;
        const Ended ended{*this};
        try {
            worker.run();
        } catch (const RatingCancelled&) {
            // The user stopped it: nothing to report, nothing changed.
            return;
        } catch (...) {
            error = std::current_exception();
        }
    }

    // The run settled the row being typed in its copy of the points; the section takes the
    // same step, so the row is committed (or, without a station, the grid goes to its cell),
    // and a run that completed leaves the table's cursor where the command does. The views
    // hear of it once, as of a run over the table itself, and show the cursor there.
    PointTable& points = document_.points;
    const PointTable& walked = worker.points();
    {
        ViewSuspension<PointTable> pointViews(points);
        if (points.state() != PointTable::State::Browsing &&
            (walked.state() == PointTable::State::Browsing || worker.stationMissing())) {
            try {
                points.settle();
            } catch (const Error&) {
                if (!error)
                    throw;
            }
        }
        if (!error && walked.currentIndex() >= 0 &&
            static_cast<std::size_t>(walked.currentIndex()) < points.rowCount()) {
            points.moveTo(static_cast<std::size_t>(walked.currentIndex()));
            if (walked.atEnd())
                points.next();
        }
    }
    if (error) {
        // A run that stops after it has begun leaves no rating behind.
        if (worker.cleared()) {
            ratingRun_.reset();
            updateRatingOutOfDate();
            ViewSuspension<RatingTable> ratingViews(rating_);
            rating_.clear();
        }
        std::rethrow_exception(error);
    }

    // Recorded before anyone hears of the new rating, so that what follows it finds the run.
    RatingTable& result = worker.result();
    if (result.rowCount() > 0)
        ratingRun_ = RatingRun{{bounds, result.recIdAt(0)}, sectionPoints(walked), sectionVersion_};
    else
        ratingRun_.reset();
    updateRatingOutOfDate();
    {
        ViewSuspension<RatingTable> ratingViews(rating_);
        rating_ = std::move(result);
    }
    emit ratingCreated();
}

void Workspace::cancelRating() {
    if (runningRating_)
        runningRating_->cancel();
}

bool Workspace::sectionIs(const SectionPoints& section, std::uint64_t version) const {
    if (version == sectionVersion_)
        return true;
    const SectionPoints now = currentSection();
    return now.stations == section.stations && now.elevations == section.elevations;
}

void Workspace::updateRatingOutOfDate() {
    const bool outOfDate =
        ratingRun_ && !sectionIs(ratingRun_->section, ratingRun_->sectionVersion);
    if (outOfDate == ratingOutOfDate_)
        return;
    ratingOutOfDate_ = outOfDate;
    emit ratingOutOfDateChanged(outOfDate);
}

// ---- what the file last read said -----------------------------------------------------------

void Workspace::noteRead(const ReadSummary& summary) {
    readUnsorted_ = summary.unsortedStations;
    readRoughness_.reset();
    if (summary.roughness)
        readRoughness_ = ReadRoughness{*summary.roughness, summary.leftBank, summary.rightBank};
    readFingerprint_ = readUnsorted_ > 0 || readRoughness_ ? fingerprint(currentSection()) : 0;
}

std::size_t Workspace::unsortedStations() const {
    if (readUnsorted_ == 0)
        return 0;
    return fingerprint(currentSection()) == readFingerprint_ ? readUnsorted_ : 0;
}

std::optional<Workspace::ReadRoughness>
Workspace::readRoughness(const SectionPoints& section) const {
    if (!readRoughness_ || fingerprint(section) != readFingerprint_)
        return std::nullopt;
    return readRoughness_;
}

std::uint64_t Workspace::fingerprint(const SectionPoints& section) {
    // FNV-1a over the section's numbers: any typed, inserted or deleted point changes it.
    std::uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](const std::vector<double>& column) {
        for (const double value : column) {
            unsigned char bytes[sizeof value];
            std::memcpy(bytes, &value, sizeof value);
            for (const unsigned char byte : bytes)
                hash = (hash ^ byte) * 1099511628211ull;
        }
        hash = (hash ^ column.size()) * 1099511628211ull;
    };
    mix(section.stations);
    mix(section.elevations);
    return hash;
}

} // namespace korvadel
