// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/trackcount/form4.h"

#include "model/titlestore.h"
#include "ui/common/look.h"
#include "ui/startup/trackcountfield.h"

#include <QLabel>
#include <QPushButton>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

namespace {

QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, QRect geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

} // namespace

Form4::Form4(TitleStore &store, QWidget *parent) : QDialog(parent), m_store(store)
{
    setObjectName(u"Form4"_s);
    setWindowTitle(u"曲数変更"_s);
    setFont(uiGothicFont());
    setFixedDialogFrame(this, 4680, 3195);

    Label1 = addLabel(this, u"Label1"_s, u"曲数を変更します。"_s, twipsRect(240, 240, 3615, 255));
    Label2_0 = addLabel(this, u"Label2_0"_s,
                        u"編集内容は維持されますが、曲数を減らした場合は、超過分は破棄されます。"_s,
                        twipsRect(240, 600, 3615, 495));
    Label2_0->setWordWrap(true);
    Label2_0->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3 = addLabel(this, u"Label3"_s, u"曲数："_s, twipsRect(360, 1485, 615, 255));

    Text4 = new TrackCountField(this);
    Text4->setGeometry(twipsRect(840, 1440, 855, 285));

    Label2_1 = addLabel(this, u"Label2_1"_s, u"曲"_s, twipsRect(1800, 1485, 735, 255));

    addEtchedLine(this, 120, 4440, 2280);

    Command2 = new QPushButton(u"ｷｬﾝｾﾙ"_s, this);
    Command2->setObjectName(u"Command2"_s);
    Command2->setGeometry(twipsRect(840, 2520, 1215, 375));

    Command1 = new QPushButton(u"OK"_s, this);
    Command1->setObjectName(u"Command1"_s);
    Command1->setGeometry(twipsRect(2640, 2520, 1215, 375));
    Command1->setDefault(true);

    setTabOrder(Text4, Command2);
    setTabOrder(Command2, Command1);
    Text4->setFocus();

    Text4->setKeyPressHandler([this](int &code) { Text4_KeyPress(code); });
    connect(Text4, &QLineEdit::textChanged, this, [this] { Text4_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

    Form_Load();
}

void Form4::Form_Load()
{
    // Setting the text runs the change rule, which puts the caret at the end
    // and enables OK (unless the disc has no tracks: 0 is no count to confirm).
    Text4->setText(QString::number(m_store.trackCount));
}

void Form4::Text4_KeyPress(int &KeyAscii)
{
    ApplyTrackCountKeyRule(KeyAscii);
}

void Form4::Text4_Change()
{
    ApplyTrackCountChangeRule(Text4, Command1, blnInChange);
}

void Form4::Command1_Click()
{
    const TrackCountChange field = TrackCountChangeRule(Text4->text());
    if (!field.okEnabled)
        return;
    m_store.dropTracksAbove(TrackCountValue(field.text));
    accept();
}

void Form4::Command2_Click()
{
    reject();
}

} // namespace sonolabe
