#pragma once

#include "CArchiveException.h"
#include "CRuntimeClass.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

// The byte stream of the program's files and drag formats, either storing into a buffer or
// loading from one. Integers are little-endian. Strings are Windows-1252 behind a length prefix;
// a string the code page cannot hold is stored in the wide form (UTF-16) so that nothing is lost.
// Objects travel as references with class records, so an object stored twice is loaded once.
// Loading throws CArchiveException for data that run out or do not fit; it never reads past the
// buffer.
class CArchive
{
public:
    // A storing archive over an empty buffer.
    CArchive();
    // A loading archive over the bytes.
    explicit CArchive(QByteArray bytes);

    bool IsStoring() const { return m_storing; }
    bool IsLoading() const { return !m_storing; }
    // The buffer: what has been stored so far, or what is being loaded.
    const QByteArray &Bytes() const { return m_bytes; }

    void WriteByte(quint8 value);
    void WriteWord(quint16 value);
    void WriteUInt32(quint32 value);
    void WriteInt32(qint32 value);
    void WriteString(QStringView text);
    // A count of elements: 16 bits, or 0xFFFF and 32 bits from 0xFFFF on.
    void WriteCount(qsizetype count);

    quint8 ReadByte();
    quint16 ReadWord();
    quint32 ReadUInt32();
    qint32 ReadInt32();
    QString ReadString();
    quint32 ReadCount();

    // Writes the value when storing and reads it when loading, so that one list of fields
    // serves both directions.
    void Exchange(qint32 &value);
    void Exchange(quint32 &value);
    void Exchange(QString &value);

    // Stores a reference to the object: a null pointer as an empty slot, an object stored before
    // as its index, a new object as its class and then its own fields through
    // T::Serialize(CArchive &). T names its class with T::s_runtimeClass.
    template<class T> void WriteObject(T *object)
    {
        if (WriteReference(object, T::s_runtimeClass))
            object->Serialize(*this);
    }

    // Loads a reference stored by WriteObject<T>: null for an empty slot, the same object again
    // for a repeated reference. A class other than T, another schema number or an index out of
    // range throws.
    template<class T> std::shared_ptr<T> ReadObject()
    {
        Reference reference = ReadReference(T::s_runtimeClass);
        if (!reference.m_newObject)
            return std::static_pointer_cast<T>(reference.m_known);
        auto object = std::make_shared<T>();
        AddLoaded(&T::s_runtimeClass, object);
        object->Serialize(*this);
        return object;
    }

private:
    // What a reference tag announces: a new object whose fields follow, or one already loaded
    // (null for an empty slot).
    struct Reference
    {
        bool m_newObject = false;
        std::shared_ptr<void> m_known;
    };

    // One index of a loading archive: a class record (no object) or an object of its class.
    struct Loaded
    {
        const CRuntimeClass *m_class = nullptr;
        std::shared_ptr<void> m_object;
    };

    void Append(QByteArrayView bytes);
    QByteArrayView Take(qint64 size);
    void WriteStringLength(qsizetype length);
    quint32 ReadStringLength(bool &wide);

    quint32 TakeIndex();
    void WriteIndexTag(quint32 index, bool isClass);
    bool WriteReference(const void *object, const CRuntimeClass &runtimeClass);
    Reference ReadReference(const CRuntimeClass &runtimeClass);
    void ReadClassRecord(const CRuntimeClass &runtimeClass);
    void CheckLoadedClass(quint32 index, const CRuntimeClass &runtimeClass) const;
    Reference LoadedObject(quint32 index, const CRuntimeClass &runtimeClass) const;
    void AddLoaded(const CRuntimeClass *runtimeClass, std::shared_ptr<void> object);

    bool m_storing;
    QByteArray m_bytes;
    qsizetype m_position = 0;
    // Classes and objects share one sequence of indices that starts at 1; 0 is the empty slot.
    // Storing: the next index to give out and the indices given to classes and objects.
    quint32 m_nextIndex = 1;
    QHash<const CRuntimeClass *, quint32> m_storedClasses;
    QHash<const void *, quint32> m_storedObjects;
    // Loading: what each index read so far stands for.
    std::vector<Loaded> m_loaded;
};
