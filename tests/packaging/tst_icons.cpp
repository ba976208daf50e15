// SPDX-License-Identifier: GPL-3.0-or-later
// The application icon at the hicolor sizes: each committed picture has its
// size, a transparent background and hole, the red lettering on the white
// band, and is what make_icons.py renders from the committed drawings today.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString IconDirectory = QStringLiteral(SONOLABE_ICON_DIR);

QImage committedIcon(int size)
{
    return QImage(IconDirectory % u"/sonolabe-"_s % QString::number(size) % u".png"_s)
        .convertToFormat(QImage::Format_ARGB32);
}

bool isLetteringRed(QRgb pixel)
{
    return qAlpha(pixel) == 255 && qRed(pixel) >= 180 && qGreen(pixel) <= 90 && qBlue(pixel) <= 90;
}

bool isBandWhite(QRgb pixel)
{
    return qAlpha(pixel) == 255 && qRed(pixel) >= 245 && qGreen(pixel) >= 245 &&
           qBlue(pixel) >= 245;
}

} // namespace

class TestIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void picture_data();
    void picture();
    void upToDate_data();
    void upToDate();
};

void TestIcons::picture_data()
{
    QTest::addColumn<int>("size");
    for (int size : {16, 22, 32, 48, 64, 128, 256})
        QTest::newRow(qPrintable(QString::number(size) % u" px"_s)) << size;
}

void TestIcons::picture()
{
    QFETCH(int, size);
    const QImage icon = committedIcon(size);
    QVERIFY2(!icon.isNull(), "the picture cannot be read");
    QCOMPARE(icon.size(), QSize(size, size));

    // A round disc: the corners show the desktop behind it.
    for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0)})
        QCOMPARE(qAlpha(icon.pixel(corner)), 0);
    // The centre hole shows it too, except where it is smaller than a pixel.
    if (size >= 32)
        QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 0);

    // Red lettering on a white band across the lower part: the rows that are
    // mostly white are the band; they lie below the hole and hold the red.
    int bandRows = 0, bandRowsAbove = 0, lettering = 0;
    for (int y = 0; y < size; ++y) {
        int white = 0, red = 0;
        for (int x = 0; x < size; ++x) {
            white += isBandWhite(icon.pixel(x, y));
            red += isLetteringRed(icon.pixel(x, y));
        }
        if (white * 4 < size)
            continue;
        ++bandRows;
        bandRowsAbove += y <= size / 2;
        lettering += red;
    }
    QVERIFY2(bandRows * 10 >= size, qPrintable(u"only %1 rows of white band"_s.arg(bandRows)));
    QCOMPARE(bandRowsAbove, 0);
    QVERIFY2(lettering * 40 >= size * size,
             qPrintable(u"only %1 red pixels of lettering on the band"_s.arg(lettering)));
}

void TestIcons::upToDate_data()
{
    picture_data();
}

// The committed drawings and pictures are what the script makes from its
// source today: a change to the script, or to a drawing by hand, must be
// followed by running the script and committing its output.
void TestIcons::upToDate()
{
    QFETCH(int, size);
    const QString python = QStandardPaths::findExecutable(u"python3"_s);
    if (python.isEmpty() || QStandardPaths::findExecutable(u"rsvg-convert"_s).isEmpty())
        QSKIP("rendering the icons needs python3 and rsvg-convert (package librsvg2-bin)");

    static QTemporaryDir rendered;
    static bool renderedOk = false;
    if (!renderedOk) {
        QVERIFY(rendered.isValid());
        QProcess script;
        script.start(python,
                     {IconDirectory % u"/make_icons.py"_s, u"--render-into"_s, rendered.path()});
        QVERIFY(script.waitForFinished(60000));
        QVERIFY2(script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0,
                 script.readAllStandardError().constData());
        renderedOk = true;
    }

    const QString svgName = size <= 32 ? u"sonolabe-%1.svg"_s.arg(size) : u"sonolabe.svg"_s;
    QFile committedSvg(IconDirectory % u'/' % svgName);
    QFile renderedSvg(rendered.filePath(svgName));
    QVERIFY(committedSvg.open(QIODevice::ReadOnly));
    QVERIFY(renderedSvg.open(QIODevice::ReadOnly));
    QVERIFY2(committedSvg.readAll() == renderedSvg.readAll(),
             qPrintable(svgName % u" differs from what make_icons.py draws"_s));

    // Another version of the renderer may shade edges a little differently.
    const QImage committed = committedIcon(size);
    const QImage fresh = QImage(rendered.filePath(u"sonolabe-%1.png"_s.arg(size)))
                             .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(fresh.size(), committed.size());
    int differing = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const QRgb a = committed.pixel(x, y), b = fresh.pixel(x, y);
            const int difference =
                std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            differing += difference > 24;
        }
    QVERIFY2(differing * 100 <= size * size,
             qPrintable(u"%1 of %2 pixels differ from a fresh rendering"_s.arg(differing).arg(
                 size * size)));
}

QTEST_GUILESS_MAIN(TestIcons)
#include "tst_icons.moc"
