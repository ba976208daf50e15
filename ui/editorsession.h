// SPDX-License-Identifier: GPL-3.0-or-later
// The windows of one run of the program around the one title store: which
// start-up dialog and which editor window are open, the file the disc was
// opened from or last saved to, and ending the program.
// The windows only report what the user chose; the session opens and closes
// windows in answer.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace sonolabe {

struct TitleStore;
class Beeper;
class NewOrOpenDialog;
class EditorWindow;
struct NewOrOpenChoice;

class EditorSession : public QObject
{
    Q_OBJECT
public:
    EditorSession(TitleStore &store, Beeper &beeper, QObject *parent = nullptr);
    ~EditorSession() override;

    // Shows the new-or-open dialog without blocking, in its initial state; if
    // one is already open it is only brought to the front.
    NewOrOpenDialog *showStartupDialog();

    // Closes the open editor window, if any, without asking, and shows a fresh
    // one on the store.
    EditorWindow *openEditor();

    NewOrOpenDialog *startupDialog() const;
    EditorWindow *editor() const;

    // The file the save dialog offers and the save goes to: the file opened
    // or last chosen for a save; empty for a new disc that was never saved.
    const QString &currentFilePath() const { return m_currentFilePath; }
    void setCurrentFilePath(const QString &path) { m_currentFilePath = path; }

    // Loads the title file at path into the store (loadTitleFile, its boxes
    // over parent); true when it loaded. The current file stays as it is.
    bool load(const QString &path, QWidget *parent);

    // Saves the store through the save dialog over owner (saveTitleFile);
    // true only when a file was written.
    bool save(QWidget *owner);

    // Ends the program at once: every window of the session closes, nothing is
    // asked or saved, then quitRequested() is emitted.
    void quit();

Q_SIGNALS:
    void quitRequested();

private:
    void carryOut(const NewOrOpenChoice &choice);

    TitleStore &m_store;
    Beeper &m_beeper;
    QString m_currentFilePath;
    QPointer<NewOrOpenDialog> m_startup;
    QPointer<EditorWindow> m_editor;
};

} // namespace sonolabe
