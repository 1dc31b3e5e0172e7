#include "messages/localise_form.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTextEdit>
#include <algorithm>

#include "messages/caption_file.h"
#include "messages/font_substitutions.h"
#include "messages/font_table.h"

namespace vocapost {
namespace {

struct NamedKind {
  const char* prefix;
  ControlKind kind;
};

constexpr NamedKind kNamedKinds[] = {
    {"Command", ControlKind::kCommandButton}, {"Label", ControlKind::kLabel},
    {"Text", ControlKind::kTextBox},          {"List", ControlKind::kListBox},
    {"File", ControlKind::kFileList},         {"Combo", ControlKind::kDropDown},
    {"Picture", ControlKind::kPicture},       {"Frame", ControlKind::kFrame},
};

bool IsControl(const QWidget& widget) {
  const QString name = widget.objectName();
  // Qt names the parts it builds controls from "qt_…".
  return !name.isEmpty() && !name.startsWith("qt_");
}

// Lists, text boxes and drop-downs are made of widgets of Qt's own.
bool HoldsOnlyItsOwnParts(ControlKind kind) {
  return kind == ControlKind::kTextBox || kind == ControlKind::kListBox ||
         kind == ControlKind::kFileList || kind == ControlKind::kDropDown;
}

void CollectControls(QWidget& parent, std::vector<QWidget*>& controls) {
  for (QObject* child : parent.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget == nullptr) continue;
    const bool control = IsControl(*widget);
    if (control) controls.push_back(widget);
    if (!control || !HoldsOnlyItsOwnParts(KindOf(*widget)))
      CollectControls(*widget, controls);
  }
}

void ReplaceFonts(const std::vector<QWidget*>& controls, const QString& name) {
  InstallFontSubstitutions();
  for (QWidget* control : controls) {
    if (KindOf(*control) == ControlKind::kFileList) continue;
    QFont font = control->font();
    font.setFamily(name);
    control->setFont(font);
  }
}

QString Caption(const QWidget& control) {
  if (auto* button = qobject_cast<const QAbstractButton*>(&control))
    return button->text();
  if (auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
  if (auto* frame = qobject_cast<const QGroupBox*>(&control))
    return frame->title();
  return {};
}

void SetCaption(QWidget& control, const QString& caption) {
  if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
    button->setText(caption);
  } else if (auto* label = qobject_cast<QLabel*>(&control)) {
    label->setText(caption);
  } else if (auto* frame = qobject_cast<QGroupBox*>(&control)) {
    frame->setTitle(caption);
  }
}

struct Pass {
  ControlKind kind;
  bool caption, tooltip;
};

constexpr Pass kPasses[] = {
    {ControlKind::kCommandButton, true, true},
    {ControlKind::kLabel, true, true},
    {ControlKind::kTextBox, false, true},
    {ControlKind::kListBox, false, true},
    {ControlKind::kFileList, false, true},
    {ControlKind::kDropDown, false, true},
    {ControlKind::kPicture, false, true},
    {ControlKind::kFrame, true, false},
};

void TranslateControl(QWidget& control, const Pass& pass,
                      const QStringList& lines) {
  QString caption = pass.caption ? Caption(control) : QString();
  QString tooltip = pass.tooltip ? control.toolTip() : QString();
  // Caption and tooltip are tried against each pair in turn, so that both
  // follow a translation that is itself a later key.
  for (qsizetype key = 0; key + 2 < lines.size(); key += 2) {
    if (pass.caption && caption == lines[key]) caption = lines[key + 1];
    if (pass.tooltip && tooltip == lines[key]) tooltip = lines[key + 1];
  }
  if (pass.caption && caption != Caption(control)) SetCaption(control, caption);
  if (pass.tooltip && tooltip != control.toolTip()) control.setToolTip(tooltip);
}

}  // namespace

ControlKind KindOf(const QWidget& control) {
  const QString name = control.objectName();
  for (const NamedKind& named : kNamedKinds) {
    if (name.startsWith(named.prefix)) return named.kind;
  }
  if (qobject_cast<const QAbstractButton*>(&control))
    return ControlKind::kCommandButton;
  if (qobject_cast<const QGroupBox*>(&control)) return ControlKind::kFrame;
  if (qobject_cast<const QComboBox*>(&control)) return ControlKind::kDropDown;
  if (qobject_cast<const QLineEdit*>(&control) ||
      qobject_cast<const QTextEdit*>(&control))
    return ControlKind::kTextBox;
  if (qobject_cast<const QListView*>(&control)) return ControlKind::kListBox;
  if (qobject_cast<const QLabel*>(&control)) return ControlKind::kLabel;
  return ControlKind::kOther;
}

std::vector<QWidget*> FormControls(QWidget& form) {
  std::vector<QWidget*> controls;
  CollectControls(form, controls);
  return controls;
}

int16_t LocaliseForm(QWidget& form, ExtraTexts& texts, int count,
                     const QString& language_extension) {
  const std::vector<QWidget*> controls = FormControls(form);
  if (const QString font = ReplacementFont(language_extension);
      !font.isEmpty()) {
    ReplaceFonts(controls, font);
  }
  const QStringList lines = ReadCaptionLines(language_extension);
  if (lines.isEmpty()) return 0;
  for (const Pass& pass : kPasses) {
    for (QWidget* control : controls) {
      if (KindOf(*control) == pass.kind)
        TranslateControl(*control, pass, lines);
    }
  }
  const int last = std::min(count, static_cast<int>(texts.size()) - 1);
  for (int entry = 1; entry <= last; ++entry) {
    if (!texts[entry].isEmpty())
      texts[entry] = TranslateCaption(lines, texts[entry]);
  }
  return 0;
}

}  // namespace vocapost
