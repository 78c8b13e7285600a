// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/PrinterAccess.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace korvadel {

QStringList SystemPrinters::printerNames() const {
    return QPrinterInfo::availablePrinterNames();
}

QString SystemPrinters::defaultPrinterName() const {
    return QPrinterInfo::defaultPrinterName();
}

void SystemPrinters::selectPrinter(QPrinter& printer, const QString& name) const {
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(name);
}

const PrinterAccess& systemPrinters() {
    static const SystemPrinters printers;
    return printers;
}

} // namespace korvadel
