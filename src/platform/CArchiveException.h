#pragma once

#include <exception>

// Thrown by CArchive when stored data do not fit the layout being read, or when a value is too
// large for its stored form.
class CArchiveException : public std::exception
{
public:
    enum Cause {
        EndOfData, // the data ran out
        BadClass, // a class record names a class other than the one expected
        BadSchema, // the expected class, stored with another schema number
        BadIndex, // an object or class index that was never given out
        TooLarge, // a length, count or index beyond the stored form's range
    };

    explicit CArchiveException(Cause cause)
        : m_cause(cause)
    { }

    Cause GetCause() const { return m_cause; }
    const char *what() const noexcept override
    {
        switch (m_cause) {
        case EndOfData:
            return "archive data end early";
        case BadClass:
            return "archive names an unexpected class";
        case BadSchema:
            return "archive holds a class with another schema";
        case BadIndex:
            return "archive refers to an index it never gave out";
        case TooLarge:
            return "value too large for the archive";
        }
        return "archive error";
    }

private:
    Cause m_cause;
};
