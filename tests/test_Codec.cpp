#include "platform/Codec.h"

#include <gtest/gtest.h>

TEST(Codec, TheSystemKnowsWindows1250) { EXPECT_TRUE(platform::cp1250Available()); }

TEST(Codec, RoundTripsCzechAndSlovakLetters) {
    const QString text = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy; Ľudovít Štúr, ä ô ĺ ŕ");
    const QByteArray bytes = platform::toCp1250(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(platform::fromCp1250(bytes), text);
    EXPECT_EQ(platform::toCp1250(QStringLiteral("ž")), QByteArray("\x9e"));
    EXPECT_EQ(platform::fromCp1250(QByteArray("\x8a\xe8")), QStringLiteral("Šč"));
}

TEST(Codec, UnrepresentableCharactersBecomeOneQuestionMarkEach) {
    EXPECT_EQ(platform::toCp1250(QStringLiteral("a☺b")), QByteArray("a?b"));
    EXPECT_EQ(platform::toCp1250(QString::fromUtf8("x\xF0\x9F\x98\x80y")), QByteArray("x?y"));
    EXPECT_EQ(platform::toCp1250(QStringLiteral("€")), QByteArray("\x80"));
}

// Pasted text often spells "č" as "c" and a combining caron; Windows-1250 has the letter.
TEST(Codec, ALetterWithACombiningMarkIsOneCharacter) {
    EXPECT_EQ(platform::toCp1250(QStringLiteral("Ku\u0301n c\u030C")), QByteArray("K\xfan \xe8"));
    EXPECT_EQ(platform::toCp1250(QStringLiteral("q\u030C")), QByteArray("q?"));
}
