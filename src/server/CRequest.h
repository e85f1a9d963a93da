#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>

// One parsed HTTP request. Reference-counted: starts at 1 and deletes itself at 0.
class CRequest
{
public:
    CRequest();
    CRequest(const CRequest &) = delete;
    CRequest &operator=(const CRequest &) = delete;

    void AddRef() { ++m_refCount; }
    void Release();

    QString m_clientAddress;
    QString m_userName;
    int m_browserV4 = 0;
    QByteArray m_method;
    QByteArray m_url; // percent-decoded bytes
    QByteArray m_version;
    QMap<QByteArray, QByteArray> m_headers; // names in lower case
    QString m_path; // the file finally served
    qint64 m_fileSize = 0;
    int m_status = 0;
    int m_logon = 0;
    qint64 m_bytesSent = 0;
    QDateTime m_time;

private:
    ~CRequest() = default;

    int m_refCount = 1;
};
