#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

#include "app/app_state.h"

namespace vocapost {

// The kinds of control that caption localisation tells apart, by the
// control's name ("Command2", "Label5", "File1", …) or else by its type.
enum class ControlKind {
  kCommandButton,
  kLabel,
  kTextBox,
  kListBox,
  kFileList,
  kDropDown,
  kPicture,
  kFrame,
  kOther,
};

ControlKind KindOf(const QWidget& control);

// The form's controls (its named widgets, menus included) in the form's
// order: the order they were created in, each container before what it
// holds. The inside of lists and text boxes is not theirs.
std::vector<QWidget*> FormControls(QWidget& form);

// Adapts the form's fonts when a Japanese set-up asks for it, and
// translates its controls' captions and tooltips and the extra texts 1 to
// `count` from the caption file of `language_extension`. Always 0.
int16_t LocaliseForm(QWidget& form, ExtraTexts& texts, int count,
                     const QString& language_extension);

}  // namespace vocapost
