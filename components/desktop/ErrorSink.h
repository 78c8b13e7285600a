// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>

class QWidget;

namespace korvadel {

// Where a component sends the failure of an operation it carried out for the user (a cell entry
// that is not a number, a report that could not be saved): the program shows every failure the
// same way, whichever component met it. The desktop seam is the program's sink; the command
// runner sends the failures of whole commands there too.
class ErrorSink {
public:
    // Shows the failure over `over` (none: no owner) and returns once it has been seen.
    virtual void reportError(QWidget* over, const std::exception& error) = 0;

protected:
    ~ErrorSink() = default;
};

} // namespace korvadel
