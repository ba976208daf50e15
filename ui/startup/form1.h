// SPDX-License-Identifier: GPL-3.0-or-later
// The new-or-open dialog: a new disc with a number of tracks, or an existing
// title file, then a fresh editor window on the store.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

namespace sonolabe {

class Session;
class TrackCountField;

class Form1 : public QDialog
{
    Q_OBJECT
public:
    // Builds the dialog in its initial state: "new" selected, the empty field
    // focused, OK disabled. The command line is never looked at here; start-up
    // handles it once before the first showing.
    explicit Form1(Session &session, QWidget *parent = nullptr);

private:
    void Form_Load();
    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void Command2_Click();
    void Text4_KeyPress(int &KeyAscii);
    void Text4_Change();

    // Lets the user choose an existing title file and loads it. True when a
    // file was chosen and loaded, which then is currentFilePath; a failed
    // load leaves the store, its path included, as it was.
    bool OpenExistingFile();

    Session &m_session;
    bool blnInChange = false;

    QLabel *Label1 = nullptr;
    QRadioButton *Option1 = nullptr;
    QLabel *Label3 = nullptr;
    TrackCountField *Text4 = nullptr;
    QLabel *Label2 = nullptr;
    QRadioButton *Option2 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command1 = nullptr;
};

} // namespace sonolabe
