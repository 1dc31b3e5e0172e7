#pragma once

#include <QDateTime>
#include <QString>

namespace vocapost {

// ddhhmmss.vrc: how a recording made at `when` is named.
QString MessageFileName(const QDateTime& when);

// The name to try when `name` is taken, of the same form: a ddhhmmss.vrc
// name goes on to the following second's name, as the recorder would have
// named a recording made a second later (after day 31 comes day 01); any
// other name gets a number before its extension, "talk.vrc", "talk-2.vrc",
// "talk-3.vrc", and so on.
QString NextMessageName(const QString& name);

}  // namespace vocapost
