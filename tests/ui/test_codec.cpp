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
