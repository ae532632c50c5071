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

QString DocumentBytesToQString(std::string_view bytes, TTextEncoding encoding)
{
    if (encoding == TTextEncoding::Windows1252)
        return BytesToQString(bytes.data(), bytes.size());
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string QStringToDocumentBytes(const QString &text, TTextEncoding encoding, int *replaced)
{
    const QByteArray utf8 = text.toUtf8();
    const std::string_view view(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (encoding != TTextEncoding::Windows1252) {
        if (replaced)
            *replaced = 0;
        return std::string(view);
    }
    return Utf8ToWindows1252(view, replaced);
}
