#pragma once

#include <QObject>

#include <functional>

// Runs the handler on every idle moment of the calling thread's event loop, that is each time
// the loop is about to wait for events, while the context object lives. Never a zero timer,
// which would keep the processor busy.
void OnEveryIdleMoment(QObject *context, std::function<void()> handler);
