#include "ui/common/look.h"

#include <QDialog>
#include <QFrame>
#include <QMessageBox>
#include <QPalette>
#include <QStringList>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

QFont uiGothicFont(qreal pointSize, int weight)
{
    QFont font;
    font.setFamilies({u"MS UI Gothic"_s, u"IPAPGothic"_s, u"IPAexGothic"_s,
                      u"Noto Sans CJK JP"_s, u"VL PGothic"_s, u"Droid Sans Japanese"_s});
    font.setPointSizeF(pointSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont gothicFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({u"ＭＳ ゴシック"_s, u"MS Gothic"_s, u"IPAGothic"_s, u"IPAexGothic"_s,
                      u"Noto Sans Mono CJK JP"_s, u"VL Gothic"_s, u"Droid Sans Japanese"_s});
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

void setFixedDialogFrame(QDialog *dialog, int widthTwips, int heightTwips)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    dialog->setFixedSize(twips(widthTwips), twips(heightTwips));
}

void addEtchedLine(QWidget *parent, int x1Twips, int x2Twips, int yTwips)
{
    const int left = twips(x1Twips);
    const int width = twips(x2Twips) - left;
    const int y = twips(yTwips);

    auto *shadow = new QFrame(parent);
    shadow->setObjectName(u"Line1"_s);
    shadow->setGeometry(left, y - 1, width, 2);
    shadow->setAutoFillBackground(true);
    shadow->setBackgroundRole(QPalette::Dark);

    auto *highlight = new QFrame(parent);
    highlight->setObjectName(u"Line2"_s);
    highlight->setGeometry(left, y, width, 1);
    highlight->setAutoFillBackground(true);
    highlight->setBackgroundRole(QPalette::Light);
}

void showStopMessage(QWidget *parent, const QString &title, const QString &crText)
{
    QString text = crText;
    text.replace(u'\r', u'\n');
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace sonolabe
