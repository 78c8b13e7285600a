// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/TestProgram.h"
#include "tests/support/Controls.h"
#include "tests/support/Tables.h"

#include "components/widgets/IncrementSpinBox.h"
#include "ui/MainWindow.h"
#include "ui/Workspace.h"

#include <QLineEdit>
#include <QPushButton>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

namespace korvadel {

namespace {

// The offscreen platform complains about every raise(); the windows raise themselves as they
// should on a desktop, so those lines are only noise here.
QtMessageHandler previousHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support")))
        return;
    previousHandler(type, context, message);
}

} // namespace

void quietenOffscreenRaise() {
    static const bool installed = [] {
        previousHandler = qInstallMessageHandler(quietHandler);
        return true;
    }();
    (void)installed;
}

TestProgram::TestProgram(char decimalSeparator, bool show)
    : program(seam, NumberFormat{decimalSeparator}) {
    quietenOffscreenRaise();
    program.createWindows();
    if (show) {
        program.showMainWindow();
        activate(main());
    }
}

CrossSectionDocument& TestProgram::document() const {
    return workspace().document();
}

RatingTable& TestProgram::rating() const {
    return workspace().rating();
}

void TestProgram::enterTrapezoid(const QString& maxStage) {
    setTrapezoid(document().points);
    ui(main()).maximumStage->setText(maxStage);
    ui(main()).stageIncrement->setIncrement(1.0);
}

void TestProgram::rateTrapezoid(const QString& maxStage) {
    enterTrapezoid(maxStage);
    ui(main()).createRatingButton->click();
}

void TestProgram::activate(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window))
        qWarning("window %s did not become active", qPrintable(window->objectName()));
}

QString writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
    return path;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace korvadel
