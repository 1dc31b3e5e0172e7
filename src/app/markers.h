#pragma once

#include <QString>

namespace vocapost {

// Marker files in the program folder: their existence alone tells other
// running copies what this one is doing. The content is the marker's word.
inline const QString kBusyMarker = "popplay.txt";
inline const QString kEndRequestMarker = "pop.txt";
inline const QString kEndingAnswerMarker = "popup.txt";
inline const QString kShowRequestMarker = "popshow.txt";
inline const QString kStoppingMarker = "popstop.txt";

// Writes the marker named `file`; its word is the name without ".txt".
bool WriteMarker(const QString& file);
bool MarkerExists(const QString& file);
void DeleteMarker(const QString& file);

}  // namespace vocapost
