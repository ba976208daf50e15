// SPDX-License-Identifier: GPL-3.0-or-later
// The application icon as it is installed: a picture for each hicolor size
// the installation names. (The installation test reads only the PNG headers.)
#include <QImage>
#include <QTest>

class TestIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A PNG picture of its size, transparent around the round disc.
    void pictures()
    {
        for (const QString &size : QStringLiteral(SONOLABE_ICON_SIZES).split(u' ')) {
            QImage icon;
            QVERIFY2(
                icon.load(QStringLiteral(SONOLABE_ICON_DIR "/sonolabe-%1.png").arg(size), "PNG"),
                qPrintable(size));
            QCOMPARE(icon.size(), QSize(size.toInt(), size.toInt()));
            QVERIFY2(icon.hasAlphaChannel(), qPrintable(size));
        }
    }
};

QTEST_GUILESS_MAIN(TestIcons)
#include "tst_icons.moc"
