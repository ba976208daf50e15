// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/resources.h"

#include <QBitmap>
#include <QImage>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

namespace {

// A monochrome cursor from a picture that holds only black, white and
// transparent pixels: black pixels are set in the bitmap, every pixel that
// is not transparent in the mask.
QCursor monochromePointer(const QString &path)
{
    const QImage picture = QImage(path).convertToFormat(QImage::Format_ARGB32);
    Q_ASSERT_X(!picture.isNull(), "monochromePointer", "picture missing from the resources");
    QImage bitmap(picture.size(), QImage::Format_MonoLSB);
    QImage mask(picture.size(), QImage::Format_MonoLSB);
    bitmap.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            const bool opaque = qAlpha(pixel) >= 128;
            mask.setPixel(x, y, opaque ? 1 : 0);
            bitmap.setPixel(x, y, opaque && qGray(pixel) < 128 ? 1 : 0);
        }
    }
    return QCursor(QBitmap::fromImage(bitmap), QBitmap::fromImage(mask), PointerHotSpot.x(),
                   PointerHotSpot.y());
}

} // namespace

QIcon sonolabeIcon()
{
    return QIcon(u":/sonolabe/sonolabe.xpm"_s);
}

QCursor japanesePointer()
{
    return monochromePointer(u":/sonolabe/japanese-pointer.xpm"_s);
}

QCursor englishPointer()
{
    return monochromePointer(u":/sonolabe/english-pointer.xpm"_s);
}

} // namespace sonolabe
