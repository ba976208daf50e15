// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window: the disc name, the artist, the track list and the title
// of the selected track, one language at a time, and the menu that reaches
// the dialogs, saving and the end of the program.
//
// The window keeps no texts of its own: every keystroke goes into the title
// store at once, and RefreshEditor redraws everything from the store whenever
// the store may have changed behind the window's back.
#pragma once

#include <QMainWindow>

#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace sonolabe {

class Session;
struct TitleStore;
enum class Separators;

class Form2 : public QMainWindow
{
    Q_OBJECT
public:
    explicit Form2(Session &session, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Pairs of boxes, one per language; only the element languageMode shows.
    using BoxPair = std::array<QLineEdit *, 2>;

    void createControls();
    void createMenu();
    QLineEdit *createBox(const QString &name, int language, int topTwips, Separators separators);

    void Form_Load();
    void RefreshEditor();
    // Finishes an input method's composition in the title boxes while they
    // still show the track and language it was typed for: every action that
    // gives the title box another track, or the window another language,
    // starts with it.
    void finishTyping();
    void List1_Click(int row);
    void UpdateMoveButtons();
    void ChangeLanguage();
    void Label1_Click();
    void mnuLang_Click();
    void Text1_Change(int index);
    void Text2_Change(int index);
    void Text3_Change(int index);
    void Text3_KeyDown(int index, int key);
    void Command7_Click();
    void Command8_Click();
    void mnuNew_Click();
    void mnuNumChange_Click();
    void mnuSave_Click(int index);
    void mnuExit_Click();
    void mnuCopy_Click();

    Session &m_session;
    TitleStore &m_store;

    QWidget *m_client = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command7 = nullptr;
    QListWidget *List1 = nullptr;
    BoxPair Text1{};
    BoxPair Text2{};
    BoxPair Text3{};
    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label11 = nullptr;
    QLabel *Label12 = nullptr;
    bool m_labelDoubleClicked = false;

    QMenu *mnuFile = nullptr;
    QAction *mnuNew = nullptr;
    QAction *mnuNumChange = nullptr;
    std::array<QAction *, 2> mnuSave{};
    QAction *mnuS = nullptr;
    QAction *mnuExit = nullptr;
    QAction *mnuCopy = nullptr;
    QAction *mnuLang = nullptr;
};

} // namespace sonolabe
