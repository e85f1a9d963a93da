#pragma once

#include "CArchive.h"
#include "FuzzCheck.h"

#include <optional>

// Loads the bytes into a fresh T through serialize(archive, value); none when they do not fit.
// Loading must fail only by CArchiveException. What loads must store, and the stored bytes
// must load again and store to the very same bytes: nothing read is lost on the next save.
template<class T, class Serialize>
std::optional<T> CheckArchiveRoundTrip(const std::uint8_t *data, std::size_t size,
                                       Serialize serialize)
{
    const auto load = [&serialize](QByteArray bytes) -> std::optional<T> {
        try {
            CArchive archive(std::move(bytes));
            T value;
            serialize(archive, value);
            return value;
        } catch (const CArchiveException &) {
            return std::nullopt;
        }
    };
    const auto store = [&serialize](T value) {
        CArchive archive;
        serialize(archive, value);
        return archive.Bytes();
    };
    std::optional<T> loaded
        = load(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!loaded)
        return loaded;
    const QByteArray stored = store(*loaded);
    const std::optional<T> reloaded = load(stored);
    FuzzCheck(reloaded.has_value(), "stored bytes load again");
    FuzzCheck(store(*reloaded) == stored, "a second save stores the same bytes");
    return loaded;
}
