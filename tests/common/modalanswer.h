// SPDX-License-Identifier: GPL-3.0-or-later
// Answers the next modal window from inside the test: a message box or a
// dialog that a handler opens with exec() would otherwise wait for a person.
//
//   ModalAnswer answer([](QWidget *modal) { ... click a button ... });
//   window.doSomethingThatShowsABox();
//   QVERIFY(answer.answered());
//   QCOMPARE(answer.text(), ...);  // text of a QMessageBox, CRs as shown
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace sonolabe::test {

class ModalAnswer
{
public:
    using Handler = std::function<void(QWidget *modal)>;

    // With no handler, a message box is answered with OK and any other dialog
    // is rejected.
    explicit ModalAnswer(Handler handler = {}) : m_handler(std::move(handler))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
    }

    bool answered() const { return m_answered; }
    QString title() const { return m_title; }
    QString text() const { return m_text; }
    QMessageBox::Icon icon() const { return m_icon; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        m_timer.stop();
        m_answered = true;
        m_title = modal->windowTitle();
        auto *box = qobject_cast<QMessageBox *>(modal);
        m_text = box ? box->text() : QString();
        m_icon = box ? box->icon() : QMessageBox::NoIcon;
        if (m_handler)
            m_handler(modal);
        else if (box && box->button(QMessageBox::Ok))
            box->button(QMessageBox::Ok)->click();
        else if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
    }

    Handler m_handler;
    QTimer m_timer;
    bool m_answered = false;
    QString m_title;
    QString m_text;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
};

} // namespace sonolabe::test
