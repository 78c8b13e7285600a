#pragma once

#include <QString>

class QWidget;

// Every window of the program is centred on the screen when it is shown.
void centreOnScreen(QWidget* window);

// The text of an error for a box. Messages are built from file names (in the file system's
// encoding) and from field texts (in the program's code page); take whichever reads cleanly.
QString messageText(const char* message);
