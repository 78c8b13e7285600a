// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Words of a PDF file with their boxes in millimetres from the page's top-left corner, read
// with poppler's `pdftotext -bbox-layout`; for checking where printed text landed.

#include <QList>
#include <QString>

namespace korvadel {

struct PdfWord {
    QString text;
    double xMm = 0, yMm = 0, x2Mm = 0, y2Mm = 0;
};
using PdfPages = QList<QList<PdfWord>>;

// One list of words per page. Fails the running test program when pdftotext cannot run.
PdfPages readPdfWords(const QString& pdf);

QList<PdfWord> wordsNamed(const QList<PdfWord>& words, const QString& text);

} // namespace korvadel
