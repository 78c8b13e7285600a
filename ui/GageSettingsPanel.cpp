// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/GageSettingsPanel.h"

#include "components/desktop/TextCodec.h"
#include "components/widgets/FullTextToolTip.h"
#include "components/widgets/IncrementSpinBox.h"
#include "model/Numbers.h"

#include <QLabel>
#include <QLineEdit>

namespace korvadel {

namespace {

// A label at x 16 and its field, 81 pixels wide, at x 76, in rows from y 24 down.
template <class Field>
Field* addRow(QGroupBox& group, Field* field, const QString& caption, const char* name, int y) {
    auto* label = new QLabel(caption, &group);
    label->move(16, y + 3);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(76, y, 81, 21);
    label->setBuddy(field);
    return field;
}

} // namespace

GageSettingsPanel::GageSettingsPanel(Workspace& workspace, QWidget* parent)
    : QGroupBox(QStringLiteral("Gage Height "), parent), workspace_(workspace),
      minimum_(addRow(*this, new QLineEdit(this), QStringLiteral("Minimum"), "minimumStage", 24)),
      maximum_(addRow(*this, new QLineEdit(this), QStringLiteral("Maximum"), "maximumStage", 51)),
      increment_(addRow(*this, new IncrementSpinBox(workspace.format().decimalSeparator, this),
                        QStringLiteral("Increment"), "stageIncrement", 79)),
      datum_(addRow(*this, new QLineEdit(this), QStringLiteral("Datum"), "datum", 106)) {
    setObjectName(QStringLiteral("gageSettingsPanel"));
    showSettings(true);

    const std::pair<QLineEdit*, GageField> texts[] = {
        {minimum_, GageField::Minimum}, {maximum_, GageField::Maximum}, {datum_, GageField::Datum}};
    for (const auto& [edit, which] : texts) {
        // The fixed layout cuts long texts off: a tooltip shows them whole.
        keepFullTextToolTip(*edit);
        connect(edit, &QLineEdit::textChanged, this,
                [this, which](const QString& text) { workspace_.setSettingText(which, text); });
    }
    connect(increment_, &IncrementSpinBox::valueChanged, this,
            [this](double) { workspace_.setIncrement(increment_->increment()); });
    connect(&workspace_, &Workspace::settingsChanged, this, [this] { showSettings(false); });
    connect(&workspace_, &Workspace::documentReplaced, this, [this] { showSettings(true); });
}

QWidget* GageSettingsPanel::field(GageField which) const {
    switch (which) {
    case GageField::Minimum:
        return minimum_;
    case GageField::Maximum:
        return maximum_;
    case GageField::Increment:
        return increment_;
    case GageField::Datum:
        break;
    }
    return datum_;
}

std::vector<QWidget*> GageSettingsPanel::fields() const {
    return {minimum_, maximum_, increment_, datum_};
}

void GageSettingsPanel::showSettings(bool fromStart) {
    const std::pair<QLineEdit*, GageField> texts[] = {
        {minimum_, GageField::Minimum}, {maximum_, GageField::Maximum}, {datum_, GageField::Datum}};
    for (const auto& [edit, which] : texts) {
        // Setting the same text again would throw away the field's own undo.
        const QString text = workspace_.settingText(which);
        if (edit->text() != text)
            edit->setText(text);
        // A loaded text is read from its beginning, like a freshly opened field.
        if (fromStart)
            edit->setCursorPosition(0);
    }
    if (increment_->increment() != workspace_.increment())
        increment_->setIncrement(workspace_.increment());
}

bool GageSettingsPanel::selectUnreadableField(std::initializer_list<GageField> order) {
    for (const GageField which : order) {
        auto* edit = qobject_cast<QLineEdit*>(field(which));
        double value = 0.0;
        if (!edit || tryTextToFloat(toFileText(edit->text()), value, workspace_.format()))
            continue;
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
        return true;
    }
    return false;
}

} // namespace korvadel
