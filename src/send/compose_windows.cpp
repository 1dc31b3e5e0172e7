#include "send/compose_windows.h"

#include <array>

namespace vocapost {
namespace {

// Seen on Debian 12 with each program's own compose window (see
// docs/mail-programs.md for how each was checked).
constexpr std::array<ComposeWindowRule, 5> kRules{{
    // Thunderbird 153.8.0esr; its forks and Mozilla mail share the role.
    // Alt+S is the Subject field's access key, Tab goes on into the body.
    {"Thunderbird", "", "", "MSGCOMPOSE", "%s{TAB}"},
    // Evolution 3.46.4: "EMsgComposer-" and a number.
    {"Evolution", "EVOLUTION", "EVOLUTION", "EMSGCOMPOSER", ""},
    // KMail 22.12.3: "kmail-composer#1"; Alt+U is Subject's access key.
    {"KMail", "KMAIL", "KMAIL", "KMAIL-COMPOSER", "%u{TAB}"},
    // Claws Mail 4.1.1.
    {"Claws Mail", "CLAWS-MAIL", "CLAWS-MAIL", "COMPOSE", ""},
    // Sylpheed 3.8.0beta1: no role; the compose window's instance.
    {"Sylpheed", "COMPOSE", "SYLPHEED", "", ""},
}};

bool Holds(const QString& name, const char* part) {
  return *part == '\0' || name.toUpper().contains(QLatin1String(part));
}

}  // namespace

std::optional<ComposeWindowRule> FindComposeRule(const WindowIdentity& window) {
  for (const ComposeWindowRule& rule : kRules) {
    if (Holds(window.instance, rule.instance) &&
        Holds(window.class_name, rule.class_name) &&
        Holds(window.role, rule.role)) {
      return rule;
    }
  }
  return std::nullopt;
}

}  // namespace vocapost
