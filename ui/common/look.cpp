// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/look.h"

#include "model/titlestore.h"

#include <QDialog>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QStringList>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

namespace {

// The first of the families that is installed. Handing Qt the whole list
// instead would make it ask fontconfig for fallbacks of every missing family,
// once per font and script; asking QFontDatabase::hasFamily would resolve
// every missing name as an alias. Either costs more than all else at
// start-up, so the installed families are looked up in Qt's own list.
QString firstInstalled(std::initializer_list<QString> families)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString &family : families) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return *(families.end() - 1);
}

} // namespace

QFont uiGothicFont(qreal pointSize, int weight)
{
    // The fonts of a desktop do not change while the program runs.
    static const QString family =
        firstInstalled({u"MS UI Gothic"_s, u"IPAPGothic"_s, u"IPAexGothic"_s, u"Noto Sans CJK JP"_s,
                        u"VL PGothic"_s, u"Droid Sans Japanese"_s});
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

QFont gothicFont(qreal pointSize)
{
    static const QString family =
        firstInstalled({u"ＭＳ ゴシック"_s, u"MS Gothic"_s, u"IPAGothic"_s, u"IPAexGothic"_s,
                        u"Noto Sans Mono CJK JP"_s, u"VL Gothic"_s, u"Droid Sans Japanese"_s});
    QFont font(family);
    font.setPointSizeF(pointSize);
    return font;
}

void setFixedDialogFrame(QDialog *dialog, int widthTwips, int heightTwips)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    dialog->setFixedSize(twips(widthTwips), twips(heightTwips));
}

QString languageSuffix(Language language)
{
    return language == Japanese ? u"Japanese"_s : u"English"_s;
}

QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                 Qt::Alignment alignment)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    return label;
}

CancelAndOk setUpSmallDialogFrame(QDialog *dialog, const QString &title)
{
    dialog->setWindowTitle(title);
    dialog->setFont(uiGothicFont());
    setFixedDialogFrame(dialog, 4680, 3195);
    addEtchedLine(dialog, 120, 4440, 2280);
    CancelAndOk buttons;
    buttons.cancel = new QPushButton(u"ｷｬﾝｾﾙ"_s, dialog);
    buttons.cancel->setObjectName(u"cancelButton"_s);
    buttons.cancel->setGeometry(twipsRect(840, 2520, 1215, 375));
    buttons.ok = new QPushButton(u"OK"_s, dialog);
    buttons.ok->setObjectName(u"okButton"_s);
    buttons.ok->setGeometry(twipsRect(2640, 2520, 1215, 375));
    buttons.ok->setDefault(true);
    QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return buttons;
}

void addEtchedLine(QWidget *parent, int x1Twips, int x2Twips, int yTwips)
{
    const int left = twips(x1Twips);
    const int width = twips(x2Twips) - left;
    const int y = twips(yTwips);

    auto *shadow = new QFrame(parent);
    shadow->setObjectName(u"ruleShadow"_s);
    shadow->setGeometry(left, y - 1, width, 2);
    shadow->setAutoFillBackground(true);
    shadow->setBackgroundRole(QPalette::Dark);

    auto *highlight = new QFrame(parent);
    highlight->setObjectName(u"ruleHighlight"_s);
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
