#pragma once

#include <QRect>
#include <QString>

#include <span>

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

// A control's place in dialog units.
struct DialogPlacement
{
    int id;
    int x, y, cx, cy;
};

// Puts every listed control the dialog holds (found by its id) in its place.
void PlaceControls(QWidget *dialog, std::span<const DialogPlacement> placements);
