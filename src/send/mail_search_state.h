#pragma once

#include <QString>

#include "platform/desktop/desktop_windows.h"

namespace vocapost {

// What the last mail-window search looked at; a nested search overwrites it.
struct MailSearchState {
  QString current_mail_window_class;  // CurrentMailWindowClass
  ScreenRect editor_rect;
};

}  // namespace vocapost
