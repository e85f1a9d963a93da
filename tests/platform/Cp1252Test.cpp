#include "Cp1252.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <iconv.h>

using namespace Qt::StringLiterals;

namespace {

// The C library's converter, an independent reading of the code page; it knows no character for
// the five unused bytes and gives an empty string for them.
QString DecodeWithIconv(char byte)
{
    const iconv_t converter = iconv_open("UTF-8", "CP1252");
    char input[] = {byte};
    char output[8] = {};
    char *in = input;
    char *out = output;
    size_t inLeft = 1;
    size_t outLeft = sizeof output;
    const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == size_t(-1))
        return {};
    return QString::fromUtf8(output, qsizetype(sizeof output - outLeft));
}

QByteArray AllBytes()
{
    QByteArray bytes;
    for (int value = 0; value < 256; ++value)
        bytes.append(char(value));
    return bytes;
}

bool IsUnusedByte(int value)
{
    return value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
}

} // namespace

TEST(Cp1252, DecodesLikeTheSystemConverter)
{
    const QString decoded = FromCp1252(AllBytes());
    ASSERT_EQ(decoded.size(), 256);
    for (int value = 0; value < 256; ++value) {
        if (IsUnusedByte(value))
            continue;
        EXPECT_EQ(decoded.mid(value, 1), DecodeWithIconv(char(value))) << "byte " << value;
    }
}

TEST(Cp1252, UnusedBytesDecodeToTheirLatin1Characters)
{
    EXPECT_EQ(FromCp1252("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D"_s);
}

TEST(Cp1252, EveryByteEncodesBackToItself)
{
    const QString decoded = FromCp1252(AllBytes());
    EXPECT_TRUE(CanEncodeCp1252(decoded));
    EXPECT_EQ(ToCp1252(decoded), AllBytes());
}

TEST(Cp1252, EncodesTheCharactersOfTheHighRange)
{
    EXPECT_EQ(ToCp1252(u"\u20AC\u00E9\u2122\u0178"_s), QByteArray("\x80\xE9\x99\x9F"));
}

TEST(Cp1252, TellsWhichTextsItCanHold)
{
    EXPECT_TRUE(CanEncodeCp1252(u""));
    EXPECT_TRUE(CanEncodeCp1252(u"Caf\u00E9 \u20AC5"));
    EXPECT_FALSE(CanEncodeCp1252(u"\u039A\u03B1\u03BB\u03B7"));
    EXPECT_FALSE(CanEncodeCp1252(u"ab\u8A9E"));
    // 0x80 is the euro sign, so its Latin-1 control character has no byte of its own.
    EXPECT_FALSE(CanEncodeCp1252(u"\u0080"));
}

TEST(Cp1252, ReplacesCharactersWithoutByte)
{
    EXPECT_EQ(ToCp1252(u"a\u8A9Eb"), QByteArray("a?b"));
}
