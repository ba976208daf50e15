// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/noinputmethod.h"

#include <QEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodQueryEvent>
#include <QWidget>

namespace sonolabe {

namespace {

// Answers the box's input method queries as the box does, except that it
// takes no input method.
class InputMethodRefusal : public QObject
{
public:
    explicit InputMethodRefusal(QWidget *box) : QObject(box), m_box(box)
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            // The input method asks whether the focused box takes it when the
            // focus moves; tell it again, in case it asked before the box
            // knew it had the focus.
            QGuiApplication::inputMethod()->update(Qt::ImEnabled);
            return false;
        }
        if (event->type() != QEvent::InputMethodQuery)
            return false;
        auto *query = static_cast<QInputMethodQueryEvent *>(event);
        if (!(query->queries() & Qt::ImEnabled))
            return false;
        const uint queries = query->queries().toInt();
        for (int bit = 0; bit < 32; ++bit) {
            const auto asked = static_cast<Qt::InputMethodQuery>(queries & (1u << bit));
            if (asked == Qt::ImEnabled)
                query->setValue(asked, false);
            else if (asked)
                query->setValue(asked, m_box->inputMethodQuery(asked));
        }
        query->accept();
        return true;
    }

private:
    QWidget *m_box;
};

} // namespace

void refuseInputMethod(QWidget *box)
{
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    new InputMethodRefusal(box);
}

} // namespace sonolabe
