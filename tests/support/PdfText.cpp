// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/PdfText.h"

#include <QProcess>
#include <QXmlStreamReader>

namespace korvadel {

PdfPages readPdfWords(const QString& pdf) {
    constexpr double kMmPerPt = 25.4 / 72.0;
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-bbox-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qFatal("pdftotext failed on %s", qPrintable(pdf));
    QXmlStreamReader xml(p.readAllStandardOutput());
    PdfPages pages;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"page") {
            pages.append(QList<PdfWord>());
        } else if (xml.name() == u"word" && !pages.isEmpty()) {
            const auto a = xml.attributes();
            PdfWord w;
            w.xMm = a.value(QStringLiteral("xMin")).toDouble() * kMmPerPt;
            w.yMm = a.value(QStringLiteral("yMin")).toDouble() * kMmPerPt;
            w.x2Mm = a.value(QStringLiteral("xMax")).toDouble() * kMmPerPt;
            w.y2Mm = a.value(QStringLiteral("yMax")).toDouble() * kMmPerPt;
            w.text = xml.readElementText();
            pages.last().append(w);
        }
    }
    return pages;
}

QList<PdfWord> wordsNamed(const QList<PdfWord>& words, const QString& text) {
    QList<PdfWord> out;
    for (const PdfWord& w : words)
        if (w.text == text)
            out.append(w);
    return out;
}

} // namespace korvadel
