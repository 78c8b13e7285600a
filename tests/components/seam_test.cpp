// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces of the desktop seam that have rules of their own: the error box text, the boxes the
// command runner shows, the filter translation, the code page conversion, the decimal separator
// of the locale, and the scripted seam's file dialog, which must move the working directory as
// the real one does.

#include "components/desktop/CommandRunner.h"
#include "components/desktop/DesktopSeam.h"
#include "components/desktop/TextCodec.h"
#include "io/CrossSectionFile.h"
#include "model/Error.h"
#include "tests/support/ScriptedSeam.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <new>

using namespace korvadel;

class SeamTest : public QObject {
    Q_OBJECT
private slots:
    void errorBoxText_data();
    void errorBoxText();
    void errorAndPlainBoxes();
    void commandFailures();
    void nameFilters_data();
    void nameFilters();
    void nameFiltersShowBothCases();
    void codePage();
    void decimalSeparatorOfTheLocale_data();
    void decimalSeparatorOfTheLocale();
    void scriptedFileDialog();
};

void SeamTest::errorBoxText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << QStringLiteral("File not found")
                            << QStringLiteral("File not found.");
    QTest::newRow("digit") << QStringLiteral("I/O error 32") << QStringLiteral("I/O error 32.");
    QTest::newRow("quote") << QStringLiteral("'x' is not valid '")
                           << QStringLiteral("'x' is not valid '");
    QTest::newRow("full stop") << QStringLiteral("Done.") << QStringLiteral("Done.");
    QTest::newRow("bang") << QStringLiteral("Oops!") << QStringLiteral("Oops!");
    QTest::newRow("paren") << QStringLiteral("(Excel)") << QStringLiteral("(Excel)");
    QTest::newRow("dash sorts before") << QStringLiteral("a-") << QStringLiteral("a-");
    QTest::newRow("slash sorts after") << QStringLiteral("a/") << QStringLiteral("a/.");
    QTest::newRow("quote mark") << QStringLiteral("\"%s\"") << QStringLiteral("\"%s\"");
    QTest::newRow("accented") << QStringLiteral(u"caf\u00e9") << QStringLiteral(u"caf\u00e9.");
    QTest::newRow("empty") << QString() << QString();
}

void SeamTest::errorBoxText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(DesktopSeam::errorBoxText(message), shown);
}

void SeamTest::errorAndPlainBoxes() {
    ScriptedSeam seam;
    seam.showError(nullptr, QStringLiteral("Disk full"));
    seam.showPlain(nullptr, QStringLiteral("Error reading registry"));
    QCOMPARE(seam.messages.size(), 2);
    QCOMPARE(seam.messages[0].kind, DesktopSeam::MessageKind::Error);
    QCOMPARE(seam.messages[0].caption, QStringLiteral("Korvadel"));
    QCOMPARE(seam.messages[0].text, QStringLiteral("Disk full."));
    QCOMPARE(seam.messages[1].kind, DesktopSeam::MessageKind::Plain);
    QCOMPARE(seam.messages[1].caption, QStringLiteral("Korvadel"));
    QCOMPARE(seam.messages[1].text, QStringLiteral("Error reading registry"));
}

void SeamTest::commandFailures() {
    using Kind = DesktopSeam::MessageKind;
    struct Case {
        std::function<void()> command;
        Kind kind;
        QString caption;
        QString text;
    };
    const QString title = QStringLiteral("Korvadel");
    // File names arrive in UTF-8, texts from a file in the code page.
    const Case cases[] = {
        {[] { throw std::bad_alloc(); }, Kind::Error, title, QStringLiteral("Out of memory.")},
        {[] {
             throw Error("Cannot create file \"/tmp/Ma\xC3\xB1"
                         "ana.csv\". No such file");
         },
         Kind::Error, title,
         QStringLiteral(u"Cannot create file \"/tmp/Ma\u00f1ana.csv\". No such file.")},
        {[] { throw Error("'caf\xE9' is not a valid floating point value"); }, Kind::Error, title,
         QStringLiteral(u"'caf\u00e9' is not a valid floating point value.")},
        {[] { throw UnableToAccessFile(); }, Kind::Warning, QStringLiteral("Warning"),
         QStringLiteral("Unable to access file!\nFile may already be open in\nanother program "
                        "(Excel).")},
    };
    for (const Case& c : cases) {
        ScriptedSeam seam;
        CommandRunner commands(seam);
        QVERIFY(!commands.run(c.command));
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].kind, c.kind);
        QCOMPARE(seam.messages[0].caption, c.caption);
        QCOMPARE(seam.messages[0].text, c.text);
    }
}

void SeamTest::nameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("qt");
    QTest::newRow("named patterns")
        << QStringLiteral("Korvadel File (*.kvd)|*.kvd|All Files (*.*)|*.*")
        << QStringList{QStringLiteral("Korvadel File (*.kvd *.KVD)"),
                       QStringLiteral("All Files (*.*)")};
    QTest::newRow("named in small letters, patterns in capitals")
        << QStringLiteral(
               "CSV (Comma delimited) (*.csv)|*.CSV|Text (Comma delimited) (*.txt)|*.TXT")
        << QStringList{QStringLiteral("CSV (Comma delimited) (*.csv *.CSV)"),
                       QStringLiteral("Text (Comma delimited) (*.txt *.TXT)")};
    QTest::newRow("bare descriptions")
        << QStringLiteral("Text|*.txt;*.Csv|Any|*")
        << QStringList{QStringLiteral("Text (*.txt *.TXT *.csv *.Csv *.CSV)"),
                       QStringLiteral("Any (*)")};
    QTest::newRow("description naming other patterns")
        << QStringLiteral("WinRiver (*t.000)|*t.000;*ASC.TXT")
        << QStringList{QStringLiteral("WinRiver (*t.000) (*t.000 *T.000 *asc.txt *ASC.TXT)")};
    QTest::newRow("dangling description") << QStringLiteral("Only") << QStringList{};
}

void SeamTest::nameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, qt);
    QCOMPARE(DesktopSeam::qtNameFilters(filter), qt);
}

// A platform dialog matches the patterns of the last parentheses as written; a file of the
// filter's kind is shown whatever the case of its name.
void SeamTest::nameFiltersShowBothCases() {
    const QString filter = QStringLiteral("CSV (Comma Delimited) Files (*.csv)|*.CSV|"
                                          "WinRiver Ascii Out Files|*t.000;*ASC.TXT");
    const QStringList names[] = {
        {QStringLiteral("x.csv"), QStringLiteral("X.CSV")},
        {QStringLiteral("a_000t.000"), QStringLiteral("A_000T.000"), QStringLiteral("bASC.TXT"),
         QStringLiteral("b_asc.txt")},
    };
    const QStringList qt = DesktopSeam::qtNameFilters(filter);
    QCOMPARE(qt.size(), 2);
    for (int entry = 0; entry < 2; ++entry) {
        const QString& text = qt[entry];
        const qsizetype open = text.lastIndexOf(QLatin1Char('('));
        const QStringList patterns =
            text.mid(open + 1, text.size() - open - 2).split(QLatin1Char(' '));
        for (const QString& name : names[entry]) {
            bool shown = false;
            for (const QString& pattern : patterns)
                shown = shown || QRegularExpression::fromWildcard(pattern, Qt::CaseSensitive)
                                     .match(name)
                                     .hasMatch();
            QVERIFY2(shown, qPrintable(text + QStringLiteral(" hides ") + name));
        }
    }
}

void SeamTest::codePage() {
    // Every byte survives a round trip; the high range maps to the code page's characters.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString text = fromFileText(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text[0x80], QChar(0x20AC));
    QCOMPARE(text[0x92], QChar(0x2019));
    QCOMPARE(text[0xE9], QChar(0x00E9));
    QVERIFY(toFileText(text) == all);
    // What the code page cannot hold becomes '?', one per character.
    QCOMPARE(QString::fromLatin1(toFileText(QStringLiteral(u"a\u0416b\U0001F600c"))),
             QStringLiteral("a?b?c"));
    QCOMPARE(toFileText(QStringLiteral(u"\u20ac\u0153")), std::string("\x80\x9c"));
}

// The locale is read once per process, so each row runs in a copy of this test started in that
// locale.
void SeamTest::decimalSeparatorOfTheLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("separator");
    QTest::newRow("C") << QStringLiteral("C") << QStringLiteral(".");
    QTest::newRow("German") << QStringLiteral("de_DE.UTF-8") << QStringLiteral(",");
    QTest::newRow("Swiss German") << QStringLiteral("de_CH.UTF-8") << QStringLiteral(".");
    // The Arabic decimal separator is not in the code page.
    QTest::newRow("Egyptian Arabic") << QStringLiteral("ar_EG.UTF-8") << QStringLiteral(".");
}

void SeamTest::decimalSeparatorOfTheLocale() {
    QFETCH(QString, locale);
    QFETCH(QString, separator);
    if (qEnvironmentVariable("LC_ALL") == locale &&
        qEnvironmentVariableIsSet("KORVADEL_IN_LOCALE")) {
        QCOMPARE(QString(QLatin1Char(systemDecimalSeparator())), separator);
        return;
    }
    QProcess copy;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), locale);
    environment.insert(QStringLiteral("KORVADEL_IN_LOCALE"), QStringLiteral("1"));
    copy.setProcessEnvironment(environment);
    copy.setProcessChannelMode(QProcess::MergedChannels);
    copy.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("decimalSeparatorOfTheLocale:") +
                QString::fromLatin1(QTest::currentDataTag())});
    QVERIFY(copy.waitForFinished(60000));
    QVERIFY2(copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0,
             copy.readAll().constData());
}

void SeamTest::scriptedFileDialog() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
    const QString start = QDir::currentPath();
    QDir::setCurrent(dir.path());

    ScriptedSeam seam;
    FileDialogState state;
    state.kind = FileDialogState::Kind::Save;
    state.filter = QStringLiteral("Korvadel File (*.kvd)|*.kvd|All Files (*.*)|*.*");
    state.defaultExtension = QStringLiteral("kvd");

    seam.cancelFileDialog();
    QVERIFY(!seam.runFileDialog(nullptr, state));
    QCOMPARE(QDir::currentPath(), QDir(dir.path()).canonicalPath());

    seam.chooseFile(QStringLiteral("sub/section"), 2);
    QVERIFY(seam.runFileDialog(nullptr, state));
    const QString sub = QDir(dir.path()).canonicalPath() + QStringLiteral("/sub");
    QCOMPARE(state.fileName, QDir::toNativeSeparators(sub + QStringLiteral("/section.kvd")));
    QCOMPARE(state.filterIndex, 2);
    QCOMPARE(QDir::current().canonicalPath(), sub);

    // A name with an extension keeps it; an unscripted dialog is cancelled and counted.
    seam.chooseFile(QStringLiteral("points.csv"));
    QVERIFY(seam.runFileDialog(nullptr, state));
    QCOMPARE(state.fileName, QDir::toNativeSeparators(sub + QStringLiteral("/points.csv")));
    QVERIFY(!seam.runFileDialog(nullptr, state));
    QCOMPARE(seam.unscripted, 1);
    QCOMPARE(seam.fileDialogs.size(), 4);
    QDir::setCurrent(start);
}

QTEST_MAIN(SeamTest)
#include "seam_test.moc"
