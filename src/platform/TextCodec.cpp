// Windows-1252 bytes to characters and back.
#include "platform/TextCodec.h"

#include "core/editor/Encoding.h"

char16_t ByteToChar16(unsigned char byte)
{
    return static_cast<char16_t>(Windows1252ToCodePoint(byte));
}

char CharToByte(char16_t ch)
{
    return static_cast<char>(CodePointToWindows1252(ch).value_or('?'));
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
