// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/trackcountfield.h"

#include "model/titlestore.h"
#include "ui/common/look.h"
#include "ui/common/noinputmethod.h"

#include <QKeyEvent>
#include <QLabel>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int BackspaceCode = 8;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

bool isTrackCountKey(int code)
{
    return (code >= '0' && code <= '9') || code == BackspaceCode;
}

int trackCountValue(QStringView digits)
{
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok ? value : 0;
}

TrackCountChange trackCountChange(QStringView current)
{
    TrackCountChange result;
    for (const QChar c : current) {
        if (isAsciiDigit(c))
            result.text.append(c);
    }
    result.caret = int(result.text.size());
    const int count = trackCountValue(result.text);
    result.okEnabled = count >= 1 && count <= MaxTracks;
    return result;
}

int typedCharacterCode(const QKeyEvent &event)
{
    const int key = event.key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return -1;
    case Qt::Key_Backspace:
        return BackspaceCode;
    default:
        break;
    }
    // Platforms differ in the text they give Ctrl+letter ("v" or "\x16"); the
    // character typed is the control character either way.
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers == Qt::ControlModifier && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;

    const QString text = event.text();
    if (text.isEmpty())
        return -1;
    const char16_t first = text.front().unicode();
    // Delete and the like carry a control character as text but type nothing.
    if (first < 0x20 || first == 0x7f)
        return -1;
    return first;
}

TrackCountField::TrackCountField(QWidget *parent) : QLineEdit(parent)
{
    setObjectName(u"trackCountField"_s);
    setMaxLength(TrackCountMaxLength);
    // No input method: full-width digits are never composed into the field.
    refuseInputMethod(this);
}

void TrackCountField::setOkButton(QWidget *okButton)
{
    m_okButton = okButton;
    connect(this, &QLineEdit::textChanged, this, &TrackCountField::applyChangeRule);
}

void TrackCountField::applyChangeRule()
{
    if (m_applyingChangeRule)
        return;
    const TrackCountChange change = trackCountChange(text());
    m_applyingChangeRule = true;
    if (text() != change.text)
        setText(change.text);
    setCursorPosition(change.caret);
    if (m_okButton)
        m_okButton->setEnabled(change.okEnabled);
    m_applyingChangeRule = false;
}

int TrackCountField::count() const
{
    const TrackCountChange change = trackCountChange(text());
    return change.okEnabled ? trackCountValue(change.text) : 0;
}

void TrackCountField::keyPressEvent(QKeyEvent *event)
{
    // Only the key rule's keys change the text: the line edit's word and line
    // deletions and its undo have no place in a two-digit field.
    for (const QKeySequence::StandardKey editing :
         {QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
          QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine, QKeySequence::Undo,
          QKeySequence::Redo}) {
        if (event->matches(editing)) {
            event->accept();
            return;
        }
    }
    const int code = typedCharacterCode(*event);
    if (code >= 0 && !isTrackCountKey(code)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TrackCountField::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        end(false);
        break;
    default:
        break;
    }
}

TrackCountField *addTrackCountRow(QWidget *parent, int fieldLeftTwips, int fieldTopTwips)
{
    const int labelTop = fieldTopTwips + 40;
    QLabel *caption = addLabel(parent, u"trackCountLabel"_s, u"曲数："_s,
                               twipsRect(fieldLeftTwips - 480, labelTop, 615, 255));
    auto *field = new TrackCountField(parent);
    field->setGeometry(twipsRect(fieldLeftTwips, fieldTopTwips, 855, 285));
    caption->setBuddy(field);
    field->setAccessibleName(u"曲数"_s);
    addLabel(parent, u"trackCountUnitLabel"_s, u"曲"_s,
             twipsRect(fieldLeftTwips + 960, labelTop, 735, 255));
    return field;
}

} // namespace sonolabe
