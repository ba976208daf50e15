// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editorsession.h"

#include "model/titlestore.h"
#include "ui/editor/editorwindow.h"
#include "ui/editor/savetitlefile.h"
#include "ui/startup/loadtitlefile.h"
#include "ui/startup/neworopendialog.h"

namespace sonolabe {

EditorSession::EditorSession(TitleStore &store, Beeper &beeper, QObject *parent)
    : QObject(parent), m_store(store), m_beeper(beeper)
{}

EditorSession::~EditorSession()
{
    delete m_startup.data();
    delete m_editor.data();
}

NewOrOpenDialog *EditorSession::startupDialog() const
{
    return m_startup;
}

EditorWindow *EditorSession::editor() const
{
    return m_editor;
}

NewOrOpenDialog *EditorSession::showStartupDialog()
{
    if (!m_startup) {
        m_startup = new NewOrOpenDialog;
        m_startup->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_startup, &NewOrOpenDialog::chosen, this, &EditorSession::carryOut);
    }
    m_startup->show();
    m_startup->raise();
    m_startup->activateWindow();
    return m_startup;
}

void EditorSession::carryOut(const NewOrOpenChoice &choice)
{
    if (choice.path.isEmpty()) {
        m_store.clearTexts();
        m_store.setTrackCount(choice.trackCount);
    } else {
        // A file that fails to load does not become the current file: the
        // next save must not offer to overwrite it with the disc on screen.
        if (!load(choice.path, m_startup))
            return;
        m_currentFilePath = choice.path;
    }
    // The fresh editor is shown before the dialog closes, so the program
    // never runs out of windows on the way and does not end.
    openEditor();
    if (m_startup)
        m_startup->accept();
}

bool EditorSession::load(const QString &path, QWidget *parent)
{
    return loadTitleFile(parent, path, m_store, m_beeper);
}

bool EditorSession::save(QWidget *owner)
{
    return saveTitleFile(owner, m_store, m_currentFilePath);
}

EditorWindow *EditorSession::openEditor()
{
    if (m_editor) {
        // Deleted now, not later: the new window must be the only editor.
        EditorWindow *old = m_editor;
        m_editor = nullptr;
        old->setAttribute(Qt::WA_DeleteOnClose, false);
        old->close();
        delete old;
    }
    m_editor = new EditorWindow(m_store, m_beeper);
    m_editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_editor, &EditorWindow::newOrOpenRequested, this, &EditorSession::showStartupDialog);
    connect(m_editor, &EditorWindow::quitRequested, this, &EditorSession::quit);
    connect(m_editor, &EditorWindow::saveRequested, this, [this] { save(m_editor); });
    connect(m_editor, &EditorWindow::saveAndQuitRequested, this, [this] {
        if (save(m_editor))
            quit();
    });
    m_editor->show();
    return m_editor;
}

void EditorSession::quit()
{
    if (m_startup)
        m_startup->close();
    if (m_editor)
        m_editor->close();
    Q_EMIT quitRequested();
}

} // namespace sonolabe
