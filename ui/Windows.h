#pragma once

#include "components/CommandGate.h"
#include "model/NumberFormat.h"

namespace korvadel {

class DesktopSeam;
class PrinterAccess;

} // namespace korvadel

class TForm1;
class TForm2;
class TForm3;
class TPromptWindow;
class TProgressForm;
class TWarningForm;
class TEWForm;
class TAboutBox1;

// The windows of a run, one reference each, so commands can reach the window they drive.
// Created hidden in this order at start-up and kept until the program ends.
struct Windows {
    TForm1* Form1 = nullptr;
    TPromptWindow* PromptWindow = nullptr;
    TForm2* Form2 = nullptr;
    TAboutBox1* AboutBox1 = nullptr;
    TProgressForm* ProgressForm = nullptr;
    TWarningForm* WarningForm = nullptr;
    TEWForm* EWForm = nullptr;
    TForm3* Form3 = nullptr;
};

// What every window of the program shares: the desktop seam through which dialogs and boxes
// go, the user's decimal separator (read once at start-up), the gate every command goes
// through and the windows themselves.
struct ProgramContext {
    korvadel::DesktopSeam* seam = nullptr;
    korvadel::NumberFormat format;
    korvadel::CommandGate commands;
    // The printers the print previews offer; null: the system's.
    const korvadel::PrinterAccess* printers = nullptr;
    Windows windows;
};
