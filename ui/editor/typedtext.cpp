// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/typedtext.h"

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
#include <memory>
#include <utility>

namespace sonolabe {

namespace {

bool isSeparator(QChar ch, Separators separators)
{
    return ch == u'\r' || ch == u'\n' ||
           (separators == Separators::LineBreaksAndTabs && ch == u'\t');
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
    SingleLineInput *input = of(box);
    input->m_cut = text.size() > box->maxLength();
    input->m_before = input->m_cut ? text.first(box->maxLength()) : text;
    box->setText(input->m_before);
}

bool SingleLineInput::showsWholeText(const QLineEdit *box)
{
    return !of(box)->m_cut;
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
    box->insert(flattened(text, m_separators));
}

void SingleLineInput::showContextMenu(QLineEdit *box, const QPoint &globalPos) const
{
    const std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
    for (QAction *action : menu->actions()) {
        if (action->objectName() != QLatin1StringView("edit-paste"))
            continue;
        action->disconnect();
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
    if (m_cut)
        return input == m_before ? Acceptable : Invalid;
    TypedText result = flattenTypedText(m_before, input, pos, m_separators);
    input = std::move(result.text);
    pos = result.cursor;
    m_before = input;
    return Acceptable;
}

} // namespace sonolabe
