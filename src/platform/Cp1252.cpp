#include "Cp1252.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

// The characters of the bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> HighControlCharacters = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

std::optional<char> EncodeCharacter(QChar character)
{
    const char16_t code = character.unicode();
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    const auto found = std::find(HighControlCharacters.begin(), HighControlCharacters.end(), code);
    if (found == HighControlCharacters.end())
        return std::nullopt;
    return static_cast<char>(0x80 + (found - HighControlCharacters.begin()));
}

QChar DecodeByte(char byte)
{
    const auto code = static_cast<unsigned char>(byte);
    if (code >= 0x80 && code < 0xA0)
        return QChar(HighControlCharacters[code - 0x80]);
    return QChar(char16_t(code));
}

} // namespace

bool CanEncodeCp1252(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar character) { return EncodeCharacter(character).has_value(); });
}

QByteArray ToCp1252(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar character : text)
        bytes.append(EncodeCharacter(character).value_or('?'));
    return bytes;
}

QString FromCp1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text.append(DecodeByte(byte));
    return text;
}
