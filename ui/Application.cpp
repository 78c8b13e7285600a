#include "ui/Application.h"

#include "components/Chart.h"
#include "components/QtDesktopSeam.h"
#include "components/ScreenPlacement.h"
#include "components/TextCodec.h"
#include "io/CrossSectionFile.h"
#include "ui/ElevWarn.h"
#include "ui/Importwarning.h"
#include "ui/Main.h"
#include "ui/Placement.h"
#include "ui/Progress.h"
#include "ui/SAForm.h"
#include "ui/Unit3.h"
#include "ui/about.h"
#include "ui/tableprompt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace korvadel {

Program::Program(DesktopSeam& seam, NumberFormat format) {
    context_.seam = &seam;
    context_.format = format;
}

Program::~Program() {
    Windows& w = context_.windows;
    delete w.Form3;
    delete w.EWForm;
    delete w.WarningForm;
    delete w.ProgressForm;
    delete w.AboutBox1;
    // The rating window before the main window: its commands report through the main window.
    delete w.Form2;
    delete w.PromptWindow;
    delete w.Form1;
    w = Windows{};
}

void Program::createWindows() {
    // One font for every window, box and dialog: the one their fixed layouts are measured for.
    QApplication::setFont(designFont(QApplication::font()));
    Windows& w = context_.windows;
    w.Form1 = new TForm1(context_);
    w.PromptWindow = new TPromptWindow(context_.format.decimalSeparator);
    w.Form2 = new TForm2(context_);
    w.AboutBox1 = new TAboutBox1();
    w.ProgressForm = new TProgressForm();
    w.WarningForm = new TWarningForm();
    w.EWForm = new TEWForm();
    w.Form3 = new TForm3(*context_.seam, context_.format);

    TForm1* main = w.Form1;
    context_.commands.route(w.PromptWindow, &TPromptWindow::okClicked,
                            [main] { main->CreateRatingFromPrompt(); });
    context_.commands.route(w.WarningForm, &TWarningForm::continueClicked,
                            [main] { main->runWinRiverImport(); });
}

void Program::showMainWindow() {
    TForm1* main = context_.windows.Form1;
    centreOnScreen(main);
    main->show();
    main->raise();
    main->activateWindow();
}

namespace {

// Writes pictures of the two main windows with `fileName` loaded and rated.
int takeScreenshots(Program& program, const QString& folder, const QString& fileName) {
    TForm1* main = program.windows().Form1;
    main->runCommand([&] {
        loadCrossSection(QFile::encodeName(fileName).toStdString(), main->document(),
                         program.context().format);
        main->documentToFields();
        main->DBChart1->refreshFromTable();
    });
    main->Button1Click();
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
    grab(program.windows().Form2, QStringLiteral("rating-window.png"));
    return ok ? 0 : 1;
}

} // namespace

int runDesktopProgram(QApplication& application, const QStringList& arguments) {
    application.setApplicationName(QStringLiteral("Korvadel"));
    QtDesktopSeam seam;
    Program program(seam, NumberFormat{systemDecimalSeparator()});
    program.createWindows();
    QObject::connect(program.windows().Form1, &TForm1::formClosed, &application,
                     &QCoreApplication::quit);
    program.showMainWindow();

    const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
    if (at >= 0 && at + 2 < arguments.size()) {
        const QString folder = arguments.at(at + 1);
        const QString fileName = arguments.at(at + 2);
        int result = 1;
        QTimer::singleShot(300, &application, [&] {
            result = takeScreenshots(program, folder, fileName);
            application.quit();
        });
        application.exec();
        return result;
    }
    return application.exec();
}

} // namespace korvadel
