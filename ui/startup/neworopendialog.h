// SPDX-License-Identifier: GPL-3.0-or-later
// The new-or-open dialog: a new disc with a number of tracks, or an existing
// title file; the program then opens a fresh editor window on the store.
#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QPushButton;
class QRadioButton;

namespace sonolabe {

class Beeper;
struct TitleStore;
class TrackCountField;

class NewOrOpenDialog : public QDialog
{
    Q_OBJECT
public:
    // Built in its initial state: "new" selected, the empty field focused, OK
    // disabled. The command line is never looked at here: start-up handles it
    // once, before the dialog is first shown. The store and the beeper are
    // only for loading a file.
    NewOrOpenDialog(TitleStore &store, Beeper &beeper, QWidget *parent = nullptr);

Q_SIGNALS:
    // OK with "new": the receiver empties the store, sets the count and opens
    // an editor, before the dialog closes.
    void newDiscChosen(int trackCount);
    // OK with "open": the file at path is in the store; the receiver makes
    // it the current file and opens an editor before the dialog closes.
    void fileLoaded(const QString &path);

private:
    void chooseNewDisc();
    void chooseExistingFile();
    void acceptChoice();
    // Lets the user choose an existing title file and loads it: the path
    // when a file was chosen and loaded, else nothing; a failed load leaves
    // the store as it was.
    std::optional<QString> openExistingFile();

    TitleStore &m_store;
    Beeper &m_beeper;
    QRadioButton *m_newDiscOption = nullptr;
    QRadioButton *m_openFileOption = nullptr;
    TrackCountField *m_countField = nullptr;
    QPushButton *m_okButton = nullptr;
};

} // namespace sonolabe
