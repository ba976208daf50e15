// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/singlelineinput.h"

#include "model/titlefile.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>

namespace sonolabe {

namespace {

bool isSeparator(QChar ch, Separators separators)
{
    return isTitleLineEnd(ch.unicode()) ||
           (separators == Separators::LineBreaksAndTabs && ch == TitleFieldSeparator);
}

// Each CR LF, lone CR or lone LF (and Tab) of text as one space.
QString flattened(QStringView text, Separators separators)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (!isSeparator(ch, separators)) {
            result += ch;
            continue;
        }
        if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        result += u' ';
    }
    return result;
}

// Makes the next edit of box begin a new undo step. QLineEdit begins one
// whenever its cursor moves and offers no other public way; so the cursor
// goes to another position and back, the selection restored as it was. An
// empty box has no position to go to; clear() begins a step there.
void endUndoStep(QLineEdit *box)
{
    if (box->text().isEmpty()) {
        box->clear();
        return;
    }
    const int cursor = box->cursorPosition();
    const int start = box->selectionStart();
    const int length = box->selectionLength();
    box->setCursorPosition(cursor == 0 ? 1 : 0);
    if (start < 0)
        box->setCursorPosition(cursor);
    else if (cursor == start)
        box->setSelection(start + length, -length);
    else
        box->setSelection(start, length);
}

} // namespace

TypedText flattenTypedText(QStringView before, QStringView after, int cursor, Separators separators)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;

    const qsizetype end = after.size() - suffix;
    const QStringView brought = after.sliced(prefix, end - prefix);
    if (std::none_of(brought.begin(), brought.end(),
                     [separators](QChar ch) { return isSeparator(ch, separators); }))
        return {after.toString(), cursor};

    const QString replaced = flattened(brought, separators);
    TypedText result{after.first(prefix) + replaced + after.sliced(end), cursor};
    if (cursor >= end)
        result.cursor = int(cursor - brought.size() + replaced.size());
    else if (cursor > prefix)
        result.cursor =
            int(prefix + flattened(after.sliced(prefix, cursor - prefix), separators).size());
    return result;
}

SingleLineInput::SingleLineInput(QLineEdit *box, Separators separators)
    : QValidator(box), m_separators(separators), m_before(box->text())
{
    // A title file's texts have no length limit; QLineEdit's default of
    // 32767 characters would cut a long paste, or a long text from a file,
    // without a word.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setValidator(this);
    box->installEventFilter(this);
}

SingleLineInput *SingleLineInput::of(const QLineEdit *box)
{
    auto *input = box->findChild<SingleLineInput *>(QString(), Qt::FindDirectChildrenOnly);
    Q_ASSERT_X(input, "SingleLineInput", "the box has no SingleLineInput");
    return input;
}

void SingleLineInput::setTextAsIs(QLineEdit *box, const QString &text)
{
    of(box)->m_before = text;
    box->setText(text);
}

void SingleLineInput::finishComposition(QLineEdit *box)
{
    SingleLineInput *input = of(box);
    if (input->m_preedit.isEmpty())
        return;
    // Input methods differ in how they finish: one commits its text on
    // commit(), another only on reset() (fcitx5's Qt plug-in), another drops
    // it on reset(). Whatever they do reaches the focused box as an input
    // method event, which the filter notes; the pending text is committed
    // here only when no input method committed anything, so that it lands in
    // the box exactly once.
    const QString pending = input->m_preedit;
    input->m_imCommitted = false;
    if (box->hasFocus()) {
        QGuiApplication::inputMethod()->commit();
        if (!input->m_imCommitted)
            QGuiApplication::inputMethod()->reset();
    }
    input->m_preedit.clear();
    if (input->m_imCommitted)
        return;
    QInputMethodEvent commit;
    commit.setCommitString(pending);
    QCoreApplication::sendEvent(box, &commit);
}

void SingleLineInput::paste(QLineEdit *box, const QString &text) const
{
    if (box->isReadOnly() || text.isEmpty())
        return;
    // A paste is an undo step of its own, as QLineEdit::paste() makes it:
    // Ctrl+Z takes back the paste and leaves what was typed before it.
    endUndoStep(box);
    box->insert(flattened(text, m_separators));
    endUndoStep(box);
}

void SingleLineInput::showContextMenu(QLineEdit *box, const QPoint &globalPos) const
{
    const std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
    // The menu's paste entry is the action connected to the box's paste();
    // its text is translated and Qt 6.4 gives it no object name. Qt 6.4
    // connects it by the slot's name, later versions by the function.
    for (QAction *action : menu->actions()) {
        if (!disconnect(action, SIGNAL(triggered()), box, SLOT(paste())) &&
            !disconnect(action, &QAction::triggered, box, &QLineEdit::paste))
            continue;
        connect(action, &QAction::triggered, this,
                [this, box] { paste(box, QGuiApplication::clipboard()->text()); });
    }
    menu->exec(globalPos);
}

bool SingleLineInput::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (!box)
        return false;
    switch (event->type()) {
    case QEvent::InputMethod: {
        const auto *im = static_cast<QInputMethodEvent *>(event);
        m_preedit = im->preeditString();
        if (!im->commitString().isEmpty())
            m_imCommitted = true;
        break;
    }
    case QEvent::FocusOut:
        // Before QLineEdit drops a pre-edit text the input method keeps.
        finishComposition(box);
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
            paste(box, QGuiApplication::clipboard()->text());
            return true;
        }
        break;
    case QEvent::ContextMenu:
        showContextMenu(box, static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (mouse->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
            box->deselect();
            paste(box, clipboard->text(QClipboard::Selection));
            return true;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

QValidator::State SingleLineInput::validate(QString &input, int &pos) const
{
    TypedText result = flattenTypedText(m_before, input, pos, m_separators);
    input = std::move(result.text);
    pos = result.cursor;
    m_before = input;
    return Acceptable;
}

} // namespace sonolabe
