// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/TextCodec.h"

#include "io/FileError.h"

#include <QFile>
#include <QLocale>

#include <array>
#include <new>

namespace korvadel {

namespace {

// Bytes 0x80..0x9F of Windows-1252; 0 marks the five codes the code page leaves undefined,
// which are read as the C1 control of the same number, as the platform's own conversion does.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t decodeByte(unsigned char b) {
    if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0)
        return kHigh[b - 0x80];
    return b;
}

char encodeUnit(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    }
    // The undefined codes come back as themselves so that reading and writing a file keeps
    // its bytes.
    if (c >= 0x80 && c < 0xA0 && kHigh[c - 0x80] == 0)
        return static_cast<char>(c);
    return '?';
}

} // namespace

std::string toFileText(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A character outside the basic plane is one character to the user: one '?'.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            bytes.push_back('?');
            ++i;
            continue;
        }
        bytes.push_back(encodeUnit(c.unicode()));
    }
    return bytes;
}

QString fromFileText(const std::string& bytes) {
    QString text;
    text.resize(static_cast<qsizetype>(bytes.size()));
    QChar* out = text.data();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = QChar(decodeByte(static_cast<unsigned char>(bytes[i])));
    return text;
}

std::string toFilePath(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

QString fromFilePath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString filterText(std::string_view filter) {
    return QString::fromLatin1(filter.data(), static_cast<qsizetype>(filter.size()));
}

QString messageText(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return QStringLiteral("Out of memory");
    const char* message = error.what();
    QString text = QString::fromUtf8(message);
    if (text.contains(QChar::ReplacementCharacter))
        text = fromFileText(message);
    if (dynamic_cast<const UnableToAccessFile*>(&error))
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

char systemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1) {
        const std::string byte = toFileText(point);
        if (byte.size() == 1 && byte[0] != '?')
            return byte[0];
    }
    return '.';
}

} // namespace korvadel
