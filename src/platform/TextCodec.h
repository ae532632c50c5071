// The one place where bytes become characters and back: settings and dialog bytes are shown as
// Windows-1252 characters (characters outside that code page become "?"); document text follows
// the document's encoding and loses nothing.
#pragma once

#include "core/editor/Encoding.h"

#include <QString>
#include <string>
#include <string_view>

QString BytesToQString(const std::string &bytes);
QString BytesToQString(const char *data, std::size_t size);
std::string QStringToBytes(const QString &text);
// The Unicode character a byte is shown as.
char16_t ByteToChar16(unsigned char byte);
// The byte for one character, or '?' when the code page has none.
char CharToByte(char16_t ch);

// A document's bytes in its encoding as characters.
QString DocumentBytesToQString(std::string_view bytes, TTextEncoding encoding);
// Characters as a document's bytes: UTF-8, or Windows-1252 where a character the code page cannot
// hold becomes a numeric character reference ("&#1046;"); replaced, when given, counts those.
std::string QStringToDocumentBytes(const QString &text, TTextEncoding encoding, int *replaced = nullptr);
