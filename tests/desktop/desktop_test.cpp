// SPDX-License-Identifier: GPL-3.0-or-later
// The program on a real X server with a window manager (run-on-desktop.sh starts Xvfb and
// openbox): windows are mapped, exposed and activated by the window manager, keys come through
// the X server (xdotool), and what is checked on screen is read back from the X server.

#include "components/grid/PointGrid.h"
#include "components/widgets/GradientProgressBar.h"
#include "components/widgets/IncrementSpinBox.h"
#include "tests/support/Controls.h"
#include "tests/support/TestProgram.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"
#include "ui/RatingWindow.h"
#include "ui/Workspace.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
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

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
