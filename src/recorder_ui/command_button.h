#pragma once

#include <QPixmap>
#include <QPushButton>
#include <functional>

namespace vocapost {

struct ButtonPictures {
  QPixmap normal, down, disabled;
};

// A command button whose handler can be "pressed" from code: the handler
// runs at once, nested in the caller, whether the button is enabled or not.
class CommandButton final : public QPushButton {
 public:
  CommandButton(const QString& name, const QString& caption, QWidget* parent);

  void SetHandler(std::function<void()> handler) {
    handler_ = std::move(handler);
  }
  void Press();

  void SetPictures(ButtonPictures pictures) { pictures_ = std::move(pictures); }
  const ButtonPictures& pictures() const { return pictures_; }

 private:
  std::function<void()> handler_;
  ButtonPictures pictures_;
};

}  // namespace vocapost
