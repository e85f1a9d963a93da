#pragma once

#include <QObject>

// The application's message pre-translation: every event of the program passes here before
// its receiver; the splash window may take it.
class CAppMessageFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override;
};
