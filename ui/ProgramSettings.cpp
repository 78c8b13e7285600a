// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgramSettings.h"

#include "model/Error.h"

#include <QDir>
#include <QSettings>

namespace korvadel {

std::unique_ptr<QSettings> openProgramSettings() {
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Korvadel"),
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Korvadel"));
#endif
}

QString lastDirKey() {
#ifdef Q_OS_WIN
    return QStringLiteral("General/LastDir");
#else
    // Keys outside any group land in the file's [General] section.
    return QStringLiteral("LastDir");
#endif
}

void restoreWorkingDirectory() {
    const auto settings = openProgramSettings();
    if (settings->status() != QSettings::NoError)
        throw Error("Error reading registry");
    const QVariant value = settings->value(lastDirKey());
    if (!value.isValid())
        return;
    if (value.typeId() != QMetaType::QString)
        throw Error("Error reading registry");
    const QString folder = value.toString();
    if (!folder.isEmpty() && QDir(folder).exists())
        QDir::setCurrent(folder);
}

void storeWorkingDirectory() {
    const auto settings = openProgramSettings();
    settings->setValue(lastDirKey(), QDir::toNativeSeparators(QDir::currentPath()));
    settings->sync();
    if (settings->status() == QSettings::AccessError)
        throw Error("Failed to set data for 'LastDir'");
    if (settings->status() == QSettings::FormatError)
        throw Error("Error writing registry");
}

} // namespace korvadel
