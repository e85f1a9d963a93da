#include "CArchive.h"

#include "Cp1252.h"

#include <QtEndian>

#include <array>

namespace {

// Reference tags: an empty slot, a new class record, a class index (with 0x8000), and the escape
// to 32-bit indices, where the class flag moves to bit 31.
constexpr quint16 NullTag = 0x0000;
constexpr quint16 NewClassTag = 0xFFFF;
constexpr quint16 ClassTag = 0x8000;
constexpr quint16 BigObjectTag = 0x7FFF;
constexpr quint32 BigClassFlag = 0x80000000;
// The most classes and objects one archive numbers, as the framework's readers accept.
constexpr quint32 MaxIndex = 0x3FFFFFFE;

// Length prefixes: a byte below 0xFF, else 0xFF and a word below 0xFFFE, else 0xFF 0xFFFF and a
// 32-bit length. The word 0xFFFE after 0xFF marks a wide string.
constexpr quint8 LengthEscape = 0xFF;
constexpr quint16 WideMarker = 0xFFFE;
constexpr quint16 LongLengthMarker = 0xFFFF;
constexpr quint16 LongCountMarker = 0xFFFF;

template<class T> std::array<char, sizeof(T)> LittleEndian(T value)
{
    std::array<char, sizeof(T)> bytes;
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

CArchive::CArchive()
    : m_storing(true)
{ }

CArchive::CArchive(QByteArray bytes)
    : m_storing(false)
    , m_bytes(std::move(bytes))
    , m_loaded(1) // index 0, the empty slot
{ }

void CArchive::Append(QByteArrayView bytes)
{
    Q_ASSERT(IsStoring());
    m_bytes.append(bytes);
}

QByteArrayView CArchive::Take(qint64 size)
{
    Q_ASSERT(IsLoading());
    if (size > m_bytes.size() - m_position)
        throw CArchiveException(CArchiveException::EndOfData);
    const QByteArrayView bytes(m_bytes.constData() + m_position, size);
    m_position += size;
    return bytes;
}

void CArchive::WriteByte(quint8 value)
{
    Append(LittleEndian(value));
}

void CArchive::WriteWord(quint16 value)
{
    Append(LittleEndian(value));
}

void CArchive::WriteUInt32(quint32 value)
{
    Append(LittleEndian(value));
}

void CArchive::WriteInt32(qint32 value)
{
    WriteUInt32(static_cast<quint32>(value));
}

void CArchive::WriteStringLength(qsizetype length)
{
    if (length < LengthEscape) {
        WriteByte(static_cast<quint8>(length));
        return;
    }
    WriteByte(LengthEscape);
    if (length < WideMarker) {
        WriteWord(static_cast<quint16>(length));
        return;
    }
    if (length >= 0xFFFFFFFF)
        throw CArchiveException(CArchiveException::TooLarge);
    WriteWord(LongLengthMarker);
    WriteUInt32(static_cast<quint32>(length));
}

void CArchive::WriteString(QStringView text)
{
    if (CanEncodeCp1252(text)) {
        WriteStringLength(text.size());
        Append(ToCp1252(text));
        return;
    }
    WriteByte(LengthEscape);
    WriteWord(WideMarker);
    WriteStringLength(text.size());
    for (const QChar character : text)
        WriteWord(character.unicode());
}

void CArchive::WriteCount(qsizetype count)
{
    if (count < LongCountMarker) {
        WriteWord(static_cast<quint16>(count));
        return;
    }
    if (count > 0xFFFFFFFE)
        throw CArchiveException(CArchiveException::TooLarge);
    WriteWord(LongCountMarker);
    WriteUInt32(static_cast<quint32>(count));
}

quint8 CArchive::ReadByte()
{
    return static_cast<quint8>(Take(1).front());
}

quint16 CArchive::ReadWord()
{
    return qFromLittleEndian<quint16>(Take(2).data());
}

quint32 CArchive::ReadUInt32()
{
    return qFromLittleEndian<quint32>(Take(4).data());
}

qint32 CArchive::ReadInt32()
{
    return static_cast<qint32>(ReadUInt32());
}

quint32 CArchive::ReadStringLength(bool &wide)
{
    wide = false;
    const quint8 shortLength = ReadByte();
    if (shortLength < LengthEscape)
        return shortLength;
    quint16 length = ReadWord();
    if (length == WideMarker) {
        // The real length follows in the same scheme, where 0xFFFE is a length again.
        wide = true;
        const quint8 wideShortLength = ReadByte();
        if (wideShortLength < LengthEscape)
            return wideShortLength;
        length = ReadWord();
    }
    if (length < LongLengthMarker)
        return length;
    return ReadUInt32();
}

QString CArchive::ReadString()
{
    bool wide = false;
    const quint32 length = ReadStringLength(wide);
    if (!wide)
        return FromCp1252(Take(length));
    const QByteArrayView units = Take(qint64(length) * 2);
    QString text(length, Qt::Uninitialized);
    qFromLittleEndian<quint16>(units.data(), length, text.data());
    return text;
}

quint32 CArchive::ReadCount()
{
    const quint16 count = ReadWord();
    return count < LongCountMarker ? count : ReadUInt32();
}

void CArchive::Exchange(qint32 &value)
{
    if (IsStoring())
        WriteInt32(value);
    else
        value = ReadInt32();
}

void CArchive::Exchange(quint32 &value)
{
    if (IsStoring())
        WriteUInt32(value);
    else
        value = ReadUInt32();
}

void CArchive::Exchange(QString &value)
{
    if (IsStoring())
        WriteString(value);
    else
        value = ReadString();
}

quint32 CArchive::TakeIndex()
{
    if (m_nextIndex > MaxIndex)
        throw CArchiveException(CArchiveException::TooLarge);
    return m_nextIndex++;
}

void CArchive::WriteIndexTag(quint32 index, bool isClass)
{
    if (index < BigObjectTag) {
        WriteWord(static_cast<quint16>(isClass ? ClassTag | index : index));
        return;
    }
    WriteWord(BigObjectTag);
    WriteUInt32(isClass ? BigClassFlag | index : index);
}

bool CArchive::WriteReference(const void *object, const CRuntimeClass &runtimeClass)
{
    if (!object) {
        WriteWord(NullTag);
        return false;
    }
    if (const auto stored = m_storedObjects.constFind(object); stored != m_storedObjects.cend()) {
        WriteIndexTag(*stored, false);
        return false;
    }
    if (const auto known = m_storedClasses.constFind(&runtimeClass);
        known != m_storedClasses.cend()) {
        WriteIndexTag(*known, true);
    } else {
        const QByteArrayView name(runtimeClass.m_name);
        WriteWord(NewClassTag);
        WriteWord(runtimeClass.m_schema);
        WriteWord(static_cast<quint16>(name.size()));
        Append(name);
        m_storedClasses.insert(&runtimeClass, TakeIndex());
    }
    m_storedObjects.insert(object, TakeIndex());
    return true;
}

CArchive::Reference CArchive::ReadReference(const CRuntimeClass &runtimeClass)
{
    const quint16 tag = ReadWord();
    const quint32 fullTag = tag == BigObjectTag
        ? ReadUInt32()
        : (quint32(tag & ClassTag) << 16) | quint32(tag & ~ClassTag);
    if (!(fullTag & BigClassFlag))
        return LoadedObject(fullTag, runtimeClass);
    if (tag == NewClassTag)
        ReadClassRecord(runtimeClass);
    else
        CheckLoadedClass(fullTag & ~BigClassFlag, runtimeClass);
    return {true, nullptr};
}

void CArchive::ReadClassRecord(const CRuntimeClass &runtimeClass)
{
    const quint16 schema = ReadWord();
    const quint16 nameLength = ReadWord();
    if (Take(nameLength) != QByteArrayView(runtimeClass.m_name))
        throw CArchiveException(CArchiveException::BadClass);
    if (schema != runtimeClass.m_schema)
        throw CArchiveException(CArchiveException::BadSchema);
    AddLoaded(&runtimeClass, nullptr);
}

void CArchive::CheckLoadedClass(quint32 index, const CRuntimeClass &runtimeClass) const
{
    if (index == 0 || index >= m_loaded.size() || m_loaded[index].m_object)
        throw CArchiveException(CArchiveException::BadIndex);
    if (m_loaded[index].m_class != &runtimeClass)
        throw CArchiveException(CArchiveException::BadClass);
}

CArchive::Reference CArchive::LoadedObject(quint32 index, const CRuntimeClass &runtimeClass) const
{
    if (index == 0)
        return {};
    if (index >= m_loaded.size() || !m_loaded[index].m_object)
        throw CArchiveException(CArchiveException::BadIndex);
    if (m_loaded[index].m_class != &runtimeClass)
        throw CArchiveException(CArchiveException::BadClass);
    return {false, m_loaded[index].m_object};
}

void CArchive::AddLoaded(const CRuntimeClass *runtimeClass, std::shared_ptr<void> object)
{
    if (m_loaded.size() > MaxIndex)
        throw CArchiveException(CArchiveException::TooLarge);
    m_loaded.push_back({runtimeClass, std::move(object)});
}
