// The byte/character conversion at the edge of the UI.
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

TEST(TextCodec, EveryByteRoundTripsAndForeignCharactersBecomeQuestionMarks)
{
    std::string all;
    for (int i = 0; i < 256; ++i)
        all.push_back(static_cast<char>(i));
    const QString shown = BytesToQString(all);
    ASSERT_EQ(shown.size(), 256);
    EXPECT_EQ(shown.at(0x80).unicode(), 0x20AC);  // euro sign
    EXPECT_EQ(shown.at(0x93).unicode(), 0x201C);  // left double quote
    EXPECT_EQ(shown.at(0xE9).unicode(), 0x00E9);  // e acute as Latin-1
    EXPECT_EQ(QStringToBytes(shown), all);
    EXPECT_EQ(QStringToBytes(QString::fromUtf8("a\u4e2db")), "a?b");
    EXPECT_EQ(QStringToBytes(QString::fromUtf8("\U0001F600")), "?");
}

TEST(TextCodec, DocumentTextLosesNothingInEitherEncoding)
{
    const QString text = QString::fromUtf8("\u00e9 \u0416 \u6f22 \U0001F600 \u20ac");
    const std::string utf8 = QStringToDocumentBytes(text, TTextEncoding::Utf8);
    EXPECT_EQ(utf8, text.toUtf8().toStdString());
    EXPECT_EQ(DocumentBytesToQString(utf8, TTextEncoding::Utf8Bom), text);

    int replaced = -1;
    const std::string cp = QStringToDocumentBytes(text, TTextEncoding::Windows1252, &replaced);
    EXPECT_EQ(cp, "\xE9 &#1046; &#28450; &#128512; \x80");
    EXPECT_EQ(replaced, 3);
    EXPECT_EQ(DocumentBytesToQString("\xE9\x80", TTextEncoding::Windows1252), QString::fromUtf8("\u00e9\u20ac"));
}
