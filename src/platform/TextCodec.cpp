// Windows-1252 bytes to characters and back.
#include "platform/TextCodec.h"

namespace {
// 0x80..0x9F of Windows-1252; the five unassigned bytes keep their C1 control value.
const char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}

char16_t ByteToChar16(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHigh[byte - 0x80];
    return byte;
}

char CharToByte(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<char>(ch);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == ch)
            return static_cast<char>(0x80 + i);
    return '?';
}

QString BytesToQString(const char *data, std::size_t size)
{
    QString s;
    s.resize(static_cast<qsizetype>(size));
    QChar *out = s.data();
    for (std::size_t i = 0; i < size; ++i)
        out[i] = QChar(ByteToChar16(static_cast<unsigned char>(data[i])));
    return s;
}

QString BytesToQString(const std::string &bytes)
{
    return BytesToQString(bytes.data(), bytes.size());
}

std::string QStringToBytes(const QString &text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out.push_back('?');
            ++i;
            continue;
        }
        out.push_back(CharToByte(c.unicode()));
    }
    return out;
}
