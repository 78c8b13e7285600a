#include "components/DesktopSeam.h"

#include <QRegularExpression>

namespace korvadel {

namespace {
const QString kAppTitle = QStringLiteral("Korvadel");
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
        const QString qtPatterns =
            QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        // Descriptions usually name their patterns already ("Korvadel File (*.kvd)"); Qt reads
        // the patterns from the last parentheses, so those are reused rather than repeated.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && description.endsWith(QLatin1Char(')'))) {
            const QString inside = description.mid(open + 1, description.size() - open - 2);
            if (inside.split(separators, Qt::SkipEmptyParts) == patterns) {
                result << description.left(open) + qtPatterns;
                continue;
            }
        }
        result << description + QLatin1Char(' ') + qtPatterns;
    }
    return result;
}

} // namespace korvadel
