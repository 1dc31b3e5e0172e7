// The image buttons and the activity switches of the Recorder window.
#include "recorder_ui/mker_form1.h"

namespace vocapost {

void MKERForm1::ConnectImageButton(int picture, int model, bool radio) {
  models_[picture] = model;
  ImageButton* image = images_[picture];
  if (!radio) {
    connect(image, &ImageButton::MouseDown, this, [this, picture] {
      ShowModelPicture(picture, &ButtonPictures::down);
    });
    connect(image, &ImageButton::MouseUp, this, [this, picture] {
      ShowModelPicture(picture, &ButtonPictures::normal);
    });
  }
  connect(image, &ImageButton::Click, this, [this, model] {
    CommandButton* button = Command(model);
    if (button->isEnabled()) button->Press();
  });
}

void MKERForm1::ShowModelPicture(int picture, QPixmap ButtonPictures::*look) {
  images_.at(picture)->setPixmap(Command(models_.at(picture))->pictures().*
                                 look);
}

void MKERForm1::GiveImageButtonsTheirPictures() {
  for (const auto& [picture, model] : models_) {
    const bool selected =
        picture == 15 || picture == 19;  // high quality, high speed
    ShowModelPicture(
        picture, selected ? &ButtonPictures::down : &ButtonPictures::normal);
  }
  CopyTooltipsToImageButtons();
}

void MKERForm1::CopyTooltipsToImageButtons() {
  for (const auto& [picture, model] : models_) {
    images_[picture]->setToolTip(Command(model)->toolTip());
  }
}

void MKERForm1::DisableForActivity() {
  const auto disable = [this](int model, int picture) {
    Command(model)->setEnabled(false);
    ShowModelPicture(picture, &ButtonPictures::disabled);
  };
  disable(2, 12);
  disable(4, 10);
  disable(16, 21);
  disable(17, 22);
  for (QWidget* control :
       {static_cast<QWidget*>(file1_), static_cast<QWidget*>(file2_),
        static_cast<QWidget*>(combo1_)}) {
    control->setEnabled(false);
  }
  for (int size = 6; size <= 10; ++size) Command(size)->setEnabled(false);
  disable(11, 15);
  disable(12, 14);
  disable(13, 13);
}

void MKERForm1::EnableAfterActivity() {
  const auto enable = [this](int model, int picture) {
    Command(model)->setEnabled(true);
    ShowModelPicture(picture, &ButtonPictures::normal);
  };
  ShowRecordingLook(false);
  enable(2, 12);
  enable(4, 10);
  enable(5, 20);
  enable(16, 21);
  enable(17, 22);
  for (QWidget* control :
       {static_cast<QWidget*>(file1_), static_cast<QWidget*>(file2_),
        static_cast<QWidget*>(combo1_)}) {
    control->setEnabled(true);
  }
  if (app_.state().video.video_state != 2) return;
  for (int button = 6; button <= 13; ++button)
    Command(button)->setEnabled(true);
  const int32_t ratio = app_.state().values.codec_ratio;
  const int selected = ratio == 100  ? 13
                       : ratio == 50 ? 14
                       : ratio == 25 ? 15
                                     : 0;
  for (const int picture : {13, 14, 15}) {
    ShowModelPicture(picture, picture == selected ? &ButtonPictures::down
                                                  : &ButtonPictures::normal);
  }
}

void MKERForm1::ClearPackageList() {
  file3_->SetPattern("*.goo");
  Label(2)->hide();
}

}  // namespace vocapost
