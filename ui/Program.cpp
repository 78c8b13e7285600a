// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Program.h"

#include "components/chart/Chart.h"
#include "components/desktop/QtDesktopSeam.h"
#include "components/desktop/ScreenPlacement.h"
#include "components/desktop/TextCodec.h"
#include "components/widgets/GradientProgressBar.h"
#include "ui/AboutBox.h"
#include "ui/AdcpImportWarning.h"
#include "ui/BoundsPrompt.h"
#include "ui/EdgeWarning.h"
#include "ui/HydraulicPropertiesWindow.h"
#include "ui/IndexVelocityWindow.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"
#include "ui/RatingWindow.h"
#include "ui/SectionCheckWindow.h"
#include "ui/StartupArguments.h"
#include "ui/SurveyComparisonWindow.h"
#include "ui/Version.h"
#include "ui/Workspace.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace korvadel {

Program::Program(DesktopSeam& seam, NumberFormat format)
    : workspace_(std::make_unique<Workspace>(seam, format)) {}

Program::~Program() = default;

void Program::createWindows() {
    // One font for every window, box and dialog: the one their fixed layouts are measured for.
    QApplication::setFont(designFont(QApplication::font()));
    mainWindow_ = std::make_unique<MainWindow>(*workspace_);
    boundsPrompt_ = std::make_unique<BoundsPrompt>(workspace_->format().decimalSeparator);
    ratingWindow_ = std::make_unique<RatingWindow>(*workspace_);
    aboutBox_ = std::make_unique<AboutBox>();
    progressDialog_ = std::make_unique<ProgressDialog>();
    adcpImportWarning_ = std::make_unique<AdcpImportWarning>();
    edgeWarning_ = std::make_unique<EdgeWarning>();
    propertiesWindow_ = std::make_unique<HydraulicPropertiesWindow>(*workspace_);
    sectionCheckWindow_ = std::make_unique<SectionCheckWindow>(*workspace_);
    comparisonWindow_ = std::make_unique<SurveyComparisonWindow>(*workspace_);
    indexVelocityWindow_ = std::make_unique<IndexVelocityWindow>(*workspace_);
    // Boxes of every window's commands come up over the main window.
    workspace_->commands().setBoxParent(mainWindow_.get());
    connectWindows();
}

void Program::connectWindows() {
    MainWindow* main = mainWindow_.get();
    BoundsPrompt* prompt = boundsPrompt_.get();
    AdcpImportWarning* importWarning = adcpImportWarning_.get();
    AboutBox* about = aboutBox_.get();
    CommandRunner& commands = workspace_->commands();
    DesktopSeam& seam = workspace_->seam();

    QObject::connect(main, &MainWindow::aboutRequested, about, [about, &seam] {
        about->setWindowModality(Qt::ApplicationModal);
        centreForShowing(*about);
        seam.execModal(*about);
    });
    QObject::connect(main, &MainWindow::boundsPromptRequested, prompt,
                     [prompt] { presentWindow(*prompt); });
    QObject::connect(main, &MainWindow::winRiverImportRequested, importWarning, [importWarning] {
        centreForShowing(*importWarning);
        presentWindow(*importWarning);
    });
    commands.route(prompt, &BoundsPrompt::okClicked, [main, prompt] {
        try {
            main->createRatingFromPrompt(prompt->minimumText(), prompt->maximumText(),
                                         prompt->increment());
        } catch (...) {
            // The prompt's own bounds first, then the main window's datum.
            if (!prompt->selectUnreadableField())
                main->selectUnreadableSetting({GageField::Datum});
            throw;
        }
    });
    commands.route(importWarning, &AdcpImportWarning::continueClicked,
                   [main] { main->importWinRiverFile(); });

    // The windows that look at the section beside its rating.
    HydraulicPropertiesWindow* properties = propertiesWindow_.get();
    SectionCheckWindow* check = sectionCheckWindow_.get();
    SurveyComparisonWindow* comparison = comparisonWindow_.get();
    QObject::connect(
        ratingWindow_.get(), &RatingWindow::propertiesRequested, properties,
        [properties, &commands] { commands.run([properties] { properties->showWindow(); }); });
    const auto readingSettings = [main](const std::function<void()>& command) {
        try {
            command();
        } catch (...) {
            main->selectUnreadableSetting(
                {GageField::Minimum, GageField::Maximum, GageField::Datum});
            throw;
        }
    };
    QObject::connect(main, &MainWindow::sectionCheckRequested, check,
                     [check, &commands, readingSettings] {
                         commands.run([&] { readingSettings([check] { check->runCheck(); }); });
                     });
    QObject::connect(main, &MainWindow::sectionComparisonRequested, comparison,
                     [main, comparison, &commands, readingSettings] {
                         commands.run([&] {
                             readingSettings(
                                 [main, comparison] { comparison->compareWithFile(main); });
                         });
                     });
    IndexVelocityWindow* indexVelocity = indexVelocityWindow_.get();
    QObject::connect(main, &MainWindow::indexVelocityRequested, indexVelocity,
                     [indexVelocity, &commands] {
                         commands.run([indexVelocity] { indexVelocity->showWindow(); });
                     });
    QObject::connect(check, &SectionCheckWindow::pointRequested, main, &MainWindow::selectPoint);

    // A rating run drives the progress dialog, the edge warning and the bounds prompt.
    ProgressDialog* progress = progressDialog_.get();
    EdgeWarning* edge = edgeWarning_.get();
    Workspace* workspace = workspace_.get();
    QObject::connect(workspace, &Workspace::ratingProgressRange, progress,
                     &ProgressDialog::setRange);
    QObject::connect(workspace, &Workspace::ratingProgress, progress, &ProgressDialog::setPosition);
    QObject::connect(workspace, &Workspace::ratingBoundsTaken, prompt, &QWidget::hide);
    QObject::connect(workspace, &Workspace::ratingEdgeWarning, edge, [edge, &seam] {
        edge->setWindowModality(Qt::ApplicationModal);
        centreForShowing(*edge);
        seam.execModal(*edge);
    });
    QObject::connect(workspace, &Workspace::ratingComputing, progress, &ProgressDialog::showNow);
    QObject::connect(workspace, &Workspace::ratingRunEnded, progress, &QWidget::hide);
    QObject::connect(progress, &ProgressDialog::cancelRequested, workspace,
                     &Workspace::cancelRating);
}

void Program::showMainWindow() {
    presentWindow(*mainWindow_);
}

namespace {

// Writes pictures of the two main windows with the file opened and rated.
int takeScreenshots(Program& program, const QString& folder) {
    MainWindow* main = program.mainWindow();
    program.workspace().commands().run([main] { main->createRating(); });
    QApplication::processEvents();
    QDir().mkpath(folder);
    bool ok = true;
    auto grab = [&](QWidget* window, const QString& name) {
        window->raise();
        window->activateWindow();
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
        const QPixmap picture = window->grab();
        if (!picture.save(QDir(folder).filePath(name)))
            ok = false;
    };
    grab(main, QStringLiteral("main-window.png"));
    grab(program.ratingWindow(), QStringLiteral("rating-window.png"));
    return ok ? 0 : 1;
}

// Ends the program once the file has been opened: with 0 and the size of the section, or with
// 1 and the text of the box the opening put up (this runs inside the box's own event loop, and
// ending the program ends that loop too).
void quitAfterOpen(Program& program) {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        const QString text = box->text().replace(QLatin1Char('\n'), QLatin1Char(' '));
        std::fprintf(stderr, "korvadel: %s: %s\n", qUtf8Printable(box->windowTitle()),
                     qUtf8Printable(text));
        QCoreApplication::exit(1);
        return;
    }
    std::printf("%zu points\n", program.workspace().currentSection().stations.size());
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

QIcon programIcon() {
    QIcon icon;
    QDirIterator pictures(QStringLiteral(":/window-icon"), {QStringLiteral("*.png")}, QDir::Files,
                          QDirIterator::Subdirectories);
    while (pictures.hasNext())
        icon.addFile(pictures.next());
    return icon;
}

} // namespace

int runDesktopProgram(QApplication& application, const QStringList& arguments) {
    application.setApplicationName(QStringLiteral("Korvadel"));
    application.setApplicationVersion(QLatin1String(kVersion));
    QGuiApplication::setDesktopFileName(QLatin1String(kApplicationId));
    QApplication::setWindowIcon(programIcon());

    // Before the main window moves the working directory, against which FILE is taken.
    const StartupArguments start = parseStartupArguments(arguments);
    if (start.action == StartupArguments::Action::UsageError) {
        std::fprintf(stderr, "korvadel: %s\nTry 'korvadel --help' for more information.\n",
                     qUtf8Printable(start.error));
        return 2;
    }

    QtDesktopSeam seam;
    Program program(seam, NumberFormat{systemDecimalSeparator()});
    program.createWindows();
    QObject::connect(program.mainWindow(), &MainWindow::closed, &application,
                     &QCoreApplication::quit);
    program.showMainWindow();

    MainWindow* main = program.mainWindow();
    if (!start.screenshotFolder.isEmpty()) {
        int result = 1;
        QTimer::singleShot(300, &application, [&] {
            main->openFile(start.fileName);
            result = takeScreenshots(program, start.screenshotFolder);
            application.quit();
        });
        application.exec();
        return result;
    }
    if (!start.fileName.isEmpty()) {
        // Once the window is up, so that a box the file brings comes up over it.
        QTimer::singleShot(0, main, [&] {
            if (start.quitAfterOpen)
                QTimer::singleShot(0, main, [&] { quitAfterOpen(program); });
            main->openFile(start.fileName);
        });
    }
    return application.exec();
}

} // namespace korvadel
