// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/DesktopSeam.h"

#include "components/desktop/TextCodec.h"
#include "io/FileError.h"

#include <QRegularExpression>

#include <algorithm>

namespace korvadel {

namespace {
const QString kAppTitle = QStringLiteral("Korvadel");
}

void DesktopSeam::reportError(QWidget* over, const std::exception& error) {
    if (dynamic_cast<const UnableToAccessFile*>(&error))
        showMessage(over, MessageKind::Warning, QStringLiteral("Warning"), messageText(error));
    else
        showError(over, messageText(error));
}

void DesktopSeam::showError(QWidget* parent, const QString& message) {
    showMessage(parent, MessageKind::Error, kAppTitle, errorBoxText(message));
}

void DesktopSeam::showPlain(QWidget* parent, const QString& message) {
    showMessage(parent, MessageKind::Plain, kAppTitle, message);
}

QString DesktopSeam::errorBoxText(const QString& message) {
    // The full stop is added only after characters whose code sorts after '.', so a message
    // already ending in '.', '!' or ')' is left as it was, and an empty one stays empty.
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

QStringList DesktopSeam::qtNameFilters(const QString& filter) {
    static const QRegularExpression separators(QStringLiteral("[; ]"));
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QStringList patterns = parts[i + 1].split(separators, Qt::SkipEmptyParts);
        // The program's patterns were written for file names that ignore case ("*.CSV"). Here
        // names keep their case, and the platform's own dialogs match patterns as written, so
        // every pattern is listed in small letters, as given and in capitals.
        QStringList matching;
        for (const QString& pattern : patterns)
            for (const QString& variant : {pattern.toLower(), pattern, pattern.toUpper()})
                if (!matching.contains(variant))
                    matching << variant;
        const QString qtPatterns =
            QLatin1Char('(') + matching.join(QLatin1Char(' ')) + QLatin1Char(')');
        // Descriptions usually name their patterns already ("Korvadel File (*.kvd)"); Qt reads
        // the patterns from the last parentheses, so those are replaced rather than repeated.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && description.endsWith(QLatin1Char(')'))) {
            const QStringList named = description.mid(open + 1, description.size() - open - 2)
                                          .split(separators, Qt::SkipEmptyParts);
            const bool same = named.size() == patterns.size() &&
                              std::equal(named.begin(), named.end(), patterns.begin(),
                                         [](const QString& a, const QString& b) {
                                             return a.compare(b, Qt::CaseInsensitive) == 0;
                                         });
            if (same) {
                result << description.left(open) + qtPatterns;
                continue;
            }
        }
        result << description + QLatin1Char(' ') + qtPatterns;
    }
    return result;
}

} // namespace korvadel
