#include "CArchive.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// Two small serializable classes for the object references.
class CThing
{
public:
    static constexpr CRuntimeClass s_runtimeClass {"CThing", 3};
    void Serialize(CArchive &archive) { archive.Exchange(m_value); }
    qint32 m_value = 0;
};

class COther
{
public:
    static constexpr CRuntimeClass s_runtimeClass {"COther", 1};
    void Serialize(CArchive &archive) { archive.Exchange(m_name); }
    QString m_name;
};

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

QByteArray Stored(const std::function<void(CArchive &)> &store)
{
    CArchive archive;
    store(archive);
    return archive.Bytes();
}

std::optional<CArchiveException::Cause> ThrownCause(const std::function<void()> &action)
{
    try {
        action();
    } catch (const CArchiveException &exception) {
        return exception.GetCause();
    }
    return std::nullopt;
}

QString Repeated(char16_t character, qsizetype count)
{
    return QString(count, QChar(character));
}

QString ReadOneString(const QByteArray &bytes)
{
    CArchive archive(bytes);
    return archive.ReadString();
}

} // namespace

TEST(ArchiveIntegers, AreLittleEndian)
{
    const QByteArray bytes = Stored([](CArchive &archive) {
        archive.WriteByte(0xAB);
        archive.WriteWord(0x1234);
        archive.WriteUInt32(0xDEADBEEF);
        archive.WriteInt32(-2);
    });
    EXPECT_EQ(bytes, Hex("AB 3412 EFBEADDE FEFFFFFF"));

    CArchive archive(bytes);
    EXPECT_EQ(archive.ReadByte(), 0xAB);
    EXPECT_EQ(archive.ReadWord(), 0x1234);
    EXPECT_EQ(archive.ReadUInt32(), 0xDEADBEEFu);
    EXPECT_EQ(archive.ReadInt32(), -2);
}

TEST(ArchiveIntegers, ExchangeFollowsTheDirection)
{
    qint32 signedValue = -7;
    quint32 unsignedValue = 0x80000001;
    QString text = u"port"_s;
    const QByteArray bytes = Stored([&](CArchive &archive) {
        archive.Exchange(signedValue);
        archive.Exchange(unsignedValue);
        archive.Exchange(text);
    });
    EXPECT_EQ(bytes, Hex("F9FFFFFF 01000080 04") + "port");

    qint32 signedRead = 0;
    quint32 unsignedRead = 0;
    QString textRead;
    CArchive archive(bytes);
    archive.Exchange(signedRead);
    archive.Exchange(unsignedRead);
    archive.Exchange(textRead);
    EXPECT_EQ(signedRead, signedValue);
    EXPECT_EQ(unsignedRead, unsignedValue);
    EXPECT_EQ(textRead, text);
}

TEST(ArchiveIntegers, ShortDataThrowInsteadOfReadingOn)
{
    CArchive archive(Hex("010203"));
    EXPECT_EQ(ThrownCause([&] { archive.ReadUInt32(); }), CArchiveException::EndOfData);
    CArchive empty(QByteArray {});
    EXPECT_EQ(ThrownCause([&] { empty.ReadByte(); }), CArchiveException::EndOfData);
}

TEST(ArchiveCounts, UseSixteenBitsBelowFFFF)
{
    EXPECT_EQ(Stored([](CArchive &archive) { archive.WriteCount(0); }), Hex("0000"));
    EXPECT_EQ(Stored([](CArchive &archive) { archive.WriteCount(0xFFFE); }), Hex("FEFF"));
    EXPECT_EQ(Stored([](CArchive &archive) { archive.WriteCount(0xFFFF); }), Hex("FFFF FFFF0000"));
    EXPECT_EQ(Stored([](CArchive &archive) { archive.WriteCount(70000); }), Hex("FFFF 70110100"));
}

TEST(ArchiveCounts, ReadBothForms)
{
    CArchive archive(Hex("FEFF FFFF 70110100"));
    EXPECT_EQ(archive.ReadCount(), 0xFFFEu);
    EXPECT_EQ(archive.ReadCount(), 70000u);
}

struct StringCase
{
    qsizetype length;
    const char *prefix;
};

class ArchiveStringLength : public ::testing::TestWithParam<StringCase>
{
};

TEST_P(ArchiveStringLength, HasItsPrefixAndReadsBack)
{
    const StringCase sample = GetParam();
    const QString text = Repeated(u'x', sample.length);
    const QByteArray bytes = Stored([&](CArchive &archive) { archive.WriteString(text); });
    const QByteArray prefix = Hex(sample.prefix);
    EXPECT_EQ(bytes.left(prefix.size()), prefix);
    EXPECT_EQ(bytes.size(), prefix.size() + sample.length);
    EXPECT_EQ(bytes.mid(prefix.size()), QByteArray(sample.length, 'x'));
    EXPECT_EQ(ReadOneString(bytes), text);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ArchiveStringLength,
                         ::testing::Values(StringCase {0, "00"}, StringCase {254, "FE"},
                                           StringCase {255, "FF FF00"}, StringCase {300, "FF 2C01"},
                                           StringCase {65533, "FF FDFF"},
                                           StringCase {65534, "FF FFFF FEFF0000"},
                                           StringCase {70000, "FF FFFF 70110100"}),
                         [](const ::testing::TestParamInfo<StringCase> &caseInfo) {
                             return "Length" + std::to_string(caseInfo.param.length);
                         });

TEST(ArchiveStrings, KeepWindows1252CharactersAsSingleBytes)
{
    const QString text = u"Caf\u00E9 \u20AC5"_s;
    const QByteArray bytes = Stored([&](CArchive &archive) { archive.WriteString(text); });
    EXPECT_EQ(bytes,
              Hex("07")
                  + "Caf\xE9 \x80"
                    "5");
    EXPECT_EQ(ReadOneString(bytes), text);
}

TEST(ArchiveStrings, KeepEvery8BitByteExactly)
{
    QByteArray allBytes;
    for (int value = 0; value < 256; ++value)
        allBytes.append(char(value));
    const QByteArray stored = Hex("FF 0001") + allBytes;
    const QString text = ReadOneString(stored);
    EXPECT_EQ(Stored([&](CArchive &archive) { archive.WriteString(text); }), stored);
}

TEST(ArchiveStrings, WriteOtherTextsInTheWideForm)
{
    const QString greek = u"\u039A\u03B1\u03BB\u03B7"_s;
    const QByteArray bytes = Stored([&](CArchive &archive) { archive.WriteString(greek); });
    EXPECT_EQ(bytes, Hex("FF FEFF 04 9A03 B103 BB03 B703"));
    EXPECT_EQ(ReadOneString(bytes), greek);
}

TEST(ArchiveStrings, WideFormKeepsEveryCharacterOfAMixedText)
{
    const QString mixed = u"caf\u00E9 \u8A9E\u20AC \U0001F600"_s;
    const QByteArray bytes = Stored([&](CArchive &archive) { archive.WriteString(mixed); });
    EXPECT_EQ(bytes.left(4), Hex("FF FEFF") + char(mixed.size()));
    EXPECT_EQ(ReadOneString(bytes), mixed);
}

TEST(ArchiveStrings, LongWideTextsUseTheLongPrefixes)
{
    const QString text = Repeated(u'\u8A9E', 300);
    const QByteArray bytes = Stored([&](CArchive &archive) { archive.WriteString(text); });
    EXPECT_EQ(bytes.left(6), Hex("FF FEFF FF 2C01"));
    EXPECT_EQ(bytes.size(), 6 + 600);
    EXPECT_EQ(ReadOneString(bytes), text);

    const QString longer = Repeated(u'\u8A9E', 70000);
    const QByteArray longBytes = Stored([&](CArchive &archive) { archive.WriteString(longer); });
    EXPECT_EQ(longBytes.left(10), Hex("FF FEFF FF FFFF 70110100"));
    EXPECT_EQ(ReadOneString(longBytes), longer);
}

TEST(ArchiveStrings, ReadHandMadeWideStrings)
{
    EXPECT_EQ(ReadOneString(Hex("FF FEFF 02 4100 9E8A")), u"A\u8A9E"_s);
    EXPECT_EQ(ReadOneString(Hex("FF FEFF 00")), QString());
    // After the wide marker, 0xFFFE is a plain length.
    const QByteArray prefix = Hex("FF FEFF FF FEFF");
    const QString text = ReadOneString(prefix + QByteArray(2 * 0xFFFE, 'A'));
    EXPECT_EQ(text, Repeated(u'\u4141', 0xFFFE));
}

TEST(ArchiveStrings, ThrowWhenTheTextRunsPastTheData)
{
    const QByteArray cases[] = {
        Hex(""),
        Hex("05") + "abcd",
        Hex("FF 2C"),
        Hex("FF 2C01") + "abc",
        Hex("FF FFFF 701101"),
        Hex("FF FFFF FFFFFFFF") + "abc",
        Hex("FF FEFF"),
        Hex("FF FEFF 02 4100 9E"),
        Hex("FF FEFF FF FFFF FFFFFFFF 4100"),
    };
    for (const QByteArray &bytes : cases) {
        CArchive archive(bytes);
        EXPECT_EQ(ThrownCause([&] { archive.ReadString(); }), CArchiveException::EndOfData)
            << bytes.toHex(' ').constData();
    }
}

TEST(ArchiveObjects, NewObjectsCarryTheirClassOnceAndShareIndices)
{
    CThing first {5};
    CThing second {6};
    const QByteArray bytes = Stored([&](CArchive &archive) {
        archive.WriteObject(&first);
        archive.WriteObject(&second);
        archive.WriteObject<CThing>(nullptr);
        archive.WriteObject(&second);
    });
    // Class 1, objects 2 and 3; the repeat is object index 3.
    EXPECT_EQ(bytes, Hex("FFFF 0300 0600") + "CThing" + Hex("05000000 0180 06000000 0000 0300"));
}

TEST(ArchiveObjects, EachClassTakesTheNextIndex)
{
    CThing thing {1};
    COther other {u"o"_s};
    CThing laterThing {2};
    COther laterOther {u"p"_s};
    const QByteArray bytes = Stored([&](CArchive &archive) {
        archive.WriteObject(&thing);
        archive.WriteObject(&other);
        archive.WriteObject(&laterThing);
        archive.WriteObject(&laterOther);
    });
    EXPECT_EQ(bytes,
              Hex("FFFF 0300 0600") + "CThing" + Hex("01000000") + Hex("FFFF 0100 0600") + "COther"
                  + Hex("01") + "o" + Hex("0180 02000000 0380 01") + "p");
}

TEST(ArchiveObjects, ReadBackWithRepeatsAsTheSameObject)
{
    CThing first {5};
    CThing second {6};
    COther other {u"name"_s};
    CArchive archive(Stored([&](CArchive &storing) {
        storing.WriteObject(&first);
        storing.WriteObject(&other);
        storing.WriteObject<CThing>(nullptr);
        storing.WriteObject(&second);
        storing.WriteObject(&first);
        storing.WriteObject(&other);
    }));
    const auto firstRead = archive.ReadObject<CThing>();
    const auto otherRead = archive.ReadObject<COther>();
    EXPECT_EQ(archive.ReadObject<CThing>(), nullptr);
    const auto secondRead = archive.ReadObject<CThing>();
    ASSERT_NE(firstRead, nullptr);
    ASSERT_NE(otherRead, nullptr);
    ASSERT_NE(secondRead, nullptr);
    EXPECT_EQ(firstRead->m_value, 5);
    EXPECT_EQ(otherRead->m_name, u"name"_s);
    EXPECT_EQ(secondRead->m_value, 6);
    EXPECT_EQ(archive.ReadObject<CThing>(), firstRead);
    EXPECT_EQ(archive.ReadObject<COther>(), otherRead);
}

TEST(ArchiveObjects, RefuseClassRecordsThatDoNotFit)
{
    const struct
    {
        QByteArray bytes;
        CArchiveException::Cause cause;
    } cases[] = {
        {Hex("FFFF 0300 0600") + "CThinG" + Hex("05000000"), CArchiveException::BadClass},
        {Hex("FFFF 0300 0500") + "CThin" + Hex("05000000"), CArchiveException::BadClass},
        {Hex("FFFF 0300 0600") + "COther" + Hex("05000000"), CArchiveException::BadClass},
        {Hex("FFFF 0400 0600") + "CThing" + Hex("05000000"), CArchiveException::BadSchema},
        {Hex("FFFF 0300 0600") + "CThi", CArchiveException::EndOfData},
        {Hex("FFFF 03"), CArchiveException::EndOfData},
    };
    for (const auto &sample : cases) {
        CArchive archive(sample.bytes);
        EXPECT_EQ(ThrownCause([&] { archive.ReadObject<CThing>(); }), sample.cause)
            << sample.bytes.toHex(' ').constData();
    }
}

TEST(ArchiveObjects, RefuseIndicesThatWereNeverGivenOut)
{
    const QByteArray start = Hex("FFFF 0300 0600") + "CThing" + Hex("05000000");
    const struct
    {
        QByteArray tag;
        CArchiveException::Cause cause;
    } cases[] = {
        {Hex("0300"), CArchiveException::BadIndex}, // object index beyond the last one
        {Hex("0100"), CArchiveException::BadIndex}, // a class index used as an object
        {Hex("0380"), CArchiveException::BadIndex}, // class index beyond the last one
        {Hex("0280"), CArchiveException::BadIndex}, // an object index used as a class
        {Hex("0080"), CArchiveException::BadIndex},
        {Hex("FF7F 03000000"), CArchiveException::BadIndex},
        {Hex("FF7F 02000080"), CArchiveException::BadIndex},
    };
    for (const auto &sample : cases) {
        CArchive archive(start + sample.tag + Hex("06000000"));
        ASSERT_NE(archive.ReadObject<CThing>(), nullptr);
        EXPECT_EQ(ThrownCause([&] { archive.ReadObject<CThing>(); }), sample.cause)
            << sample.tag.toHex(' ').constData();
    }
}

TEST(ArchiveObjects, RefuseAnObjectOrClassOfAnotherType)
{
    const QByteArray start = Hex("FFFF 0300 0600") + "CThing" + Hex("05000000");
    CArchive byObject(start + Hex("0200"));
    byObject.ReadObject<CThing>();
    EXPECT_EQ(ThrownCause([&] { byObject.ReadObject<COther>(); }), CArchiveException::BadClass);
    CArchive byClass(start + Hex("0180 01") + "o");
    byClass.ReadObject<CThing>();
    EXPECT_EQ(ThrownCause([&] { byClass.ReadObject<COther>(); }), CArchiveException::BadClass);
}

TEST(ArchiveObjects, IndicesFrom7FFFUseThe32BitForms)
{
    // Class 1 and objects 2 to 0x7FFF fill the 16-bit tags; COther then becomes class 0x8000.
    std::vector<CThing> things(0x7FFE);
    COther first {u"a"_s};
    COther second {u"b"_s};
    CArchive storing;
    for (CThing &thing : things)
        storing.WriteObject(&thing);
    const qsizetype tail = storing.Bytes().size();
    storing.WriteObject(&things.back());
    storing.WriteObject(&first);
    storing.WriteObject(&second);
    storing.WriteObject(&second);
    EXPECT_EQ(storing.Bytes().mid(tail),
              Hex("FF7F FF7F0000") + Hex("FFFF 0100 0600") + "COther" + Hex("01") + "a"
                  + Hex("FF7F 00800080 01") + "b" + Hex("FF7F 02800000"));

    CArchive loading(storing.Bytes());
    std::shared_ptr<CThing> last;
    for (qsizetype count = 0; count < 0x7FFE; ++count)
        last = loading.ReadObject<CThing>();
    EXPECT_EQ(loading.ReadObject<CThing>(), last);
    EXPECT_EQ(loading.ReadObject<COther>()->m_name, u"a"_s);
    const auto secondRead = loading.ReadObject<COther>();
    EXPECT_EQ(secondRead->m_name, u"b"_s);
    EXPECT_EQ(loading.ReadObject<COther>(), secondRead);
}
