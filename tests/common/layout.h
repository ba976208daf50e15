// SPDX-License-Identifier: GPL-3.0-or-later
// What makes a window's layout readable, checked on the window as shown
// rather than against a table of coordinates: every control lies inside its
// window with a margin and shows; no two controls cover each other; a caption
// sits left of or above the box it names, and so does a control before the
// one that follows it on the window's line; Tab visits the controls in an
// expected order. Each check gives the faults it found, one line each, so
// that a failing test says which control is wrong and how.
#pragma once

#include <QApplication>
#include <QLabel>
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
    QList<QWidget *> controls = window->findChildren<QWidget *>();
    controls.removeIf([](const QWidget *widget) {
        return widget->isWindow() || widget->objectName().isEmpty() ||
               widget->objectName().startsWith(u"qt_");
    });
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
    return (QStyle::alignedRect(label->layoutDirection(), label->alignment(), text, contents) &
            contents)
        .translated(rectInWindow(control).topLeft());
}

inline QString describe(const QWidget *control)
{
    const QRect r = rectInWindow(control);
    return QString::asprintf("%s at %d,%d %dx%d", qUtf8Printable(control->objectName()), r.x(),
                             r.y(), r.width(), r.height());
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
        const bool shown = control->isVisibleTo(window);
        if (shown == hidden.contains(control->objectName()))
            faults << describe(control) +
                          (shown ? u" is shown, but should be hidden"_s : u" is hidden"_s);
        const QWidget *parent = control->parentWidget();
        const int margin = qobject_cast<const QMainWindow *>(parent) ? 0 : minMargin;
        const QRect inner = parent->rect().adjusted(margin, margin, -margin, -margin);
        if (shown && (control->geometry().isEmpty() || !inner.contains(control->geometry())))
            faults << describe(control) + u" is not inside "_s + parent->objectName() +
                          u" with a margin"_s;
    }
    return faults;
}

// No two shown controls cover each other, comparing what each draws (see
// drawnRect). A control and its descendants (a frame and its contents, the
// central area and everything in it) are not compared, nor the controls of
// stacked, which are meant to lie on each other.
inline QStringList overlapFaults(const QWidget *window, const QStringList &stacked = {})
{
    QList<QWidget *> shown = controlsOf(window);
    shown.removeIf([window](const QWidget *control) { return !control->isVisibleTo(window); });
    QStringList faults;
    for (qsizetype i = 0; i < shown.size(); ++i)
        for (qsizetype j = i + 1; j < shown.size(); ++j) {
            const QWidget *a = shown[i], *b = shown[j];
            if (!a->isAncestorOf(b) && !b->isAncestorOf(a) &&
                !(stacked.contains(a->objectName()) && stacked.contains(b->objectName())) &&
                drawnRect(a).intersects(drawnRect(b)))
                faults << describe(a) + u" overlaps "_s + describe(b);
        }
    return faults;
}

// A caption is left of its box, on the box's line (its text's middle within
// the box's height), or above it, over the box's width, and its text shows in
// full. Checked for every shown label with a buddy, and for the pairs "FIRST
// SECOND" of named: captions without a buddy, or any control that must come
// before another as the eye reads the window.
inline QStringList captionFaults(const QWidget *window, const QStringList &named = {})
{
    QList<std::pair<const QWidget *, const QWidget *>> pairs;
    for (const QLabel *label : window->findChildren<QLabel *>())
        if (label->isVisibleTo(window) && label->buddy())
            pairs.emplaceBack(label, label->buddy());
    for (const QString &pair : named)
        pairs.emplaceBack(window->findChild<QWidget *>(pair.section(u' ', 0, 0)),
                          window->findChild<QWidget *>(pair.section(u' ', 1, 1)));
    QStringList faults;
    for (const auto &[caption, box] : std::as_const(pairs)) {
        if (!caption || !box) {
            faults << u"a control of "_s + named.join(u", ") + u" is missing"_s;
            continue;
        }
        const QString pair = caption->objectName() + u" for "_s + box->objectName();
        const QRect text = drawnRect(caption);
        const QRect target = rectInWindow(box);
        const auto *label = qobject_cast<const QLabel *>(caption);
        const QSize needed =
            label ? label->fontMetrics().size(Qt::TextShowMnemonic, label->text()) : QSize();
        if (text.width() < needed.width() || text.height() < needed.height())
            faults << pair + u": the caption's text is cut"_s;
        const bool leftOf = text.right() < target.left() + 1 && text.center().y() >= target.top() &&
                            text.center().y() <= target.bottom();
        const bool above = text.bottom() < target.top() + 1 && text.right() >= target.left() &&
                           text.left() <= target.right();
        if (!caption->isVisibleTo(window) || !box->isVisibleTo(window) || (!leftOf && !above))
            faults << pair + u": the caption is neither left of nor above the box"_s;
    }
    return faults;
}

// The controls Tab visits in the shown, active window, starting from the one
// with the focus, until the focus comes back to it (or after limit presses).
inline QStringList tabCycle(int limit = 30)
{
    QWidget *start = QApplication::focusWidget();
    QStringList visited{start ? start->objectName() : u"(nothing)"_s};
    for (int press = 0; start && press < limit; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *now = QApplication::focusWidget();
        if (now == start)
            break;
        visited << (now ? now->objectName() : u"(nothing)"_s);
    }
    return visited;
}

// The controls of window that Tab can reach (shown, enabled, taking the focus
// by Tab), in reading order: from the top down, and left to right among
// controls on one line (whose middles lie within each other's height).
inline QStringList readingOrder(const QWidget *window)
{
    QList<const QWidget *> reachable;
    for (const QWidget *control : controlsOf(window))
        if (control->isVisibleTo(window) && control->isEnabled() &&
            (control->focusPolicy() & Qt::TabFocus))
            reachable << control;
    std::sort(reachable.begin(), reachable.end(), [](const QWidget *a, const QWidget *b) {
        const QRect first = rectInWindow(a);
        const QRect second = rectInWindow(b);
        const bool oneLine = first.contains(first.center().x(), second.center().y()) ||
                             second.contains(second.center().x(), first.center().y());
        return oneLine ? first.left() < second.left() : first.top() < second.top();
    });
    QStringList order;
    for (const QWidget *control : std::as_const(reachable))
        order << control->objectName();
    return order;
}

} // namespace sonolabe::test
