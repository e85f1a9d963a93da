#pragma once

#include <QRect>
#include <QString>

class QAbstractButton;
class QLineEdit;
class QWidget;

// Controls made with their ids, so that data exchange and tests find them.
QLineEdit *MakeEdit(QWidget *parent, int id);
QAbstractButton *MakeButton(QWidget *parent, int id, const QString &text);
QAbstractButton *MakeCheckBox(QWidget *parent, int id, const QString &text);
QAbstractButton *MakeRadio(QWidget *parent, int id, const QString &text);

// A rectangle given in dialog units (a quarter of the font's average character width across,
// an eighth of its height down), in the dialog's pixels.
QRect DialogUnitsRect(const QWidget *dialog, int x, int y, int cx, int cy);
