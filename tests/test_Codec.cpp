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
