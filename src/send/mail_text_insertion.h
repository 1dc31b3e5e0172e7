#pragma once

#include <QString>

#include "app/app_state.h"
#include "platform/clock/clock.h"
#include "platform/desktop/accessible_desktop.h"
#include "platform/desktop/desktop_windows.h"
#include "send/mail_search_state.h"

namespace vocapost {

// Class and title reads keep at most this many characters.
inline constexpr int kWindowTextLimit = 249;

// What putting the notice into a mail works with.
struct MailTextInsertion {
  DesktopWindows& desktop;
  AccessibleDesktop* accessibility;  // null: no accessibility tree
  Clock& clock;
  const ExtraTexts& texts;
  MailSearchState& state;
};

// The notice for the clipboard: lines ended by CR LF, with one CR LF before
// and two after (line-feed form), or by CR alone, two before and two after
// (carriage-return form).
QString NoticeLineFeedForm(const ExtraTexts& texts);
QString NoticeCarriageReturnForm(const ExtraTexts& texts);

// After a drag out of a file list: waits a little over a second, then puts
// the notice into every mail being written that the search recognises.
// Nothing found: nothing happens, and the clipboard is untouched.
void InsertRecipientNotice(MailTextInsertion& insertion);

}  // namespace vocapost
