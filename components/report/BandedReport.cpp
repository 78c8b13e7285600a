// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/report/BandedReport.h"

#include <cerrno>
#include <cstring>

#include "model/Error.h"

#include <QFile>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace korvadel {

namespace {

// Band heights such as 5.03 mm are not exact in binary; a band that fits to the micrometre fits.
constexpr double kFitTolerance = 1e-6;

void placeBand(ReportPage& page, const ReportBand& band, double xMm, double yMm,
               const ReportFieldSource* field, std::size_t row) {
    for (const BandText& t : band.texts) {
        QString text = t.field >= 0 && field ? (*field)(row, t.field) : t.text;
        if (text.isEmpty())
            continue;
        const double width = t.widthMm > 0 ? t.widthMm : band.widthMm - t.leftMm;
        const double height = band.heightMm - t.topMm;
        page.items.push_back(
            ReportTextItem{QRectF(xMm + t.leftMm, yMm + t.topMm, width, height > 0 ? height : 0),
                           t.centred, std::move(text)});
    }
}

} // namespace

ReportDocument layOutReport(const BandedReportDefinition& def, std::size_t rowCount,
                            const ReportFieldSource& field) {
    ReportDocument doc;
    doc.name = def.name;
    doc.pageSizeMm = def.page.sizeMm;
    doc.fontFamily = def.fontFamily;
    doc.fontPointSize = def.fontPointSize;

    const double bottomLimit = def.page.sizeMm.height() - def.page.marginsMm.bottom();
    const int columns = def.columns > 0 ? def.columns : 1;
    // Rows per page are at most a few hundred; reserving avoids regrowing the item lists.
    const std::size_t itemsPerRow = def.detail.texts.size();

    doc.pages.emplace_back();
    double columnTop = def.page.marginsMm.top();
    if (def.title.heightMm > 0) {
        placeBand(doc.pages.back(), def.title, def.page.marginsMm.left(), def.page.marginsMm.top(),
                  nullptr, 0);
        columnTop += def.title.heightMm;
    }

    int column = 0;
    double y = columnTop;
    bool headerPlaced = false;
    bool columnUsed = false;
    for (std::size_t row = 0; row < rowCount; ++row) {
        double need = def.detail.heightMm + (headerPlaced ? 0 : def.columnHeader.heightMm);
        if (columnUsed && y + need > bottomLimit + kFitTolerance) {
            if (++column == columns) {
                column = 0;
                doc.pages.emplace_back();
                doc.pages.back().items.reserve(itemsPerRow * 160);
                columnTop = def.page.marginsMm.top();
            }
            y = columnTop;
            headerPlaced = false;
            columnUsed = false;
            need = def.detail.heightMm + def.columnHeader.heightMm;
        }
        const double x = def.page.marginsMm.left() + column * def.columnWidthMm;
        ReportPage& page = doc.pages.back();
        if (!headerPlaced) {
            // The header goes down together with the first row below it, so a column never
            // ends on a lone header.
            placeBand(page, def.columnHeader, x, y, nullptr, 0);
            y += def.columnHeader.heightMm;
            headerPlaced = true;
        }
        placeBand(page, def.detail, x, y, &field, row);
        y += def.detail.heightMm;
        columnUsed = true;
    }
    return doc;
}

void renderReportPage(QPainter& painter, const ReportDocument& document, std::size_t page,
                      QPointF originPx, double pxPerMm) {
    if (page >= document.pages.size())
        return;
    QFont font(document.fontFamily);
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    // Point sizes are resolved against the device resolution; scale so that the text keeps its
    // size relative to the paper at any zoom.
    font.setPointSizeF(document.fontPointSize * pxPerMm * 25.4 / dpi);
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (const ReportTextItem& item : document.pages[page].items) {
        const QRectF& b = item.boxMm;
        const QRectF box(originPx.x() + b.x() * pxPerMm, originPx.y() + b.y() * pxPerMm,
                         b.width() * pxPerMm, b.height() * pxPerMm);
        const int flags = (item.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop |
                          Qt::TextDontClip | Qt::TextSingleLine;
        painter.drawText(box, flags, item.text);
    }
    for (const ReportPictureItem& item : document.pages[page].pictures) {
        QImage image;
        if (!image.loadFromData(item.picture, "PNG"))
            continue;
        const QRectF& b = item.boxMm;
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(originPx.x() + b.x() * pxPerMm, originPx.y() + b.y() * pxPerMm,
                                 b.width() * pxPerMm, b.height() * pxPerMm),
                          image);
        painter.restore();
    }
    painter.restore();
}

void paintReport(QPainter& painter, QPagedPaintDevice& device, const ReportDocument& document) {
    std::vector<std::size_t> pages(document.pages.size());
    std::iota(pages.begin(), pages.end(), std::size_t{0});
    paintReportPages(painter, device, document, pages);
}

void paintReportPages(QPainter& painter, QPagedPaintDevice& device, const ReportDocument& document,
                      std::span<const std::size_t> pages) {
    const double pxPerMm = device.logicalDpiX() / 25.4;
    bool first = true;
    for (const std::size_t page : pages) {
        if (page >= document.pages.size())
            continue;
        if (!first)
            device.newPage();
        first = false;
        renderReportPage(painter, document, page, QPointF(0, 0), pxPerMm);
    }
}

void writeReportPdf(const ReportDocument& document, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Cannot create file \"%1\". %2")
                        .arg(path, file.errorString())
                        .toStdString());
    {
        QPdfWriter writer(&file);
        writer.setTitle(document.name);
        writer.setCreator(QStringLiteral("Korvadel"));
        writer.setPageLayout(QPageLayout(QPageSize(document.pageSizeMm, QPageSize::Millimeter),
                                         QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                         QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer))
            throw Error(QStringLiteral("Cannot create file \"%1\".").arg(path).toStdString());
        paintReport(painter, writer, document);
        painter.end();
    }
    if (!file.commit())
        throw Error(QStringLiteral("Cannot create file \"%1\". %2")
                        .arg(path, file.errorString())
                        .toStdString());
}

// ---- The report file ------------------------------------------------------------------------
//
//   KORVADEL-REPORT 1
//   name <TAB> text
//   page <TAB> width mm <TAB> height mm
//   font <TAB> family <TAB> point size
//   pages <TAB> count
//   then for every page: "p <TAB> item count" and one line per item:
//   t <TAB> left <TAB> top <TAB> width <TAB> height <TAB> L|C <TAB> text
//   end
//
// UTF-8, LF line ends; tabs, line breaks and backslashes inside texts are escaped.

namespace {

const QString kMagic = QStringLiteral("KORVADEL-REPORT");
constexpr int kVersion = 2; // 2: drawings
constexpr qint64 kMaxReportFileBytes = 512ll * 1024 * 1024;

QString escapeText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool unescapeText(QStringView text, QString& out) {
    out.clear();
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i].unicode()) {
        case '\\':
            out += u'\\';
            break;
        case 't':
            out += u'\t';
            break;
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        default:
            return false;
        }
    }
    return true;
}

QString number(double v) {
    return QString::number(v, 'g', 17);
}

class ReportReader {
public:
    ReportReader(const QString& path, QString text) : path_(path), text_(std::move(text)) {}

    ReportDocument read() {
        QStringView first = nextLine();
        const QList<QStringView> magic = first.split(u' ');
        if (magic.size() != 2 || magic[0] != kMagic)
            throw Error(
                QStringLiteral("\"%1\" is not a Korvadel report file.").arg(path_).toStdString());
        bool ok = false;
        const int version = magic[1].toInt(&ok);
        if (!ok || version < 1)
            damaged();
        if (version > kVersion)
            throw Error(QStringLiteral("The report \"%1\" was saved by a newer version of "
                                       "Korvadel (report format %2) and cannot be read.")
                            .arg(path_)
                            .arg(version)
                            .toStdString());

        ReportDocument doc;
        auto fields = expect(u"name", 2);
        if (!unescapeText(fields[1], doc.name))
            damaged();
        fields = expect(u"page", 3);
        doc.pageSizeMm = QSizeF(positive(fields[1]), positive(fields[2]));
        fields = expect(u"font", 3);
        if (!unescapeText(fields[1], doc.fontFamily))
            damaged();
        doc.fontPointSize = positive(fields[2]);
        fields = expect(u"pages", 2);
        const qsizetype pages = count(fields[1]);
        doc.pages.resize(static_cast<std::size_t>(pages));
        for (ReportPage& page : doc.pages) {
            fields = nextLine().split(u'\t');
            if (fields.size() < 2 || fields.size() > 3 || fields[0] != u"p")
                damaged();
            const qsizetype items = count(fields[1]);
            const qsizetype pictures = fields.size() == 3 ? count(fields[2]) : 0;
            page.items.reserve(static_cast<std::size_t>(items));
            for (qsizetype i = 0; i < items; ++i) {
                fields = expect(u"t", 7);
                ReportTextItem item;
                item.boxMm =
                    QRectF(real(fields[1]), real(fields[2]), real(fields[3]), real(fields[4]));
                if (fields[5] == u"C")
                    item.centred = true;
                else if (fields[5] != u"L")
                    damaged();
                if (!unescapeText(fields[6], item.text))
                    damaged();
                page.items.push_back(std::move(item));
            }
            for (qsizetype i = 0; i < pictures; ++i) {
                fields = expect(u"g", 8);
                ReportPictureItem item;
                item.boxMm =
                    QRectF(real(fields[1]), real(fields[2]), real(fields[3]), real(fields[4]));
                item.sizePx = QSizeF(positive(fields[5]), positive(fields[6]));
                item.picture = QByteArray::fromBase64(fields[7].toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
                if (item.picture.isEmpty())
                    damaged();
                page.pictures.push_back(std::move(item));
            }
        }
        expect(u"end", 1);
        return doc;
    }

private:
    [[noreturn]] void damaged() const {
        throw Error(QStringLiteral("The report \"%1\" is damaged (line %2).")
                        .arg(path_)
                        .arg(lineNumber_)
                        .toStdString());
    }

    QStringView nextLine() {
        ++lineNumber_;
        if (pos_ >= text_.size())
            damaged();
        qsizetype end = text_.indexOf(u'\n', pos_);
        if (end < 0)
            end = text_.size();
        QStringView line = QStringView(text_).mid(pos_, end - pos_);
        pos_ = end + 1;
        if (line.endsWith(u'\r'))
            line.chop(1);
        return line;
    }

    QList<QStringView> expect(QStringView key, qsizetype fieldCount) {
        QList<QStringView> fields = nextLine().split(u'\t');
        if (fields.size() != fieldCount || fields[0] != key)
            damaged();
        return fields;
    }

    double real(QStringView s) {
        bool ok = false;
        const double v = s.toDouble(&ok);
        if (!ok || !std::isfinite(v))
            damaged();
        return v;
    }

    double positive(QStringView s) {
        const double v = real(s);
        if (v <= 0)
            damaged();
        return v;
    }

    qsizetype count(QStringView s) {
        bool ok = false;
        const qlonglong v = s.toLongLong(&ok);
        // Each page and item takes at least a line of the file, which bounds any honest count.
        if (!ok || v < 0 || v > text_.size())
            damaged();
        return static_cast<qsizetype>(v);
    }

    QString path_;
    QString text_;
    qsizetype pos_ = 0;
    int lineNumber_ = 0;
};

} // namespace

void saveReport(const ReportDocument& document, const QString& path) {
    QString out;
    std::size_t items = 0;
    for (const ReportPage& p : document.pages)
        items += p.items.size();
    out.reserve(static_cast<qsizetype>(200 + items * 48));
    // A report without drawings stays readable by the versions before them.
    const bool drawings = std::any_of(document.pages.begin(), document.pages.end(),
                                      [](const ReportPage& p) { return !p.pictures.empty(); });
    out += kMagic + u' ' + QString::number(drawings ? kVersion : 1) + u'\n';
    out += QStringLiteral("name\t") + escapeText(document.name) + u'\n';
    out += QStringLiteral("page\t") + number(document.pageSizeMm.width()) + u'\t' +
           number(document.pageSizeMm.height()) + u'\n';
    out += QStringLiteral("font\t") + escapeText(document.fontFamily) + u'\t' +
           number(document.fontPointSize) + u'\n';
    out += QStringLiteral("pages\t") + QString::number(document.pages.size()) + u'\n';
    for (const ReportPage& page : document.pages) {
        out += QStringLiteral("p\t") + QString::number(page.items.size());
        if (!page.pictures.empty())
            out += u'\t' + QString::number(page.pictures.size());
        out += u'\n';
        for (const ReportTextItem& item : page.items) {
            const QRectF& b = item.boxMm;
            out += QStringLiteral("t\t") + number(b.x()) + u'\t' + number(b.y()) + u'\t' +
                   number(b.width()) + u'\t' + number(b.height()) + u'\t' +
                   (item.centred ? u'C' : u'L') + u'\t' + escapeText(item.text) + u'\n';
        }
        for (const ReportPictureItem& item : page.pictures) {
            const QRectF& b = item.boxMm;
            out += QStringLiteral("g\t") + number(b.x()) + u'\t' + number(b.y()) + u'\t' +
                   number(b.width()) + u'\t' + number(b.height()) + u'\t' +
                   number(item.sizePx.width()) + u'\t' + number(item.sizePx.height()) + u'\t' +
                   QString::fromLatin1(item.picture.toBase64()) + u'\n';
        }
    }
    out += QStringLiteral("end\n");

    // Unbuffered, so a failing write (a full disk) reports the system's reason; the buffered
    // failure only surfaces in commit(), which no longer knows why.
    QSaveFile file(path);
    const QByteArray bytes = out.toUtf8();
    const auto cannotCreate = [&] {
        return Error(QStringLiteral("Cannot create file \"%1\". %2")
                         .arg(path, file.errorString())
                         .toStdString());
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw cannotCreate();
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        // Qt keeps no reason for a short write; the system still has it.
        const int code = errno;
        if (code != 0)
            throw Error(QStringLiteral("Cannot create file \"%1\". %2")
                            .arg(path, QString::fromLocal8Bit(std::strerror(code)))
                            .toStdString());
        throw cannotCreate();
    }
    if (!file.commit())
        throw cannotCreate();
}

ReportDocument loadReport(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2")
                        .arg(path, file.errorString())
                        .toStdString());
    // Check the marker before reading a possibly huge foreign file.
    const QByteArray head = file.peek(kMagic.size());
    if (head != kMagic.toLatin1())
        throw Error(
            QStringLiteral("\"%1\" is not a Korvadel report file.").arg(path).toStdString());
    if (file.size() > kMaxReportFileBytes)
        throw Error(
            QStringLiteral("The report \"%1\" is too large to load.").arg(path).toStdString());
    const QByteArray bytes = file.readAll();
    return ReportReader(path, QString::fromUtf8(bytes)).read();
}

} // namespace korvadel
