// The window icon and the two text pointers as the program embeds them.
#include "ui/common/resources.h"

#include <QBitmap>
#include <QImage>
#include <QSet>
#include <QTest>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

class TestPictures : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void icon();
    void pointers_data();
    void pointers();
};

void TestPictures::icon()
{
    const QImage icon = sonolabeIcon().pixmap(32, 32).toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    QSet<QRgb> colours;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (qAlpha(icon.pixel(x, y)) > 0)
                colours.insert(icon.pixel(x, y) | 0xff000000u);
        }
    }
    QVERIFY2(colours.size() <= 16, "more than 16 colours");
    QVERIFY(colours.contains(qRgb(255, 0, 0))); // the lettering
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);      // round: the corners are clear
}

void TestPictures::pointers_data()
{
    QTest::addColumn<QCursor>("pointer");
    QTest::addColumn<QCursor>("other");
    QTest::newRow("日本") << japanesePointer() << englishPointer();
    QTest::newRow("英") << englishPointer() << japanesePointer();
}

void TestPictures::pointers()
{
    QFETCH(QCursor, pointer);
    QFETCH(QCursor, other);
    QCOMPARE(pointer.shape(), Qt::BitmapCursor);
    QCOMPARE(pointer.hotSpot(), QPoint(5, 11));
    const QImage ink = pointer.bitmap().toImage().convertToFormat(QImage::Format_Mono);
    const QImage mask = pointer.mask().toImage().convertToFormat(QImage::Format_Mono);
    QCOMPARE(ink.size(), QSize(32, 32));
    const auto black = [&](int x, int y) {
        return mask.pixelIndex(x, y) == 1 && QColor(ink.pixel(x, y)) == Qt::black;
    };
    // The hot spot lies on the I-beam's stem, which runs up and down from it.
    QVERIFY(black(5, 11) && black(5, 5) && black(5, 17));
    QVERIFY(!black(4, 11) && !black(6, 11));
    // The characters are drawn to the lower right of the I-beam only.
    int marks = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 10; x < 32; ++x) {
            if (black(x, y)) {
                QVERIFY2(y > 11, qPrintable(u"ink above the marks at %1, %2"_s.arg(x).arg(y)));
                ++marks;
            }
        }
    }
    QVERIFY(marks > 30);
    QVERIFY(pointer.bitmap().toImage() != other.bitmap().toImage());
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
