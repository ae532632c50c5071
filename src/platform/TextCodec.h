// The one place where bytes become characters and back: bytes are shown as Windows-1252
// characters; characters outside that code page become "?".
#pragma once

#include <QString>
#include <string>

QString BytesToQString(const std::string &bytes);
QString BytesToQString(const char *data, std::size_t size);
std::string QStringToBytes(const QString &text);
// The Unicode character a byte is shown as.
char16_t ByteToChar16(unsigned char byte);
// The byte for one character, or '?' when the code page has none.
char CharToByte(char16_t ch);
