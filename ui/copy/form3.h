// SPDX-License-Identifier: GPL-3.0-or-later
// The copy dialog: disc name, artist and track titles between the languages.
#pragma once

#include "ui/copy/languagecopy.h"

#include <QDialog>
#include <QString>

#include <array>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace sonolabe {

struct TitleStore;

// Japanese on the left, English on the right, a direction button per row
// between them. The store is written only by OK, with CopyBetweenLanguages;
// every other way of closing leaves it untouched.
class Form3 : public QDialog
{
    Q_OBJECT
public:
    explicit Form3(TitleStore &store, QWidget *parent);

private:
    void Form_Load();
    void Command1_Click(int Index);
    void List1_Click(int Index);
    void Command2_Click(int Index);
    void Command4_Click();
    void Command5_Click();
    void UpdateDirectionButtons();

    TitleStore &m_store;
    CopyDirections lngDirection{};
    std::array<QString, CopyDirectionCount> strDirectionMark;
    // Set while one list's selection is copied into the other, so that the
    // copy does not come back as a click of the other list.
    bool blnInListSync = false;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    std::array<QLabel *, 2> LabelDiscName{};
    std::array<QLabel *, 2> LabelSinger{};
    std::array<QListWidget *, 2> List1{};
    std::array<QPushButton *, CopyRowCount> Command1{};
    std::array<QPushButton *, 2> Command2{};
    QCheckBox *Check1 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command4 = nullptr;
};

} // namespace sonolabe
