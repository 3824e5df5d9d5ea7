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

namespace {

// Stored texts worked out apart from this code, from the scheme itself: p = 58274303
// (the next prime after seed A), q = 4120849945499939411 (after seed B's eight codes),
// n = p * q of 88 bits, e = 65537. Every settings file already written holds texts
// like these, so a change of seeds, key derivation, exponent, block layout or
// alphabet must fail here.
struct KnownAnswer { QString plain; const char* stored; };
const KnownAnswer KnownAnswers[] = {
    {QString(), "CQZX5pBy5OVMHyc"},
    {QStringLiteral("x"), "MiyCiTZhgct+Afc"},
    {QStringLiteral("sa"), "rBcalQtwrjUdN1y"},
    {QStringLiteral("Depotrix2026!"), "bV2J7Jgy2UZB5Yf0pbGBBTkL2YJSSy"},
    {QStringLiteral("P@ss w0rd;'\"="), "o48NhFEhALDCF92Q9Gy1YgcFU0kWcq"},
    {QStringLiteral("abcdefghijklmnopqrst"), "cY7wcWmhMRtR8tYmOt6UX=h4JNHTBq"},
    {QString(QChar(0xe9)) + QChar(0xff), "kDbfWujF4tXXJsq"},
    // The longest password a server login takes: 128 characters.
    {QString(128, QLatin1Char('z')),
     "WBxm+Y1VBFRaRVxtbfXjn5dD+kwPxKW7KFksC1dpv76Px1ErPobRBnnWCwcsck0uMvicNVw1VNayRaS36UwzJHQnsjz"
     "=eZXnb1lznsfUwYy0YgyW2W0phTrM3nxEp7vX30NlUqrV0txIQ=SFD7SNp1j1EAOITvx+T7WjmT3auy2tVINA"},
};

} // namespace

TEST(PasswordCipher, PlainTextsGiveTheirKnownStoredTexts)
{
    for (const KnownAnswer& k : KnownAnswers)
        EXPECT_EQ(scramble(k.plain), QString::fromLatin1(k.stored)) << k.plain.toStdString();
}

TEST(PasswordCipher, StoredTextsOfEarlierSettingsGiveTheirPlainTexts)
{
    for (const KnownAnswer& k : KnownAnswers)
        EXPECT_EQ(unscramble(QString::fromLatin1(k.stored)), k.plain) << k.stored;
    // A line break or blanks around the stored text are not alphabet letters and are skipped.
    EXPECT_EQ(unscramble(QStringLiteral(" rBcal\nQtwrjUdN1y ")), QStringLiteral("sa"));
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
