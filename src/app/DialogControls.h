#pragma once

#include <QString>

class QAbstractButton;
class QLineEdit;
class QWidget;

// Controls made with their ids, so that data exchange and tests find them.
QLineEdit *MakeEdit(QWidget *parent, int id);
QAbstractButton *MakeButton(QWidget *parent, int id, const QString &text);
QAbstractButton *MakeCheckBox(QWidget *parent, int id, const QString &text);
QAbstractButton *MakeRadio(QWidget *parent, int id, const QString &text);
