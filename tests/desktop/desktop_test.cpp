// SPDX-License-Identifier: GPL-3.0-or-later
// The program on a real X server with a window manager (run-on-desktop.sh starts Xvfb and
// openbox): windows are mapped, exposed and activated by the window manager, keys come through
// the X server (xdotool), and what is checked on screen is read back from the X server.

#include "components/chart/Chart.h"
#include "components/grid/MeasurementTableModel.h"
#include "components/grid/PointGrid.h"
#include "components/report/BandedReport.h"
#include "components/report/ReportPreview.h"
#include "components/widgets/GradientProgressBar.h"
#include "components/widgets/IncrementSpinBox.h"
#include "components/widgets/NoticeLine.h"
#include "tests/support/Controls.h"
#include "tests/support/PdfText.h"
#include "tests/support/TestProgram.h"
#include "ui/HydraulicPropertiesWindow.h"
#include "ui/IndexVelocityWindow.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"
#include "ui/RatingWindow.h"
#include "ui/Workspace.h"

#include <QComboBox>
#include <QDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

using namespace korvadel;

namespace {

// Runs xdotool to completion; the X events it sends are handled by the next wait.
bool xdotool(const QStringList& arguments, QString* output = nullptr) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return false;
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    return true;
}

// Pictures of the whole screen, taken by another program at intervals while this program's
// user-interface thread is busy, so they show what the X server shows, not what Qt meant to
// paint.
class ScreenRecorder {
public:
    explicit ScreenRecorder(const QString& folder) : folder_(folder) {}
    ~ScreenRecorder() { stop(); }

    void start(std::chrono::milliseconds interval) {
        thread_ = std::thread([this, interval] {
            for (int shot = 0; !stopping_ && shot < 40; ++shot) {
                std::this_thread::sleep_for(interval);
                const QString file =
                    QStringLiteral("%1/shot%2.bmp").arg(folder_).arg(shot, 2, 10, QChar(u'0'));
                const std::string command =
                    "import -silent -window root bmp3:" + file.toStdString() + " 2>/dev/null";
                if (std::system(command.c_str()) != 0)
                    break;
            }
        });
    }

    void stop() {
        stopping_ = true;
        if (thread_.joinable())
            thread_.join();
    }

    QList<QImage> shots() const {
        QList<QImage> images;
        QDir folder(folder_);
        for (const QString& name :
             folder.entryList({QStringLiteral("shot*.bmp")}, QDir::Files, QDir::Name))
            images << QImage(folder.filePath(name));
        return images;
    }

private:
    QString folder_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
};

int countPixels(const QImage& image, const QRect& area, bool (*test)(QRgb)) {
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

bool isNavy(QRgb c) {
    return qBlue(c) >= 100 && qRed(c) < 60 && qGreen(c) < 60;
}
bool isInk(QRgb c) {
    return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90;
}
bool isWhite(QRgb c) {
    return qRed(c) > 230 && qGreen(c) > 230 && qBlue(c) > 230;
}

QRect globalRect(const QWidget* widget) {
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

bool activate(QWidget* window) {
    if (!xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                  QString::number(window->winId())}))
        return false;
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 5000);
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void progressDialogPaintsAndAdvancesDuringALongRun();
    void typedValueIsTakenByKeysAndMenus_data();
    void typedValueIsTakenByKeysAndMenus();
    void regeneratedRatingWindowBecomesActive();
    void closeBoxAsksAboutUnsavedPoints();
    void propertiesSayTheSectionChangedAfterAnotherLoad();
    void escapeCancelsALongRunAndTheRatingStays();
    void indexVelocityJobFromTheKeyboard();
};

void DesktopTest::initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

// A rating of 9,000,000 stages: while it runs, the screen shows the dialog's text and a bar
// that fills up.
void DesktopTest::progressDialogPaintsAndAdvancesDuringALongRun() {
    QTemporaryDir folder;
    TestProgram program;
    MainWindow* main = program.main();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    // A bed of 500 points keeps the run going for seconds also on a fast machine; banks above
    // the maximum: no edge warning.
    PointTable& points = main->workspace().document().points;
    points.clear();
    points.appendRow(0, 1e5);
    for (int i = 1; i < 499; ++i)
        points.appendRow(i * 0.1, 100 + 15 * std::sin(i / 17.0));
    points.appendRow(49.9, 1e5);
    ui(main).minimumStage->setText(QStringLiteral("0"));
    ui(main).maximumStage->setText(QStringLiteral("90000"));
    ui(main).stageIncrement->setIncrement(0.01);

    // Started from the keyboard, as a user does.
    QVERIFY(activate(main));
    ScreenRecorder recorder(folder.path());
    recorder.start(std::chrono::milliseconds(200));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+c")}));
    QVERIFY(QTest::qWaitFor([&] { return program.ratingWindow()->isVisible(); }, 60000));
    recorder.stop();
    QCOMPARE(program.ratingWindow()->workspace().rating().rowCount(), std::size_t{9000001});

    ProgressDialog* progress = program.progressDialog();
    const QRect bar = globalRect(ui(progress).progressBar).adjusted(2, 2, -2, -2);
    const QRect label = globalRect(ui(progress).message);
    QList<int> fills;
    int percentageInk = 0;
    for (const QImage& shot : recorder.shots()) {
        // Only pictures taken while the dialog was up: its text and the navy start of the
        // bar's fill are on the screen.
        const QRect barStart(bar.left(), bar.top(), 1, bar.height());
        if (countPixels(shot, label, isInk) < 20 ||
            countPixels(shot, barStart, isNavy) < bar.height())
            continue;
        fills << countPixels(shot, bar, isNavy);
        // The white percentage stands out best on the grey of a bar not yet half full.
        if (fills.size() == 1)
            percentageInk = countPixels(shot, bar, isWhite);
    }
    QVERIFY2(fills.size() >= 3, qPrintable(QStringLiteral("the dialog was seen painted in %1 "
                                                          "of %2 pictures")
                                               .arg(fills.size())
                                               .arg(recorder.shots().size())));
    QVERIFY2(percentageInk > 10, "no percentage on the bar");
    QVERIFY2(
        fills.last() > fills.first() && fills.last() > 0,
        qPrintable(
            QStringLiteral("fill did not advance: %1 to %2").arg(fills.first()).arg(fills.last())));
}

void DesktopTest::typedValueIsTakenByKeysAndMenus_data() {
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<bool>("saves");
    QTest::newRow("Ctrl+S") << QStringList{QStringLiteral("ctrl+s")} << true;
    QTest::newRow("File > Save Cross Section by the menu's keys")
        << QStringList{QStringLiteral("alt+f"), QStringLiteral("s")} << true;
    QTest::newRow("Alt+C") << QStringList{QStringLiteral("alt+c")} << false;
}

// The point at station 8 lowered to -2 by typing, and the command given without leaving the
// cell.
void DesktopTest::typedValueIsTakenByKeysAndMenus() {
    QFETCH(QStringList, keys);
    QFETCH(bool, saves);
    QTemporaryDir folder;
    TestProgram program;
    MainWindow* main = program.main();
    program.enterTrapezoid(QStringLiteral("2"));
    QVERIFY(activate(main));
    ui(main).pointGrid->setFocus();
    ui(main).pointGrid->setCurrentIndex(ui(main).pointGrid->model()->index(2, 1));
    const QString path = folder.filePath(QStringLiteral("section.kvd"));
    program.seam.chooseFile(path);

    QVERIFY(xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
                     QStringLiteral("--"), QStringLiteral("-2")}));
    QVERIFY(QTest::qWaitFor([main] { return ui(main).pointGrid->isEditing(); }, 5000));
    for (const QString& key : keys) {
        QVERIFY(xdotool({QStringLiteral("key"), key}));
        QTest::qWait(200);
    }
    QVERIFY(QTest::qWaitFor([main] { return !ui(main).pointGrid->isEditing(); }, 5000));
    QVERIFY(QTest::qWaitFor(
        [&] { return saves ? QFile::exists(path) : program.ratingWindow()->isVisible(); }, 5000));

    QVERIFY(program.seam.messages.isEmpty());
    QCOMPARE(main->workspace().document().points.elevationAt(2), -2.0);
    if (saves) {
        QVERIFY(readFile(path).contains("\r\n8\t-2\r\n"));
    } else {
        const RatingTable& rating = program.ratingWindow()->workspace().rating();
        QCOMPARE(rating.rowCount(), std::size_t{3});
        QVERIFY(qAbs(rating.areaAt(0) - 19.0 / 3.0) < 1e-3);
    }
}

// With the rating window open, Alt+C in the main window makes the rating again and the window
// manager hands the keyboard to the rating window.
void DesktopTest::regeneratedRatingWindowBecomesActive() {
    TestProgram program;
    MainWindow* main = program.main();
    program.rateTrapezoid(QStringLiteral("2"));
    RatingWindow* window = program.ratingWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    for (int round = 0; round < 2; ++round) {
        QVERIFY(activate(main));
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+c")}));
        QVERIFY(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 5000));
        QString active;
        QVERIFY(xdotool({QStringLiteral("getactivewindow")}, &active));
        QCOMPARE(active, QString::number(window->winId()));
    }
    QVERIFY(program.seam.messages.isEmpty());
}

// Points typed into a new section and the window closed by its close box (Alt+F4 to the window
// manager): the question comes; Cancel keeps the points and the window, Discard lets it close.
void DesktopTest::closeBoxAsksAboutUnsavedPoints() {
    TestProgram program;
    MainWindow* main = program.main();
    QVERIFY(activate(main));
    for (const char* text : {"1", "Tab", "5", "Return", "4", "Tab", "2", "Return", "8"}) {
        const QString key = QLatin1String(text);
        QVERIFY(xdotool({key.size() == 1 ? QStringLiteral("type") : QStringLiteral("key"), key}));
    }
    program.seam.answerSave(DesktopSeam::SaveAnswer::Cancel);
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")}));
    QVERIFY(QTest::qWaitFor([&] { return program.seam.saveQuestions.size() == 1; }, 5000));
    QTest::qWait(300);
    QVERIFY(main->isVisible());
    QCOMPARE(program.workspace().currentSection().stations, (std::vector<double>{1, 4, 8}));
    QVERIFY(main->isWindowModified());

    program.seam.answerSave(DesktopSeam::SaveAnswer::Discard);
    QVERIFY(activate(main));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")}));
    QVERIFY(QTest::qWaitFor([main] { return !main->isVisible(); }, 5000));
    QCOMPARE(program.seam.saveQuestions.size(), 2);
}

// Pine Run rated and its properties open, then Mill Creek loaded from the keyboard: the
// properties stay Pine Run's and say the section has changed.
void DesktopTest::propertiesSayTheSectionChangedAfterAnotherLoad() {
    TestProgram program;
    MainWindow* main = program.main();
    QVERIFY(activate(main));
    program.seam.chooseFile(QStringLiteral(KORVADEL_EXAMPLES "/pine-run.kvd"));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+l")}));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+c")}));
    RatingWindow* window = program.ratingWindow();
    QVERIFY(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 5000));
    for (const char* key : {"alt+o", "p"})
        QVERIFY(xdotool({QStringLiteral("key"), QLatin1String(key)}));
    HydraulicPropertiesWindow* properties = program.program.propertiesWindow();
    QVERIFY(
        QTest::qWaitFor([properties] { return QApplication::activeWindow() == properties; }, 5000));
    const double pineRunArea = properties->table().properties[4].area;
    QVERIFY(!ui(properties).outOfDate->isVisible());

    QVERIFY(activate(main));
    program.seam.chooseFile(QStringLiteral(KORVADEL_EXAMPLES "/mill-creek.kvd"));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+l")}));
    QVERIFY(QTest::qWaitFor([&] { return ui(properties).outOfDate->isVisible(); }, 5000));
    QCOMPARE(ui(properties).outOfDate->text(),
             QStringLiteral("The section has changed since this rating was created: create it "
                            "again."));
    QVERIFY(ui(window).outOfDate->isVisible());
    properties->refresh();
    QCOMPARE(properties->table().properties[4].area, pineRunArea);
    QVERIFY(program.seam.messages.isEmpty());
}

// A rating of 9,000,001 stages stopped with Escape while its progress shows: the previous
// rating and its window stay as they were; the main window kept repainting meanwhile.
void DesktopTest::escapeCancelsALongRunAndTheRatingStays() {
    TestProgram program;
    MainWindow* main = program.main();
    program.rateTrapezoid(QStringLiteral("2"));
    const RatingTable& rating = program.rating();
    QCOMPARE(rating.rowCount(), std::size_t{3});
    PointTable& points = program.document().points;
    points.clear();
    points.appendRow(0, 1e5);
    for (int i = 1; i < 499; ++i)
        points.appendRow(i * 0.1, 100 + 15 * std::sin(i / 17.0));
    points.appendRow(49.9, 1e5);
    ui(main).maximumStage->setText(QStringLiteral("90000"));
    ui(main).stageIncrement->setIncrement(0.01);

    // Paints of the main window's chart while the run holds the rating command.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    ui(main).sectionChart->installEventFilter(&counter);
    QTimer nudge;
    QObject::connect(&nudge, &QTimer::timeout, ui(main).sectionChart,
                     qOverload<>(&QWidget::update));
    ProgressDialog* progress = program.progressDialog();
    int paintsWhileRunning = -1;
    QObject::connect(&program.workspace(), &Workspace::ratingComputing, &nudge, [&] {
        nudge.start(50);
        counter.paints = 0;
        // Once the bar has moved, Escape from the keyboard.
        QTimer::singleShot(0, [&] {
            if (!QTest::qWaitFor([&] { return ui(progress).progressBar->position() > 1000; },
                                 20000))
                return;
            QTest::qWait(300);
            paintsWhileRunning = counter.paints;
            xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        });
    });
    QVERIFY(activate(main));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+c")}));
    QVERIFY(QTest::qWaitFor([&] { return paintsWhileRunning >= 0; }, 30000));
    QVERIFY(QTest::qWaitFor([&] { return !program.workspace().ratingRunning(); }, 30000));
    nudge.stop();
    QVERIFY2(paintsWhileRunning > 0, "the main window did not repaint during the run");
    QCOMPARE(rating.rowCount(), std::size_t{3});
    QCOMPARE(rating.areaAt(1), 6.2);
    QVERIFY(!progress->isVisible());
    QVERIFY(program.seam.messages.isEmpty());
}

// An index-velocity job from the keyboard: the example measurements imported, one excluded
// (its comment typed into the question that comes up), the stage model chosen; the statistics
// are the command line's for the measurements as the window saves them.
void DesktopTest::indexVelocityJobFromTheKeyboard() {
    TestProgram program;
    MainWindow* main = program.main();
    QTemporaryDir dir;
    const auto key = [](const char* keys) {
        return xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60"),
                        QLatin1String(keys)});
    };
    QVERIFY(activate(main));
    const QString section = QStringLiteral(KORVADEL_EXAMPLES "/harlan-canal.kvd");
    program.seam.chooseFile(section);
    QVERIFY(key("ctrl+l"));
    QVERIFY(QTest::qWaitFor([&] { return program.document().points.rowCount() == 9; }, 5000));
    QVERIFY(key("alt+t"));
    QVERIFY(key("i"));
    IndexVelocityWindow* window = program.program.indexVelocityWindow();
    QVERIFY(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 5000));
    program.seam.chooseFile(QStringLiteral(KORVADEL_EXAMPLES "/harlan-canal-measurements.csv"));
    QVERIFY(key("ctrl+o"));
    QVERIFY(QTest::qWaitFor([window] { return window->measurements().size() == 24; }, 5000));
    const std::size_t fitted = window->fit()->n;

    // Measurement 315 (the 15th row) excluded from its use cell.
    auto* table = child<QTableView>(window, "measurementTable");
    table->setFocus();
    table->setCurrentIndex(table->model()->index(14, MeasurementTableModel::Use));
    bool asked = false;
    program.seam.onModal([&](QDialog& question) {
        asked = QTest::qWaitFor([&] { return QApplication::activeWindow() == &question; }, 5000);
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
                 QStringLiteral("Area 7 % over")});
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        asked =
            asked && QTest::qWaitFor([&] { return question.result() == QDialog::Accepted; }, 5000);
    });
    QVERIFY(key("F2"));
    QVERIFY(key("End"));
    QVERIFY(key("Return"));
    QVERIFY(QTest::qWaitFor([&] { return window->fit() && window->fit()->n == fitted - 1; }, 5000));
    QVERIFY(asked);
    QCOMPARE(window->measurements()[14].comment, std::string("Area 7 % over"));
    const double simpleRSquared = window->fit()->rSquared;

    // The stage model, from its field.
    QVERIFY(key("alt+d"));
    QVERIFY(key("Down"));
    QVERIFY(key("Down"));
    QVERIFY(QTest::qWaitFor(
        [&] { return window->fit() && window->fit()->equation.model == VelocityModel::Stage; },
        5000));
    QVERIFY(window->fit()->rSquared != simpleRSquared);

    const QString saved = dir.filePath(QStringLiteral("measurements.csv"));
    program.seam.chooseFile(saved);
    QVERIFY(key("ctrl+s"));
    QVERIFY(QTest::qWaitFor([&] { return QFile::exists(saved); }, 5000));
    // The key saved the measurements and nothing else: no cell took it as typing.
    for (const QWidget* editor : table->viewport()->findChildren<QWidget*>())
        QVERIFY(!editor->isVisible());
    QVERIFY(!program.workspace().isModified());
    QProcess cli;
    cli.start(QStringLiteral(KORVADEL_CLI),
              {QStringLiteral("velocity-rating"), section, saved, QStringLiteral("--model"),
               QStringLiteral("stage"), QStringLiteral("--format"), QStringLiteral("json")});
    QVERIFY(cli.waitForFinished(60000));
    const QJsonObject json = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    QCOMPARE(static_cast<qint64>(window->fit()->n), json[QStringLiteral("n")].toInteger());
    QCOMPARE(window->fit()->rSquared, json[QStringLiteral("r_squared")].toDouble());
    QCOMPARE(window->fit()->standardErrorOfEstimate,
             json[QStringLiteral("standard_error_of_estimate")].toDouble());
    QCOMPARE(window->fit()->f, json[QStringLiteral("f")].toDouble());
    const QString equation = json[QStringLiteral("equation")].toString();
    QVERIFY(child<QLabel>(window, "equation")->text().startsWith(equation));

    // Print Report from the keyboard with the focus in the units field: the window's Ctrl+P,
    // not the main window's. Its pages, written as PDF, hold the equation and every number.
    QVERIFY(key("alt+u"));
    QVERIFY(key("Down"));
    QVERIFY(QTest::qWaitFor([window] { return !window->feet(); }, 5000));
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    QString previewTitle;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* preview = qobject_cast<ReportPreview*>(top);
                preview && preview->isVisible()) {
                previewTitle = preview->windowTitle();
                writeReportPdf(preview->document(), pdf);
                preview->close();
            }
    });
    watch.start(100);
    QVERIFY(key("ctrl+p"));
    QVERIFY(QTest::qWaitFor([&] { return !previewTitle.isEmpty(); }, 10000));
    watch.stop();
    QCOMPARE(previewTitle, QStringLiteral("Index Velocity Rating"));
    const PdfPages pages = readPdfWords(pdf);
    QStringList words;
    for (const QList<PdfWord>& page : pages)
        for (const PdfWord& word : page)
            words << word.text;
    QVERIFY2(words.join(u' ').contains(equation), qPrintable(equation));
    QVERIFY(words.contains(QStringLiteral("m\u00b3/s")));
    for (const Measurement& m : window->measurements())
        QVERIFY2(words.contains(QString::fromStdString(m.number)), m.number.c_str());
    QVERIFY(program.seam.messages.isEmpty());
}

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
