#pragma once

#include <QtGlobal>

// The record by which an archive names a class of objects: the class name and the schema number
// of its stored form. Each serializable class keeps one as
// `static constexpr CRuntimeClass s_runtimeClass`, and archives tell classes apart by its address.
struct CRuntimeClass
{
    const char *m_name;
    quint16 m_schema;
};
