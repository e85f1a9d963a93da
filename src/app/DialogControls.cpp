#include "DialogControls.h"

#include "CDialog.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

template<class T> T *Named(T *control, int id)
{
    CDialog::SetControlId(control, id);
    return control;
}

} // namespace

QLineEdit *MakeEdit(QWidget *parent, int id)
{
    return Named(new QLineEdit(parent), id);
}

QAbstractButton *MakeButton(QWidget *parent, int id, const QString &text)
{
    auto *button = Named(new QPushButton(text, parent), id);
    button->setAutoDefault(false);
    return button;
}

QAbstractButton *MakeCheckBox(QWidget *parent, int id, const QString &text)
{
    return Named(new QCheckBox(text, parent), id);
}

QAbstractButton *MakeRadio(QWidget *parent, int id, const QString &text)
{
    return Named(new QRadioButton(text, parent), id);
}

QRect DialogUnitsRect(const QWidget *dialog, int x, int y, int cx, int cy)
{
    const QFontMetrics metrics(dialog->font());
    const int across = metrics.averageCharWidth();
    const int down = metrics.height();
    return {x * across / 4, y * down / 8, cx * across / 4, cy * down / 8};
}

void PlaceControls(QWidget *dialog, std::span<const DialogPlacement> placements)
{
    for (const DialogPlacement &place : placements) {
        if (auto *control = dialog->findChild<QWidget *>(QString::number(place.id)))
            control->setGeometry(DialogUnitsRect(dialog, place.x, place.y, place.cx, place.cy));
    }
}
