#pragma once

#include <QByteArray>
#include <QImage>

// The QR code of the text as libqrencode encodes it (error correction level M, the text as
// 8-bit bytes), black square modules of the given size in pixels on white, with the standard
// quiet zone of four modules around. A null image when the text does not fit in a QR code.
QImage QrCodeImage(const QByteArray &text, int moduleSize);

// The quiet zone around the modules, in modules.
constexpr int kQrQuietZone = 4;
