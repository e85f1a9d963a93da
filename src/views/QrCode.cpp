#include "QrCode.h"

#include <QPainter>

#include <qrencode.h>

#include <memory>

QImage QrCodeImage(const QByteArray &text, int moduleSize)
{
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!code)
        return {};
    const int modules = code->width + 2 * kQrQuietZone;
    QImage image(modules * moduleSize, modules * moduleSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            // The lowest bit of each byte is the module's colour: 1 is dark.
            if (code->data[y * code->width + x] & 1)
                painter.fillRect((x + kQrQuietZone) * moduleSize, (y + kQrQuietZone) * moduleSize,
                                 moduleSize, moduleSize, Qt::black);
        }
    }
    return image;
}
