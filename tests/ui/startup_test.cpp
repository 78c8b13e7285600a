// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and shut-down: the windows' order, and the working directory kept in LastDir.

#include "components/widgets/IncrementSpinBox.h"
#include "tests/support/Controls.h"
#include "tests/support/TestProgram.h"
#include "ui/AboutBox.h"
#include "ui/AdcpImportWarning.h"
#include "ui/BoundsPrompt.h"
#include "ui/EdgeWarning.h"
#include "ui/MainWindow.h"
#include "ui/ProgramSettings.h"
#include "ui/ProgressDialog.h"
#include "ui/RatingWindow.h"
#include "ui/Workspace.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvadel;

namespace {

// The settings store lives in a folder of the test's own, set before Qt reads the environment.
QTemporaryDir* configHome = nullptr;

QString storeFile() {
    return configHome->filePath(QStringLiteral("Korvadel.conf"));
}

void writeLastDir(const QVariant& value) {
    auto settings = openProgramSettings();
    settings->clear();
    if (value.isValid())
        settings->setValue(lastDirKey(), value);
    settings->sync();
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void windowsAreCreatedHiddenInOrder();
    void firstRunLeavesTheWorkingDirectoryAndStoresItOnClose();
    void restoresAStoredFolder();
    void folderThatNoLongerExistsIsIgnoredSilently();
    void valueThatIsNotTextReportsTheStore();
    void folderOfTheLastChosenFileIsStored();

private:
    QString startDir_;
};

void StartupTest::init() {
    startDir_ = QDir::currentPath();
    QFile::remove(storeFile());
}

void StartupTest::cleanup() {
    QDir::setCurrent(startDir_);
}

void StartupTest::windowsAreCreatedHiddenInOrder() {
    TestProgram program('.', false);
    for (QWidget* window :
         {static_cast<QWidget*>(program.main()), static_cast<QWidget*>(program.boundsPrompt()),
          static_cast<QWidget*>(program.ratingWindow()), static_cast<QWidget*>(program.aboutBox()),
          static_cast<QWidget*>(program.progressDialog()),
          static_cast<QWidget*>(program.importWarning()),
          static_cast<QWidget*>(program.edgeWarning())}) {
        QVERIFY(window);
        QVERIFY(!window->isVisible());
        QVERIFY(window->isWindow());
    }
    QCOMPARE(program.seam.messages.size(), 0);
    program.program.showMainWindow();
    QVERIFY(program.main()->isVisible());
}

void StartupTest::firstRunLeavesTheWorkingDirectoryAndStoresItOnClose() {
    QTemporaryDir here;
    QDir::setCurrent(here.path());
    {
        TestProgram program;
        QCOMPARE(program.seam.messages.size(), 0);
        QCOMPARE(QDir::currentPath(), here.path());
        program.main()->close();
        QCOMPARE(program.seam.messages.size(), 0);
    }
    QVERIFY(QFile::exists(storeFile()));
    QCOMPARE(QDir::fromNativeSeparators(openProgramSettings()->value(lastDirKey()).toString()),
             here.path());
    const QByteArray text = readFile(storeFile());
    QVERIFY2(text.contains("[General]"), text.constData());
    QVERIFY2(text.contains("LastDir="), text.constData());
}

void StartupTest::restoresAStoredFolder() {
    QTemporaryDir stored;
    writeLastDir(stored.path());
    TestProgram program;
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(QDir::currentPath(), stored.path());
}

void StartupTest::folderThatNoLongerExistsIsIgnoredSilently() {
    QString gone;
    {
        QTemporaryDir removed;
        gone = removed.path();
    }
    writeLastDir(gone);
    const QString before = QDir::currentPath();
    TestProgram program;
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(QDir::currentPath(), before);
}

void StartupTest::valueThatIsNotTextReportsTheStore() {
    writeLastDir(QStringList{QStringLiteral("a"), QStringLiteral("b")});
    const QString before = QDir::currentPath();
    TestProgram program('.', false);
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.first().kind, DesktopSeam::MessageKind::Plain);
    QCOMPARE(program.seam.messages.first().caption, QStringLiteral("Korvadel"));
    QCOMPARE(program.seam.messages.first().text, QStringLiteral("Error reading registry"));
    QCOMPARE(QDir::currentPath(), before);
    // The program goes on: the main window comes up with its blank row.
    program.program.showMainWindow();
    QCOMPARE(program.main()->workspace().document().points.rowCount(), std::size_t{1});
}

void StartupTest::folderOfTheLastChosenFileIsStored() {
    QTemporaryDir chosen;
    {
        TestProgram program;
        program.seam.chooseFile(chosen.filePath(QStringLiteral("section")));
        ui(program.main()).saveAction->trigger();
        ui(program.main()).exitAction->trigger();
        QVERIFY(!program.main()->isVisible());
    }
    QDir::setCurrent(startDir_);
    TestProgram next;
    QCOMPARE(QDir::currentPath(), chosen.path());
}

int main(int argc, char* argv[]) {
    QTemporaryDir home;
    configHome = &home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QApplication application(argc, argv);
    StartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "startup_test.moc"
