// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/copy/form3.h"

#include "model/titlestore.h"
#include "ui/common/look.h"
#include "ui/common/trackentry.h"

#include <QCheckBox>
#include <QItemSelection>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStringBuilder>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

namespace {

QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, QRect geometry)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    // Names and titles are shown as typed, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setGeometry(geometry);
    return label;
}

QPushButton *addButton(QWidget *parent, const QString &name, const QString &text, QRect geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

} // namespace

Form3::Form3(TitleStore &store, QWidget *parent) : QDialog(parent), m_store(store)
{
    setObjectName(u"Form3"_s);
    setWindowTitle(u"コピー"_s);
    setFont(uiGothicFont());
    setFixedDialogFrame(this, 7470, 5115);

    Label1 = addLabel(this, u"Label1"_s, u"ディスク名："_s, twipsRect(120, 520, 975, 255));
    Label2 = addLabel(this, u"Label2"_s, u"日本語"_s, twipsRect(1200, 240, 1815, 255));
    Label3 = addLabel(this, u"Label3"_s, u"英語"_s, twipsRect(4800, 240, 855, 255));
    Label4 = addLabel(this, u"Label4"_s, u"作者名："_s, twipsRect(240, 880, 855, 255));
    Label5 = addLabel(this, u"Label5"_s, u"曲名："_s, twipsRect(240, 1240, 855, 255));

    const std::array<int, 2> columnLeft{1200, 4800};
    for (int j = 0; j < 2; ++j) {
        const QString index = QString::number(j);
        LabelDiscName[j] = addLabel(this, u"LabelDiscName_"_s % index, {},
                                    twipsRect(columnLeft[j], 480, 2535, 255));
        LabelSinger[j] =
            addLabel(this, u"LabelSinger_"_s % index, {}, twipsRect(columnLeft[j], 840, 2535, 255));
        List1[j] = new QListWidget(this);
        List1[j]->setObjectName(u"List1_"_s % index);
        List1[j]->setGeometry(twipsRect(columnLeft[j], 1200, 2535, 2940));
        List1[j]->setSelectionMode(QAbstractItemView::ExtendedSelection);
        List1[j]->setUniformItemSizes(true);
        List1[j]->setTextElideMode(Qt::ElideNone);
        List1[j]->setItemDelegate(new OneLineEntries(List1[j]));
        connect(List1[j], &QListWidget::itemSelectionChanged, this, [this, j] { List1_Click(j); });
    }

    const std::array<QRect, CopyRowCount> directionGeometry{twipsRect(3840, 480, 855, 255),
                                                            twipsRect(3840, 840, 855, 255),
                                                            twipsRect(3840, 1920, 855, 495)};
    for (int row = 0; row < CopyRowCount; ++row) {
        Command1[row] =
            addButton(this, u"Command1_"_s % QString::number(row), u"×"_s, directionGeometry[row]);
        connect(Command1[row], &QPushButton::clicked, this, [this, row] { Command1_Click(row); });
    }
    Command2[1] = addButton(this, u"Command2_1"_s, u"全て選択"_s, twipsRect(3840, 2520, 855, 375));
    Command2[0] = addButton(this, u"Command2_0"_s, u"全て解除"_s, twipsRect(3840, 3000, 855, 375));
    for (int index = 0; index < 2; ++index)
        connect(Command2[index], &QPushButton::clicked, this,
                [this, index] { Command2_Click(index); });

    addEtchedLine(this, 120, 7320, 4320);

    Check1 = new QCheckBox(u"コピー先が空白の部分のみコピー"_s, this);
    Check1->setObjectName(u"Check1"_s);
    Check1->setGeometry(twipsRect(360, 4560, 3375, 255));

    Command5 = addButton(this, u"Command5"_s, u"ｷｬﾝｾﾙ"_s, twipsRect(4800, 4560, 1095, 375));
    Command4 = addButton(this, u"Command4"_s, u"OK"_s, twipsRect(6240, 4560, 1095, 375));
    Command4->setDefault(true);
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });

    QWidget *const tabOrder[] = {List1[0], List1[1], Command1[0], Command1[1], Command1[2],
                                 Command4, Command5, Check1,      Command2[0], Command2[1]};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    List1[0]->setFocus();

    Form_Load();
}

void Form3::Form_Load()
{
    lngDirection = {NoCopy, NoCopy, NoCopy};
    strDirectionMark = {u"×"_s, u"→"_s, u"←"_s};
    for (int j = 0; j < 2; ++j) {
        LabelDiscName[j]->setText(m_store.discNames[j]);
        LabelSinger[j]->setText(m_store.artistNames[j]);
        for (int track = 1; track <= m_store.trackCount; ++track)
            List1[j]->addItem(TrackEntry(track, m_store.trackTitles(j, track)));
    }
}

void Form3::Command1_Click(int Index)
{
    lngDirection[Index] = (lngDirection[Index] + 1) % CopyDirectionCount;
    UpdateDirectionButtons();
}

void Form3::UpdateDirectionButtons()
{
    for (int row = 0; row < CopyRowCount; ++row)
        Command1[row]->setText(strDirectionMark[lngDirection[row]]);
}

void Form3::List1_Click(int Index)
{
    if (blnInListSync)
        return;
    const QListWidget *from = List1[Index];
    QListWidget *to = List1[1 - Index];
    QItemSelection selection;
    const int lines = qMin(from->count(), to->count());
    for (int k = 0; k < lines; ++k) {
        if (from->item(k)->isSelected()) {
            const QModelIndex line = to->model()->index(k, 0);
            selection.select(line, line);
        }
    }
    blnInListSync = true;
    // One change of the whole selection; an unchanged selection signals nothing.
    to->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    blnInListSync = false;
}

void Form3::Command2_Click(int Index)
{
    blnInListSync = true;
    for (QListWidget *list : List1) {
        if (Index == 1)
            list->selectAll();
        else
            list->clearSelection();
    }
    blnInListSync = false;
}

void Form3::Command4_Click()
{
    TrackSelection selected;
    for (int k = 0; k < List1[0]->count() && k < MaxTracks; ++k)
        selected.set(std::size_t(k), List1[0]->item(k)->isSelected());
    CopyBetweenLanguages(m_store, lngDirection, Check1->isChecked(), selected);
    accept();
}

void Form3::Command5_Click()
{
    reject();
}

} // namespace sonolabe
