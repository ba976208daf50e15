// SPDX-License-Identifier: GPL-3.0-or-later
// The application icon as it is installed: a picture for each hicolor size
// the installation names.
#include <QImage>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void picture_data();
    void picture();
};

void TestIcons::picture_data()
{
    QTest::addColumn<int>("size");
    for (const QString &size : QStringLiteral(SONOLABE_ICON_SIZES).split(u' '))
        QTest::newRow(qPrintable(size % u" px"_s)) << size.toInt();
}

// A PNG picture of its size, transparent around the round disc.
void TestIcons::picture()
{
    QFETCH(int, size);
    QImage icon;
    QVERIFY(icon.load(QStringLiteral(SONOLABE_ICON_DIR "/sonolabe-%1.png").arg(size), "PNG"));
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());
}

QTEST_GUILESS_MAIN(TestIcons)
#include "tst_icons.moc"
