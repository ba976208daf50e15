// SPDX-License-Identifier: GPL-3.0-or-later
// An editor session on a disc of the test's own, its window shown and active,
// and its controls found by name. A test class derives from it after QObject.
#pragma once

#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/editor/editorwindow.h"
#include "ui/editorsession.h"

#include <QPointer>
#include <QTest>

#include <memory>

namespace sonolabe::test {

class EditorFixture
{
protected:
    // False if the window never became active. Activated by hand: Xvfb runs
    // no window manager.
    bool openEditor(const TitleStore &disc)
    {
        m_store = std::make_unique<TitleStore>(disc);
        m_session = std::make_unique<EditorSession>(*m_store, m_beeper);
        m_window = m_session->openEditor();
        if (!QTest::qWaitForWindowExposed(m_window))
            return false;
        m_window->activateWindow();
        return QTest::qWaitForWindowActive(m_window);
    }
    template <typename T = QWidget> T *find(const QString &name) const
    {
        T *child = m_window->findChild<T *>(name);
        if (!child)
            qFatal("no child %s", qPrintable(name));
        return child;
    }

    Beeper m_beeper;
    std::unique_ptr<TitleStore> m_store;
    std::unique_ptr<EditorSession> m_session;
    QPointer<EditorWindow> m_window; // the session's
};

} // namespace sonolabe::test
