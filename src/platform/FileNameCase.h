// The one rule for writing a chosen or typed file name in lower case (LowerCasedFileName): the
// name is lowered only where that still names the same file; directories keep their case.
#pragma once

#include <QString>

// The letters A to Z of Text in lower case; every other character stays.
QString LowerAsciiLetters(QString Text);

// Whether the file name of Path (its last part; a relative path counts from the current
// directory) may be written in lower case: where that changes nothing, where the lower-case name
// reaches the same file (a file system blind to case), or where no file of the name exists (the
// name then names nothing that lowering could lose).
bool MayLowerFileName(const QString &Path);

// Path with the letters A to Z of its file name lower-cased where MayLowerFileName allows it;
// the directories before the name keep their case.
QString LowerCasedFileName(const QString &Path);
