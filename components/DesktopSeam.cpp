#include "components/DesktopSeam.h"

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
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        result << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    }
    return result;
}

} // namespace korvadel
