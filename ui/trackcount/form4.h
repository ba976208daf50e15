// SPDX-License-Identifier: GPL-3.0-or-later
// The track-count dialog: changes the number of tracks of the disc being
// edited. Lowering the count empties the titles of the tracks that fall away
// in both languages; raising it adds tracks with empty titles.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace sonolabe {

struct TitleStore;
class TrackCountField;

class Form4 : public QDialog
{
    Q_OBJECT
public:
    // The field starts with the store's trackCount. The store is written only
    // by OK; every other way of closing leaves it untouched.
    explicit Form4(TitleStore &store, QWidget *parent = nullptr);

private:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Text4_KeyPress(int &KeyAscii);
    void Text4_Change();

    TitleStore &m_store;
    bool blnInChange = false;

    QLabel *Label1 = nullptr;
    QLabel *Label2_0 = nullptr;
    QLabel *Label3 = nullptr;
    TrackCountField *Text4 = nullptr;
    QLabel *Label2_1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command1 = nullptr;
};

} // namespace sonolabe
