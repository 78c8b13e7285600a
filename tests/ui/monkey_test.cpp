// SPDX-License-Identifier: GPL-3.0-or-later
// A user who presses everything: the program's windows, started as the desktop program starts
// them, driven by a long seeded random sequence of keys, clicks, menu commands and dialog
// answers. After every step the point table, the buttons, the progress dialog and the rating
// must still be in a state the program allows.
//
// KORVADEL_MONKEY_SEED picks the sequence and KORVADEL_MONKEY_STEPS its length (default 8000,
// about 15 seconds here), so a seed covers the same steps on a fast machine as on a slow one; a
// failure names its seed and step, to be run again with those.

#include "components/desktop/DesktopSeam.h"
#include "model/PointTable.h"
#include "model/RatingTable.h"
#include "tests/support/Controls.h"
#include "tests/support/TestProgram.h"
#include "ui/AdcpImportWarning.h"
#include "ui/BoundsPrompt.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/ProgressDialog.h"
#include "ui/RatingWindow.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <random>

using namespace korvadel;

namespace {

// Answers every dialog at random: a file among the samples, a path that does not exist, a new
// file in a scratch folder, or Cancel; confirmations OK or Cancel. Modal windows are shown and
// hidden again at once, so nothing waits for a user.
class MonkeySeam : public DesktopSeam {
public:
    // The samples are copied into the scratch folder first: a save may pick one of them.
    MonkeySeam(std::mt19937& random, QString scratch)
        : random_(random), scratch_(std::move(scratch)) {
        const QStringList originals = {
            QStringLiteral(KORVADEL_EXAMPLES "/bear-river.csv"),
            QStringLiteral(KORVADEL_EXAMPLES "/clearwater_000t.000"),
            QStringLiteral(KORVADEL_EXAMPLES "/mill-creek.kvd"),
            QStringLiteral(KORVADEL_TEST_DATA "/willow-creek.kvd"),
        };
        QDir(scratch_).mkpath(QStringLiteral("samples"));
        for (const QString& original : originals) {
            const QString copy = QDir(scratch_).filePath(QStringLiteral("samples/") +
                                                         QFileInfo(original).fileName());
            if (QFile::copy(original, copy))
                samples_.append(copy);
        }
    }

    bool runFileDialog(QWidget*, FileDialogState& state) override {
        ++fileDialogs;
        QString path;
        switch (pick(5)) {
        case 0:
            return false;
        case 1:
            path = QDir(scratch_).filePath(QStringLiteral("missing/nowhere.kvd"));
            break;
        case 2:
            path = QDir(scratch_).filePath(QStringLiteral("out%1").arg(pick(4)));
            if (!state.defaultExtension.isEmpty())
                path += QLatin1Char('.') + state.defaultExtension;
            break;
        default:
            if (samples_.isEmpty())
                return false;
            path = samples_[pick(static_cast<int>(samples_.size()))];
            break;
        }
        state.fileName = QDir::toNativeSeparators(path);
        QDir::setCurrent(QFileInfo(path).absolutePath());
        return true;
    }

    void showMessage(QWidget*, MessageKind, const QString&, const QString&) override { ++messages; }

    bool confirm(QWidget*, const QString&, const QString&) override { return pick(2) == 0; }

    SaveAnswer askToSave(QWidget*, const QString&) override {
        return static_cast<SaveAnswer>(pick(3));
    }

    int execModal(QDialog& dialog) override {
        ++modals;
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        QCoreApplication::processEvents();
        dialog.hide();
        return dialog.result();
    }

    int fileDialogs = 0;
    int messages = 0;
    int modals = 0;

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::mt19937& random_;
    QString scratch_;
    QStringList samples_;
};

bool endsTheRun(const QAction* action) {
    const QString text = action->text().remove(QLatin1Char('&'));
    return text.contains(QStringLiteral("Exit"), Qt::CaseInsensitive) ||
           text.contains(QStringLiteral("Close"), Qt::CaseInsensitive);
}

QList<QAction*> commands(QWidget* window) {
    QList<QAction*> result;
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->isSeparator() || action->menu() || action->text().isEmpty() ||
            endsTheRun(action))
            continue;
        result.append(action);
    }
    return result;
}

QString stateProblem(const PointTable& points) {
    const std::size_t rows = points.rowCount();
    const std::ptrdiff_t current = points.currentIndex();
    if (rows == 0 && current != -1)
        return QStringLiteral("empty table with current row %1").arg(current);
    if (rows > 0 && (current < 0 || current >= static_cast<std::ptrdiff_t>(rows)))
        return QStringLiteral("current row %1 of %2").arg(current).arg(rows);
    const std::ptrdiff_t edit = points.editRow();
    const bool browsing = points.state() == PointTable::State::Browsing;
    if (browsing != (edit == -1))
        return QStringLiteral("state %1 with edit row %2")
            .arg(static_cast<int>(points.state()))
            .arg(edit);
    if (edit >= static_cast<std::ptrdiff_t>(rows))
        return QStringLiteral("edit row %1 of %2").arg(edit).arg(rows);
    std::optional<double> previous;
    for (std::size_t row = 0; row < rows; ++row) {
        if (static_cast<std::ptrdiff_t>(row) == edit)
            continue;
        if (!points.hasStation(row))
            return QStringLiteral("committed row %1 without a station").arg(row);
        const double station = points.stationAt(row);
        if (previous && station < *previous)
            return QStringLiteral("station %1 at row %2 after %3")
                .arg(station)
                .arg(row)
                .arg(*previous);
        previous = station;
    }
    return {};
}

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT
private slots:
    void pressingEverythingKeepsTheProgramConsistent();
};

void MonkeyTest::pressingEverythingKeepsTheProgramConsistent() {
    bool seedOk = false;
    unsigned seed = qEnvironmentVariable("KORVADEL_MONKEY_SEED").toUInt(&seedOk);
    if (!seedOk)
        seed = 20261209u;
    bool stepsOk = false;
    int steps = qEnvironmentVariable("KORVADEL_MONKEY_STEPS").toInt(&stepsOk);
    if (!stepsOk || steps <= 0)
        steps = 8000;
    quietenOffscreenRaise(); // thousands of raise() complaints would drown the result
    qInfo("monkey seed %u, %d steps", seed, steps);

    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    std::mt19937 random(seed);
    auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };

    MonkeySeam seam(random, scratch.path());
    const QString startFolder = QDir::currentPath();
    Program program(seam, NumberFormat{'.'});
    program.createWindows();
    program.showMainWindow();
    MainWindow* main = program.mainWindow();
    RatingWindow* rating = program.ratingWindow();
    BoundsPrompt* prompt = program.boundsPrompt();

    // The table preview runs its own event loop until it is closed; close it as a user would.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->inherits("korvadel::ReportPreview"))
                top->close();
    });
    closer.start(20);

    const QList<QAction*> mainCommands = commands(main);
    const QList<QAction*> ratingCommands = commands(rating);
    QVERIFY(!mainCommands.isEmpty());
    QVERIFY(!ratingCommands.isEmpty());

    static const QList<QPair<int, Qt::KeyboardModifiers>> keys = {
        {Qt::Key_0, {}},      {Qt::Key_1, {}},         {Qt::Key_2, {}},
        {Qt::Key_5, {}},      {Qt::Key_9, {}},         {Qt::Key_Period, {}},
        {Qt::Key_Minus, {}},  {Qt::Key_Tab, {}},       {Qt::Key_Backtab, Qt::ShiftModifier},
        {Qt::Key_Return, {}}, {Qt::Key_Enter, {}},     {Qt::Key_Up, {}},
        {Qt::Key_Down, {}},   {Qt::Key_Left, {}},      {Qt::Key_Right, {}},
        {Qt::Key_Insert, {}}, {Qt::Key_Delete, {}},    {Qt::Key_Delete, Qt::ControlModifier},
        {Qt::Key_Escape, {}}, {Qt::Key_A, {}},         {Qt::Key_E, {}},
        {Qt::Key_X, {}},      {Qt::Key_Backspace, {}}, {Qt::Key_F2, {}},
        {Qt::Key_Home, {}},   {Qt::Key_End, {}},       {Qt::Key_PageDown, {}},
    };
    static const QStringList smallValues = {
        QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2.5"), QStringLiteral("-1"),
        QStringLiteral("5"), QStringLiteral(""),  QStringLiteral("x"),   QStringLiteral("10"),
    };

    QElapsedTimer clock;
    clock.start();
    int step = 0;
    QString what;
    int stepsWithRating = 0;
    for (; step < steps; ++step) {
        QList<QWidget*> windows = {main};
        if (prompt->isVisible())
            windows.append(prompt);
        if (rating->isVisible())
            windows.append(rating);
        QWidget* window = windows[pick(static_cast<int>(windows.size()))];
        const int kind = pick(20);
        if (kind < 9) {
            const auto& [key, modifiers] = keys[pick(static_cast<int>(keys.size()))];
            QWidget* target = window->focusWidget() ? window->focusWidget() : window;
            what = QStringLiteral("key %1 (mod %2) into %3")
                       .arg(key, 0, 16)
                       .arg(static_cast<int>(modifiers))
                       .arg(target->objectName() + QLatin1Char('/') +
                            QString::fromLatin1(target->metaObject()->className()));
            QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
        } else if (kind < 12) {
            QList<QWidget*> focusable;
            for (QWidget* child : window->findChildren<QWidget*>())
                if (child->isVisible() && child->isEnabled() && child->focusPolicy() != Qt::NoFocus)
                    focusable.append(child);
            if (focusable.isEmpty())
                continue;
            QWidget* child = focusable[pick(static_cast<int>(focusable.size()))];
            what = QStringLiteral("focus %1").arg(child->objectName());
            child->setFocus(Qt::MouseFocusReason);
        } else if (kind < 15) {
            const QList<QAction*>& list = (window == rating) ? ratingCommands : mainCommands;
            QAction* action = list[pick(static_cast<int>(list.size()))];
            what = QStringLiteral("command %1").arg(action->text());
            if (action->isEnabled())
                action->trigger();
        } else if (kind < 18) {
            QList<QPushButton*> buttons = {ui(main).createRatingButton, ui(main).animateButton};
            if (prompt->isVisible())
                buttons << ui(prompt).okButton << ui(prompt).cancelButton;
            if (program.adcpImportWarning()->isVisible())
                buttons << program.adcpImportWarning()->findChildren<QPushButton*>();
            QPushButton* button = buttons[pick(static_cast<int>(buttons.size()))];
            what = QStringLiteral("click %1").arg(button->text());
            if (button->isVisible() && button->isEnabled())
                QTest::mouseClick(button, Qt::LeftButton);
        } else {
            // Small gage settings keep each rating short.
            QLineEdit* field = nullptr;
            switch (pick(5)) {
            case 0:
                field = ui(main).minimumStage;
                break;
            case 1:
                field = ui(main).maximumStage;
                break;
            case 2:
                field = ui(main).datum;
                break;
            case 3:
                field = ui(prompt).minimumStage;
                break;
            default:
                field = ui(prompt).maximumStage;
                break;
            }
            const QString value = smallValues[pick(static_cast<int>(smallValues.size()))];
            what = QStringLiteral("set %1 to '%2'").arg(field->objectName(), value);
            field->setText(value);
            emit field->editingFinished();
        }
        QCoreApplication::processEvents();
        if (rating->workspace().rating().rowCount() > 0)
            ++stepsWithRating;

        QString problem = stateProblem(main->workspace().document().points);
        const QString caption = ui(main).animateButton->text();
        if (problem.isEmpty() && caption != QStringLiteral("&Animate Cross Section") &&
            caption != QStringLiteral("Stop Cross Section Animation"))
            problem = QStringLiteral("animation button reads '%1'").arg(caption);
        if (problem.isEmpty() && program.progressDialog()->isVisible())
            problem = QStringLiteral("progress dialog left shown");
        if (problem.isEmpty() && !main->isVisible())
            problem = QStringLiteral("main window gone");
        const RatingTable& table = rating->workspace().rating();
        for (std::size_t row = 1; problem.isEmpty() && row < table.rowCount(); ++row)
            if (!(table.stageAt(row) > table.stageAt(row - 1)))
                problem = QStringLiteral("rating stage %1 at row %2 after %3")
                              .arg(table.stageAt(row))
                              .arg(row)
                              .arg(table.stageAt(row - 1));
        if (!problem.isEmpty())
            QFAIL(QStringLiteral("seed %1, step %2 of %3 (%4): %5")
                      .arg(seed)
                      .arg(step + 1)
                      .arg(steps)
                      .arg(what, problem)
                      .toLocal8Bit()
                      .constData());
    }
    if (ui(main).animateButton->text() != QStringLiteral("&Animate Cross Section"))
        QTest::mouseClick(ui(main).animateButton, Qt::LeftButton);
    qInfo("monkey seed %u: %d steps in %.1f s; %d file dialogs, %d messages, %d modal windows, "
          "%d steps with a rating",
          seed, step, clock.elapsed() / 1000.0, seam.fileDialogs, seam.messages, seam.modals,
          stepsWithRating);
    QDir::setCurrent(startFolder);
}

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
