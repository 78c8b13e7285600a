// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <initializer_list>
#include <vector>

class QLabel;

namespace korvadel {

// The program's small windows (bounds prompt, progress dialog, import and edge warnings, about
// box): laid out for the design font, centred on the screen every time they come up, and deaf
// to the keys that would close or accept a dialog where the window must not be.
class ProgramDialog : public QDialog {
    Q_OBJECT
public:
    // A fixed dialog frame with a close box, as most of them have.
    static constexpr Qt::WindowFlags kFixedFrame = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                   Qt::WindowCloseButtonHint;

    ProgramDialog(const QString& objectName, const QString& caption, Qt::WindowFlags flags,
                  QWidget* parent = nullptr);

protected:
    // Keys that do nothing here (QDialog closes on Escape and presses its default button on
    // Enter).
    void ignoreKeys(std::initializer_list<int> keys) { ignoredKeys_ = keys; }
    // Each time the window comes up, just before it is centred: where a window settles what
    // needs its frame or its final size.
    virtual void comingUp(QShowEvent* event);
    // The red "Warning!" of the warnings, at `pixelSize` when given.
    QLabel* addWarningHeading(int pixelSize = 0);

    void showEvent(QShowEvent* event) final;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<int> ignoredKeys_;
};

} // namespace korvadel
