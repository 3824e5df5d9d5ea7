// The stored-password cipher: round trips, determinism and the output alphabet.
#include "FGIntRSA.h"
#include "PasswordCipher.h"
#include "platform/rtl/Exceptions.h"
#include "qstringprint.h"
#include <gtest/gtest.h>

namespace {

const QString Alphabet = QStringLiteral("aAbBcCdDeEfFgGhHiIjJkKlLmMnNoOpPqQrRsStTuUvVwWxXyYzZ0123456789+=");

QString scramble(const QString& s) { return scrambletext(cipherseeda, cipherseedb, s); }
QString unscramble(const QString& s) { return unscrambletext(cipherseeda, cipherseedb, s); }

} // namespace

TEST(PasswordCipher, RoundTrips)
{
    const QString texts[] = {
        QString(), QStringLiteral("x"), QStringLiteral("sa"), QStringLiteral("P@ss w0rd;'\"="),
        QStringLiteral("abcdefghijklmnopqrst"), QString(QChar(0)) + QStringLiteral("\xe9\xff"),
        QString(200, QLatin1Char('z')),
    };
    for (const QString& t : texts) {
        QString s = scramble(t);
        EXPECT_FALSE(s.isEmpty()) << t.toStdString();
        for (QChar c : s)
            EXPECT_TRUE(Alphabet.contains(c)) << s.toStdString();
        EXPECT_EQ(unscramble(s), t) << t.toStdString();
        EXPECT_EQ(scramble(t), s) << "scrambling is deterministic";
    }
}

TEST(PasswordCipher, OutputLengthFollowsTheRsaBytes)
{
    for (const QString& t : {QString(), QStringLiteral("a"), QStringLiteral("twenty characters!!!")}) {
        // Rebuild the intermediate bytes from the alphabet text: 6 bits per letter.
        QString s = scramble(t);
        QString bytes = alphabettobytes(s);
        EXPECT_EQ(s.size(), (bytes.size() * 8 + 5) / 6);
        EXPECT_EQ(bytestoalphabet(bytes), s);
    }
}

TEST(PasswordCipher, OtherSeedsOrBadTextDoNotGiveThePassword)
{
    QString s = scramble(QStringLiteral("secret"));
    EXPECT_NE(unscrambletext(QStringLiteral("11111111"), cipherseedb, s), QStringLiteral("secret"));
    EXPECT_EQ(unscramble(QString()), QString());
    EXPECT_EQ(alphabettobytes(QStringLiteral("a")), QString());      // six bits make no byte
    EXPECT_EQ(alphabettobytes(QStringLiteral("a!a")), QString(QChar(0)));   // '!' is ignored
    EXPECT_THROW(scramble(QStringLiteral("密码")), EConvertError);
}

TEST(PasswordCipher, BitAndByteTexts)
{
    EXPECT_EQ(bytestobits(QStringLiteral("A")), QStringLiteral("01000001"));
    EXPECT_EQ(bitstobytes(QStringLiteral("1000001")), QStringLiteral("A"));
    EXPECT_EQ(bytestoalphabet(QStringLiteral("A")), QStringLiteral("ii"));   // 010000 010000: 16, 16
}
