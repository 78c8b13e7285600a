// SPDX-License-Identifier: GPL-3.0-or-later
// Files opened from outside the program: named on the command line or dropped on the main
// window from a file manager. They must end as the File menu's commands end with the same file.

#include "io/InputFormats.h"
#include "model/CrossSectionDocument.h"
#include "tests/support/Controls.h"
#include "tests/support/TestProgram.h"
#include "ui/AdcpImportWarning.h"
#include "ui/MainWindow.h"
#include "ui/StartupArguments.h"
#include "ui/Workspace.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QUrl>
#include <QtTest>

using namespace korvadel;

namespace {

// What the document holds, for comparing two programs' documents.
QString documentText(const CrossSectionDocument& document) {
    QString text = QString::fromLatin1(document.description.c_str());
    const GageSettings& settings = document.settings;
    text += QStringLiteral("|%1|%2|%3|%4")
                .arg(QString::fromLatin1(settings.minimum.c_str()),
                     QString::fromLatin1(settings.maximum.c_str()))
                .arg(settings.increment())
                .arg(QString::fromLatin1(settings.datum.c_str()));
    const PointTable& points = document.points;
    for (std::size_t row = 0; row < points.rowCount(); ++row)
        text += QStringLiteral("|%1,%2").arg(points.stationAt(row)).arg(points.elevationAt(row));
    return text;
}

// Opens `path` through the menu command its kind belongs to, answering the dialog with it.
void openThroughMenu(TestProgram& program, const QString& path, InputFormat format) {
    MainWindow* main = program.main();
    program.seam.chooseFile(path);
    switch (format) {
    case InputFormat::CrossSection:
        ui(main).loadAction->trigger();
        break;
    case InputFormat::CommaDelimited:
        ui(main).importCommaDelimitedAction->trigger();
        break;
    case InputFormat::WinRiver:
        ui(main).importWinRiverAction->trigger();
        QVERIFY(program.importWarning()->isVisible());
        ui(program.importWarning()).continueButton->click();
        break;
    case InputFormat::HecRasGeometry:
        ui(main).importHecRasAction->trigger();
        break;
    case InputFormat::SurveyedPoints:
        QFAIL("no file name chooses surveyed points");
    }
}

// As file managers offer them: the addresses, and the same as text, which a text field takes.
std::unique_ptr<QMimeData> urlData(const QList<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    QStringList text;
    for (const QUrl& url : urls)
        text << url.toString();
    data->setText(text.join(QLatin1Char('\n')));
    return data;
}

// A drag over `target` and, when it is accepted, the drop; returns whether it was accepted.
bool dragAndDrop(QWidget* target, const QMimeData& data,
                 Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction) {
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    // A file manager that offers moving must never be told the file was moved.
    if (enter.dropAction() == Qt::MoveAction)
        return false;
    QDropEvent drop(QPointF(at), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    return drop.isAccepted() && drop.dropAction() != Qt::MoveAction;
}

} // namespace

class OpenFromOutsideTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void commandLineIsRead_data();
    void commandLineIsRead();
    void fileEndsAsTheMenuCommandEnds_data();
    void fileEndsAsTheMenuCommandEnds();
    void openedFileCanBeUndoneAndMovesTheWorkingDirectory();
    void droppedFileIsOpenedAnywhereOverTheWindow();
    void dragsThatAreNotOneLocalFileAreRefused();

private:
    QTemporaryDir* folder_ = nullptr;
    QString startDir_;
};

void OpenFromOutsideTest::init() {
    startDir_ = QDir::currentPath();
    folder_ = new QTemporaryDir;
    QVERIFY(folder_->isValid());
}

void OpenFromOutsideTest::cleanup() {
    QDir::setCurrent(startDir_);
    delete folder_;
}

void OpenFromOutsideTest::commandLineIsRead_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("fileName"); // relative to the working directory
    QTest::addColumn<QString>("error");
    using Action = StartupArguments::Action;
    const auto row = [](const char* name, QStringList arguments, Action action,
                        const char* fileName = "", const char* error = "") {
        arguments.prepend(QStringLiteral("korvadel"));
        QTest::newRow(name) << arguments << int(action) << QString::fromUtf8(fileName)
                            << QString::fromUtf8(error);
    };
    row("nothing", {}, Action::Run);
    row("a file", {QStringLiteral("a.kvd")}, Action::Run, "a.kvd");
    row("help wins", {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("--help")},
        Action::Help, "a", "one FILE at a time, not 2");
    row("-h", {QStringLiteral("-h")}, Action::Help);
    row("version", {QStringLiteral("--version"), QStringLiteral("--bad")}, Action::Version, "",
        "unknown option '--bad'");
    row("two files", {QStringLiteral("a.kvd"), QStringLiteral("b.csv")}, Action::UsageError,
        "a.kvd", "one FILE at a time, not 2");
    row("unknown option", {QStringLiteral("--open"), QStringLiteral("a.kvd")}, Action::UsageError,
        "a.kvd", "unknown option '--open'");
    row("a file named like an option", {QStringLiteral("--"), QStringLiteral("--help")},
        Action::Run, "--help");
    row("quit without a file", {QStringLiteral("--quit-after-open")}, Action::UsageError, "",
        "a FILE is needed");
}

void OpenFromOutsideTest::commandLineIsRead() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, fileName);
    QFETCH(QString, error);
    QDir::setCurrent(folder_->path());
    const StartupArguments parsed = parseStartupArguments(arguments);
    QCOMPARE(int(parsed.action), action);
    QCOMPARE(parsed.fileName, fileName.isEmpty() ? QString() : folder_->filePath(fileName));
    QCOMPARE(parsed.error, error);
}

void OpenFromOutsideTest::fileEndsAsTheMenuCommandEnds_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("replaced"); // the document is the file's; otherwise it is as it was
    const QString examples = QStringLiteral(KORVADEL_EXAMPLES "/");
    QTest::newRow("cross-section file")
        << examples + QStringLiteral("mill-creek.kvd") << int(InputFormat::CrossSection) << true;
    QTest::newRow("comma-delimited")
        << examples + QStringLiteral("bear-river.csv") << int(InputFormat::CommaDelimited) << true;
    QTest::newRow("ADCP output") << examples + QStringLiteral("clearwater_000t.000")
                                 << int(InputFormat::WinRiver) << true;
    // Either way the list of its cross sections comes up to pick one from.
    QTest::newRow("HEC-RAS geometry")
        << examples + QStringLiteral("willow-fork.g01") << int(InputFormat::HecRasGeometry) << true;
    QTest::newRow("missing section")
        << QStringLiteral("/nonexistent/section.kvd") << int(InputFormat::CrossSection) << false;
    QTest::newRow("missing csv in capitals")
        << QStringLiteral("/nonexistent/POINTS.CSV") << int(InputFormat::CommaDelimited) << false;
    QTest::newRow("folder named like a transect")
        << examples.chopped(1) << int(InputFormat::CrossSection) << false;
    // A program holds no section (its name chooses the cross-section reader).
    QTest::newRow("binary file") << QCoreApplication::applicationFilePath()
                                 << int(InputFormat::CrossSection) << false;
}

void OpenFromOutsideTest::fileEndsAsTheMenuCommandEnds() {
    QFETCH(QString, path);
    QFETCH(int, format);
    QFETCH(bool, replaced);
    TestProgram fromMenu;
    TestProgram fromOutside;
    for (TestProgram* program : {&fromMenu, &fromOutside}) {
        // Something to replace, with settings a cross-section file brings its own of.
        program->enterTrapezoid(QStringLiteral("7"));
        ui(program->main()).description->setText(QStringLiteral("before"));
        // Unsaved work: a load asks first either way (and is let go on); an import does not.
        if (InputFormat(format) == InputFormat::CrossSection)
            program->seam.answerSave(DesktopSeam::SaveAnswer::Discard);
        if (InputFormat(format) == InputFormat::HecRasGeometry)
            program->seam.onModal([](QDialog& picker) { picker.accept(); });
    }
    const QString before = documentText(fromMenu.document());
    openThroughMenu(fromMenu, path, InputFormat(format));
    fromOutside.main()->openFile(path);

    QCOMPARE(documentText(fromMenu.document()) != before, replaced);
    QCOMPARE(fromMenu.seam.messages.isEmpty(), replaced);
    QCOMPARE(documentText(fromOutside.document()), documentText(fromMenu.document()));
    QCOMPARE(ui(fromOutside.main()).description->text(), ui(fromMenu.main()).description->text());
    QCOMPARE(ui(fromOutside.main()).maximumStage->text(), ui(fromMenu.main()).maximumStage->text());
    QCOMPARE(fromOutside.seam.saveQuestions, fromMenu.seam.saveQuestions);
    QCOMPARE(fromOutside.seam.messages.size(), fromMenu.seam.messages.size());
    for (qsizetype i = 0; i < fromMenu.seam.messages.size(); ++i) {
        QCOMPARE(fromOutside.seam.messages[i].kind, fromMenu.seam.messages[i].kind);
        QCOMPARE(fromOutside.seam.messages[i].caption, fromMenu.seam.messages[i].caption);
        QCOMPARE(fromOutside.seam.messages[i].text, fromMenu.seam.messages[i].text);
    }
    // No dialog and no import warning: the file was chosen before the program saw it.
    QCOMPARE(fromOutside.seam.fileDialogs.size(), 0);
    QVERIFY(!fromOutside.importWarning()->isVisible());
    QCOMPARE(fromOutside.seam.unscripted, 0);
}

void OpenFromOutsideTest::openedFileCanBeUndoneAndMovesTheWorkingDirectory() {
    TestProgram program;
    program.enterTrapezoid(QStringLiteral("7"));
    const QString before = documentText(program.document());
    const QString path =
        writeFile(folder_->filePath(QStringLiteral("survey/points.csv")), "0,5\r\n4,1\r\n8,5\r\n");
    program.main()->openFile(path);
    QCOMPARE(program.document().points.rowCount(), std::size_t{3});
    QCOMPARE(QDir::currentPath(), folder_->filePath(QStringLiteral("survey")));
    QUndoStack& steps = program.workspace().history().stack();
    QCOMPARE(steps.undoText(), QStringLiteral("Import Points"));
    ui(program.main()).undoAction->trigger();
    QCOMPARE(documentText(program.document()), before);
}

void OpenFromOutsideTest::droppedFileIsOpenedAnywhereOverTheWindow() {
    const QString path = QStringLiteral(KORVADEL_EXAMPLES "/mill-creek.kvd");
    TestProgram reference;
    reference.main()->openFile(path);
    const QString loaded = documentText(reference.document());

    // Over the chart (the window's own), and over a text field, which would otherwise take the
    // file's address as text.
    TestProgram program;
    MainWindow* main = program.main();
    const auto data = urlData({QUrl::fromLocalFile(path)});
    for (QWidget* target : {static_cast<QWidget*>(main), static_cast<QWidget*>(ui(main).datum)}) {
        ui(main).newAction->trigger();
        ui(main).datum->setText(QStringLiteral("12"));
        program.seam.answerSave(DesktopSeam::SaveAnswer::Discard);
        QVERIFY(dragAndDrop(target, *data));
        QCOMPARE(documentText(program.document()), loaded);
        QCOMPARE(program.seam.messages.size(), 0);
    }
    // A file manager that offers only to link is answered with a link.
    ui(main).newAction->trigger();
    QVERIFY(dragAndDrop(main, *data, Qt::LinkAction));
    QCOMPARE(documentText(program.document()), loaded);
}

void OpenFromOutsideTest::dragsThatAreNotOneLocalFileAreRefused() {
    const QString examples = QStringLiteral(KORVADEL_EXAMPLES "/");
    const QUrl section = QUrl::fromLocalFile(examples + QStringLiteral("mill-creek.kvd"));
    TestProgram program;
    MainWindow* main = program.main();
    const QString empty = documentText(program.document());
    const struct {
        const char* name;
        std::unique_ptr<QMimeData> data;
        Qt::DropActions actions;
    } refused[] = {
        {"two files",
         urlData({section, QUrl::fromLocalFile(examples + QStringLiteral("bear-river.csv"))}),
         Qt::CopyAction},
        {"a web address", urlData({QUrl(QStringLiteral("https://example.org/mill-creek.kvd"))}),
         Qt::CopyAction},
        {"only a move", urlData({section}), Qt::MoveAction},
    };
    for (const auto& drag : refused) {
        for (QWidget* target :
             {static_cast<QWidget*>(main), static_cast<QWidget*>(ui(main).description)}) {
            QVERIFY2(!dragAndDrop(target, *drag.data, drag.actions), drag.name);
            QCOMPARE(ui(main).description->text(), QString());
        }
    }
    QCOMPARE(documentText(program.document()), empty);
    QCOMPARE(program.seam.messages.size(), 0);
}

QTEST_MAIN(OpenFromOutsideTest)
#include "open_from_outside_test.moc"
