// SPDX-License-Identifier: GPL-3.0-or-later
// The new-or-open dialog: a new disc with a number of tracks, or an existing
// title file. It only asks; the receiver of its choice fills the store and
// opens a fresh editor window.
#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class QRadioButton;

namespace sonolabe {

class TrackCountField;

// What OK chose: a new disc of trackCount tracks, or, when path is not
// empty, the title file at path.
struct NewOrOpenChoice
{
    int trackCount = 0;
    QString path;
};

class NewOrOpenDialog : public QDialog
{
    Q_OBJECT
public:
    // Built in its initial state: "new" selected, the empty field focused, OK
    // disabled. The command line is never looked at here: start-up handles it
    // once, before the dialog is first shown.
    explicit NewOrOpenDialog(QWidget *parent = nullptr);

Q_SIGNALS:
    // OK with a count, or with "open" and a file chosen in the open-file
    // dialog. The dialog stays open: the receiver accepts it once the choice
    // is carried out, and leaves it open when the file fails to load.
    void chosen(const sonolabe::NewOrOpenChoice &choice);

private:
    void chooseNewDisc();
    void chooseExistingFile();
    void acceptChoice();
    QRadioButton *m_newDiscOption = nullptr;
    QRadioButton *m_openFileOption = nullptr;
    TrackCountField *m_countField = nullptr;
    QPushButton *m_okButton = nullptr;
};

} // namespace sonolabe
