#include "support/TestProgram.h"

#include "ui/Main.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

namespace korvadel {

TestProgram::TestProgram(char decimalSeparator, bool show)
    : program(seam, NumberFormat{decimalSeparator})
{
    program.createWindows();
    if (show) {
        program.showMainWindow();
        activate(main());
    }
}

void TestProgram::activate(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window))
        qWarning("window %s did not become active", qPrintable(window->objectName()));
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace korvadel
