// SPDX-License-Identifier: GPL-3.0-or-later
// The two-digit track-count field of the new-or-open dialog and of the
// track-count dialog: its key rule, its change rule, and the line edit that
// hands its typed characters to the owning dialog's key handler.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QStringView>

#include <functional>

class QKeyEvent;

namespace sonolabe {

// The field holds at most two characters, typed or pasted.
inline constexpr int TrackCountMaxLength = 2;

// The key rule: true when a typed character may enter the field. Only the
// digits '0' to '9' and Backspace (8) pass; letters, signs, the space,
// full-width characters and control characters such as those of Ctrl+C,
// Ctrl+V, Ctrl+X and Ctrl+Z are discarded.
bool TrackCountKeyAccepted(int code);

// What the change rule makes of the field's text.
struct TrackCountChange
{
    QString text;           // the digits of the old text, in their order
    int caret = 0;          // always text.size(): behind the last character
    bool okEnabled = false; // true only for a count from 1 up
    bool operator==(const TrackCountChange &) const = default;
};

// The change rule: keeps only the ASCII digits of the current text. OK is
// enabled only when the digits read as a count of at least 1; "0" and "00"
// keep it disabled, since a disc or an editor needs at least one track.
TrackCountChange TrackCountChangeRule(QStringView current);

// The handlers of both dialogs apply the rules through these, each to its own
// field, OK button and guard flag. The key rule sets a discarded code to 0.
void ApplyTrackCountKeyRule(int &code);
// Runs the change rule on the field: rewrites its text (raising its change
// event again, which blnInChange turns away), puts the caret at the end and
// enables or disables OK.
void ApplyTrackCountChangeRule(QLineEdit *field, QWidget *okButton, bool &blnInChange);

// The count a text that passed the change rule stands for, 0 when empty.
int TrackCountValue(QStringView digits);

// The character a key event types, as the key rule sees it, or -1 when the key
// types none and keeps its normal editing meaning (Delete, arrows, Home, End,
// Shift+Insert, Ctrl+Insert, ...). Ctrl with a letter types that letter's
// control character (Ctrl+C is 3, Ctrl+V 22), whatever text the platform put
// into the event. Enter, Escape and Tab type none either: they belong to the
// dialog's default and cancel buttons and to focus navigation.
int TypedCharacterCode(const QKeyEvent &event);

// The field itself: a line edit limited to two characters with the input
// method switched off. Every character typed goes through the key handler
// first; a handler that sets the code to 0 discards the key press, which then
// reaches neither the text nor the line edit's own shortcuts (Ctrl+V etc.).
// The line edit's word and line deletions (Ctrl+Backspace, Ctrl+Delete, ...)
// and its undo and redo do nothing here.
// Keys that type no character, pasting through the context menu and text set
// by the program are left to the line edit; the owning dialog's change rule
// cleans whatever they bring in.
class TrackCountField : public QLineEdit
{
    Q_OBJECT
public:
    using KeyPressHandler = std::function<void(int &code)>;

    explicit TrackCountField(QWidget *parent = nullptr);

    void setKeyPressHandler(KeyPressHandler handler) { m_keyPress = std::move(handler); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // Coming in by Tab or as the dialog opens, the caret goes behind the text
    // with nothing selected, where the change rule puts it too.
    void focusInEvent(QFocusEvent *event) override;

private:
    KeyPressHandler m_keyPress;
};

} // namespace sonolabe
