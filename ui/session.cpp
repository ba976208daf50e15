// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/session.h"

#include "ui/editor/form2.h"
#include "ui/startup/form1.h"

namespace sonolabe {

Session::Session(TitleStore &store, Beeper &beeper, QObject *parent)
    : QObject(parent), m_store(store), m_beeper(beeper)
{
}

Session::~Session()
{
    delete m_startup.data();
    delete m_editor.data();
}

Form1 *Session::startupDialog() const
{
    return m_startup;
}

Form2 *Session::editor() const
{
    return m_editor;
}

Form1 *Session::showStartupDialog()
{
    if (!m_startup) {
        m_startup = new Form1(*this);
        m_startup->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_startup->show();
    m_startup->raise();
    m_startup->activateWindow();
    return m_startup;
}

Form2 *Session::openEditor()
{
    if (m_editor) {
        // Deleted now, not later: the new window must be the only editor.
        Form2 *old = m_editor;
        m_editor = nullptr;
        old->setAttribute(Qt::WA_DeleteOnClose, false);
        old->close();
        delete old;
    }
    m_editor = new Form2(*this);
    m_editor->setAttribute(Qt::WA_DeleteOnClose);
    m_editor->show();
    return m_editor;
}

void Session::quit()
{
    if (m_startup)
        m_startup->close();
    if (m_editor)
        m_editor->close();
    Q_EMIT quitRequested();
}

} // namespace sonolabe
