// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window: the disc name, the artist, the track list and the title
// of the selected track, one language at a time, and the menu that reaches
// the dialogs, saving and the end of the program.
//
// The window keeps no texts of its own: every keystroke goes into the title
// store at once, and refreshEditor redraws everything from the store whenever
// the store may have changed behind the window's back.
#pragma once

#include "model/titlestore.h"

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

class Beeper;
enum class Separators;

class EditorWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Opens on track 1 and Japanese, and draws the store; beeper sounds the
    // language switch.
    EditorWindow(TitleStore &store, Beeper &beeper, QWidget *parent = nullptr);
    ~EditorWindow() override;

    // The track whose title the title box shows: 1..trackCount, or 0 for a
    // disc without tracks.
    int currentTrack() const { return m_currentTrack; }
    // The language whose texts the window shows and edits.
    Language shownLanguage() const { return m_shownLanguage; }

Q_SIGNALS:
    // The menu's new-or-open command: the start-up dialog is to be shown,
    // without blocking.
    void newOrOpenRequested();
    // End, or a save followed by the end: the program is to end at once.
    void quitRequested();
    // The save command: the store is to be saved through the save dialog.
    void saveRequested();
    // Save and exit: the store is to be saved, and the program to end if it
    // was written.
    void saveAndQuitRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Pairs of boxes, one per language; only the shown language's element shows.
    using BoxPair = std::array<QLineEdit *, 2>;

    void createControls();
    void createMoveButtonsAndList();
    void createBoxes(Language language);
    void createLanguageFrame();
    void createCaptions();
    void connectControls();
    void createMenu();
    QLineEdit *createBox(const QString &name, const QString &caption, Language language,
                         int topTwips, Separators separators);

    void startEditing();
    void refreshEditor();
    void showLanguageName();
    void refillTrackList();
    void refillBoxes();
    // Finishes an input method's composition in the title boxes while they
    // still show the track and language it was typed for: every action that
    // gives the title box another track, or the window another language,
    // starts with it.
    void finishTyping();
    void onTrackSelected(int row);
    void updateMoveButtons();
    void switchLanguage();
    void onDiscNameEdited(Language language);
    void onArtistEdited(Language language);
    void onTitleEdited(Language language);
    void onTitleKeyPressed(int key);
    void moveTitleUp();
    void moveTitleDown();
    void showNewOrOpen();
    void changeTrackCount();
    void save();
    void saveAndQuit();
    void showCopyDialog();

    TitleStore &m_store;
    Beeper &m_beeper;
    int m_currentTrack = 0;
    Language m_shownLanguage = Japanese;

    QWidget *m_client = nullptr;
    QPushButton *m_moveDownButton = nullptr;
    QPushButton *m_moveUpButton = nullptr;
    QListWidget *m_trackList = nullptr;
    BoxPair m_discNameEdit{};
    BoxPair m_artistEdit{};
    BoxPair m_titleEdit{};
    QGroupBox *m_languageFrame = nullptr;
    QLabel *m_languageLabel = nullptr;
    QLabel *m_discNameLabel = nullptr;
    QLabel *m_artistLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    bool m_labelDoubleClicked = false;

    QMenu *m_fileMenu = nullptr;
    QAction *m_newOrOpenAction = nullptr;
    QAction *m_trackCountAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_saveAndQuitAction = nullptr;
    QAction *m_fileMenuSeparator = nullptr;
    QAction *m_quitAction = nullptr;
    QAction *m_copyAction = nullptr;
    QAction *m_languageAction = nullptr;
};

} // namespace sonolabe
