#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <optional>

// A request to the call-center server takes at most this long; a hung server cannot hold a
// worker for ever.
constexpr int kRequestTimeoutMs = 10000;
// A longer reply counts as not received: nothing of it is kept.
constexpr qsizetype kMaxReplyBytes = 1024 * 1024;

// One HTTP GET of "http://" + server + "/" + path + query, the reply read in blocks of 4096
// bytes to its end. The query goes out percent-encoded where a request line needs it (a space
// as "%20"). Returns the reply's body, whatever its status, or nothing when the request failed,
// ran out of time, was told to stop or the reply was too long. Blocking; for worker threads.
std::optional<QByteArray> RequestCallCenter(const QString &server, const QString &path,
                                            const QString &query, const std::atomic_bool &stop);

// The request target for the path and query, as it goes on the request line.
QByteArray CallCenterTarget(const QString &path, const QString &query);
