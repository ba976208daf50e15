// SPDX-License-Identifier: GPL-3.0-or-later
// What makes a window's layout readable, checked on the window as shown
// rather than against a table of coordinates: every control lies inside its
// window with a margin and shows; no two controls cover each other; a caption
// sits left of or above the box it names; Tab visits the controls in an
// expected order. Each check gives the faults it found, one line each, so
// that a failing test says which control is wrong and how.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QStringList>
#include <QStyle>
#include <QTest>
#include <QWidget>

#include <algorithm>

namespace sonolabe::test {

using namespace Qt::Literals::StringLiterals;

// The controls the program placed in window: every named widget below it
// that is no window of its own (a drop-down menu is one). Qt's own parts of a
// control, such as a list's viewport and scroll bars or the menu bar's
// extension button, are unnamed or named "qt_..." and belong to their control.
inline QList<QWidget *> controlsOf(const QWidget *window)
{
    QList<QWidget *> controls;
    const QList<QWidget *> all = window->findChildren<QWidget *>();
    for (QWidget *widget : all) {
        const QString name = widget->objectName();
        if (!widget->isWindow() && !name.isEmpty() && !name.startsWith(u"qt_"))
            controls << widget;
    }
    return controls;
}

// A control's rectangle in its window's coordinates.
inline QRect rectInWindow(const QWidget *control)
{
    return QRect(control->mapTo(control->window(), QPoint(0, 0)), control->size());
}

// What a control covers on screen, in its window's coordinates: for a label
// on one line, the text where its alignment puts it (a label's box is often
// wider than its text, and a caption's box may reach under the box it
// names); for anything else, the whole control.
inline QRect drawnRect(const QWidget *control)
{
    const auto *label = qobject_cast<const QLabel *>(control);
    if (!label || label->wordWrap())
        return rectInWindow(control);
    if (label->text().isEmpty())
        return {};
    const QRect contents = label->contentsRect();
    const QSize text = label->fontMetrics().size(Qt::TextShowMnemonic, label->text());
    const QRect placed =
        QStyle::alignedRect(label->layoutDirection(), label->alignment(), text, contents) &
        contents;
    return placed.translated(rectInWindow(control).topLeft());
}

inline QString describe(const QWidget *control)
{
    const QRect r = rectInWindow(control);
    return control->objectName() + u" at "_s + QString::number(r.x()) + u',' +
           QString::number(r.y()) + u' ' + QString::number(r.width()) + u'x' +
           QString::number(r.height());
}

// Every control lies inside its parent, at least minMargin pixels from its
// edges (a control dropped at the window's corner has none); the menu bar and
// the central area of a main window are laid out by it, edge to edge, and
// are exempt. Every control is shown, except those named in hidden, which
// must not be.
inline QStringList placementFaults(const QWidget *window, const QStringList &hidden,
                                   int minMargin = 2)
{
    QStringList faults;
    for (const QWidget *control : controlsOf(window)) {
        const QString name = control->objectName();
        const bool shown = control->isVisibleTo(window);
        if (hidden.contains(name)) {
            if (shown)
                faults << name + u" is shown but should be hidden"_s;
            continue;
        }
        if (!shown)
            faults << name + u" is hidden"_s;
        if (control->width() <= 0 || control->height() <= 0)
            faults << describe(control) + u" has no size"_s;
        const QWidget *parent = control->parentWidget();
        const QRect inner =
            qobject_cast<const QMainWindow *>(parent)
                ? parent->rect()
                : parent->rect().adjusted(minMargin, minMargin, -minMargin, -minMargin);
        if (!inner.contains(control->geometry()))
            faults << describe(control) + u" is not inside "_s + parent->objectName() +
                          u" with a margin"_s;
        if (!window->rect().contains(rectInWindow(control)))
            faults << describe(control) + u" reaches out of the window"_s;
    }
    return faults;
}

// No two shown controls cover each other, comparing what each draws (see
// drawnRect). A control and its descendants (a frame and its contents, the
// central area and everything in it) are not compared; allowedPairs names
// further pairs "A B" that are meant to lie on each other.
inline QStringList overlapFaults(const QWidget *window, const QStringList &allowedPairs = {})
{
    QList<QWidget *> shown;
    for (QWidget *control : controlsOf(window)) {
        if (control->isVisibleTo(window))
            shown << control;
    }
    QStringList faults;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        for (qsizetype j = i + 1; j < shown.size(); ++j) {
            const QWidget *a = shown[i];
            const QWidget *b = shown[j];
            if (a->isAncestorOf(b) || b->isAncestorOf(a))
                continue;
            const QString pair = a->objectName() + u' ' + b->objectName();
            const QString reversed = b->objectName() + u' ' + a->objectName();
            if (allowedPairs.contains(pair) || allowedPairs.contains(reversed))
                continue;
            if (drawnRect(a).intersects(drawnRect(b)))
                faults << describe(a) + u" overlaps "_s + describe(b);
        }
    }
    return faults;
}

// A caption is left of its box, on the box's line (its text's middle within
// the box's height), or above it, over the box's width; its text shows in
// full. Gives the fault, or an empty string.
inline QString captionFault(const QLabel *caption, const QWidget *box)
{
    const QString pair = caption->objectName() + u" for "_s + box->objectName();
    const QRect text = drawnRect(caption);
    const QRect target = rectInWindow(box);
    const QSize needed = caption->fontMetrics().size(Qt::TextShowMnemonic, caption->text());
    if (text.width() < needed.width() || text.height() < needed.height())
        return pair + u": the caption's text is cut"_s;
    const bool leftOf = text.right() < target.left() + 1 && text.center().y() >= target.top() &&
                        text.center().y() <= target.bottom();
    const bool above = text.bottom() < target.top() + 1 && text.right() >= target.left() &&
                       text.left() <= target.right();
    if (!leftOf && !above)
        return pair + u": the caption is neither left of nor above the box"_s;
    return {};
}

// Every shown label with a buddy is placed as captionFault wants it, and so
// is every pair "CAPTION BOX" of named: captions without a buddy.
inline QStringList captionFaults(const QWidget *window, const QStringList &named = {})
{
    QStringList faults;
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->isVisibleTo(window) && label->buddy()) {
            if (const QString fault = captionFault(label, label->buddy()); !fault.isEmpty())
                faults << fault;
        }
    }
    for (const QString &pair : named) {
        const QStringList names = pair.split(u' ');
        const auto *caption = window->findChild<QLabel *>(names.value(0));
        const auto *box = window->findChild<QWidget *>(names.value(1));
        if (!caption || !box)
            faults << pair + u": no such caption or box"_s;
        else if (const QString fault = captionFault(caption, box); !fault.isEmpty())
            faults << fault;
    }
    return faults;
}

// The text a control shows: a label's or a button's caption, a box's
// contents.
inline QString shownText(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (const auto *box = qobject_cast<const QLineEdit *>(control))
        return box->text();
    return {};
}

// The line of the window through anchor as the eye reads it, left to right:
// the texts of the shown labels, buttons and boxes whose middle lies within
// anchor's height, separated by " | ".
inline QString lineThrough(const QWidget *anchor)
{
    const QWidget *window = anchor->window();
    const QRect line = rectInWindow(anchor);
    QList<const QWidget *> onLine;
    for (const QWidget *control : controlsOf(window)) {
        const int middle = drawnRect(control).center().y();
        const bool readable = qobject_cast<const QLabel *>(control) ||
                              qobject_cast<const QAbstractButton *>(control) ||
                              qobject_cast<const QLineEdit *>(control);
        if (readable && control->isVisibleTo(window) && !drawnRect(control).isEmpty() &&
            middle >= line.top() && middle <= line.bottom())
            onLine << control;
    }
    std::stable_sort(onLine.begin(), onLine.end(), [](const QWidget *a, const QWidget *b) {
        return drawnRect(a).left() < drawnRect(b).left();
    });
    QStringList texts;
    for (const QWidget *control : onLine)
        texts << shownText(control);
    return texts.join(u" | "_s);
}

// The controls Tab visits in the shown, active window, starting from the one
// with the focus, until the focus comes back to it (or after limit presses).
inline QStringList tabCycle(int limit = 30)
{
    QStringList visited;
    QWidget *start = QApplication::focusWidget();
    if (!start)
        return visited;
    visited << start->objectName();
    for (int press = 0; press < limit; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *now = QApplication::focusWidget();
        if (now == start)
            break;
        visited << (now ? now->objectName() : u"(nothing)"_s);
    }
    return visited;
}

// The controls of window that Tab can reach (shown, enabled, taking the focus
// by Tab), in reading order: line by line from the top, a line being the
// controls whose middles lie within the height of the line's first control,
// and left to right within a line.
inline QStringList readingOrder(const QWidget *window)
{
    QList<const QWidget *> reachable;
    for (const QWidget *control : controlsOf(window)) {
        if (control->isVisibleTo(window) && control->isEnabled() &&
            (control->focusPolicy() & Qt::TabFocus))
            reachable << control;
    }
    std::stable_sort(reachable.begin(), reachable.end(), [](const QWidget *a, const QWidget *b) {
        return rectInWindow(a).top() < rectInWindow(b).top();
    });
    QStringList order;
    while (!reachable.isEmpty()) {
        const QRect first = rectInWindow(reachable.first());
        QList<const QWidget *> line;
        for (const QWidget *control : std::as_const(reachable)) {
            const int middle = rectInWindow(control).center().y();
            if (middle >= first.top() && middle <= first.bottom())
                line << control;
        }
        std::stable_sort(line.begin(), line.end(), [](const QWidget *a, const QWidget *b) {
            return rectInWindow(a).left() < rectInWindow(b).left();
        });
        for (const QWidget *control : std::as_const(line)) {
            order << control->objectName();
            reachable.removeOne(control);
        }
    }
    return order;
}

} // namespace sonolabe::test
