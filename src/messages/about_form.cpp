#include "messages/about_form.h"

#include "app/application.h"
#include "messages/caption_file.h"
#include "messages/control_fonts.h"
#include "messages/localise_form.h"
#include "platform/units/units.h"

namespace vocapost {
namespace {

QLabel* PlacedLabel(const QString& name, QWidget* parent, int left, int top,
                    int width, int height) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(TwipsToPixels(left), TwipsToPixels(top),
                     TwipsToPixels(width), TwipsToPixels(height));
  return label;
}

}  // namespace

QString VersionText(int revision) { return "2.7." + QString::number(revision); }

AboutForm::AboutForm(Application& app)
    : QWidget(nullptr,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      app_(app),
      label3_(PlacedLabel("Label3", this, 435, 120, 1260, 390)),
      label1_(PlacedLabel("Label1", this, 1560, 1935, 975, 315)),
      label2_(PlacedLabel("Label2", this, 90, 705, 4470, 1035)),
      command1_(new QPushButton("&Ok", this)) {
  setObjectName("AboutForm");
  setWindowTitle("About");
  setAttribute(Qt::WA_QuitOnClose, false);
  setFont(ControlFont());
  label2_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // 13.5 points, 18 pixels, unless the name needs less.
  label3_->setFont(ControlFont(18, true));
  command1_->setObjectName("Command1");
  command1_->setGeometry(TwipsToPixels(840), TwipsToPixels(1935),
                         TwipsToPixels(615), TwipsToPixels(240));
  connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
  Form_Load();
}

void AboutForm::Form_Load() {
  resize(TwipsToPixels(2430), TwipsToPixels(2625));
  const StartupValues& values = app_.state().values;
  label3_->setText(values.product_name);
  label2_->setText(values.about_text);
  label1_->setText(VersionText(VOCAPOST_REVISION));
  AppState& state = app_.state();
  state.extra_text_count = 0;
  const QString& language = state.messages.language_extension;
  LocaliseForm(*this, state.extra_texts, 0, language);
  setWindowTitle(LocalCaption(windowTitle(), language));
  // Fitted after translation, in whatever font the labels now have.
  FitLabelFont(*label3_);
  FitLabelFont(*label1_);
  // The notice label reaches past the window: its lines fit what is seen.
  const QSize seen(width() - label2_->x() - label2_->x(), label2_->height());
  label2_->setFont(
      FittingFont(label2_->font(), label2_->text().split('\n'), seen));
}

void AboutForm::Command1_Click() { hide(); }

}  // namespace vocapost
