// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QPrinter;

namespace korvadel {

// The installed printers, kept behind an interface so that the print previews can be shown
// with and without printers in tests (and on machines where none is installed).
class PrinterAccess {
public:
    virtual ~PrinterAccess() = default;
    virtual QStringList printerNames() const = 0;
    // The current (default) printer; empty when there is none.
    virtual QString defaultPrinterName() const = 0;
    // Points the printer at the named installed printer.
    virtual void selectPrinter(QPrinter& printer, const QString& name) const = 0;

    bool hasPrinters() const { return !printerNames().isEmpty(); }
};

// The platform's printers (QPrinterInfo).
class SystemPrinters : public PrinterAccess {
public:
    QStringList printerNames() const override;
    QString defaultPrinterName() const override;
    void selectPrinter(QPrinter& printer, const QString& name) const override;
};

// The one SystemPrinters of the program, for windows that were given no other printers.
const PrinterAccess& systemPrinters();

} // namespace korvadel
