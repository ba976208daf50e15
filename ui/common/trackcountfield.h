// SPDX-License-Identifier: GPL-3.0-or-later
// The two-digit track-count field of the new-or-open dialog and of the
// track-count dialog: its key rule, its change rule, and the line edit that
// applies them.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QStringView>

class QKeyEvent;

namespace sonolabe {

// The field holds at most two characters, typed or pasted.
inline constexpr int TrackCountMaxLength = 2;

// The key rule: true when a typed character may enter the field. Only the
// digits '0' to '9' and Backspace (8) pass; letters, signs, the space,
// full-width characters and control characters such as those of Ctrl+C,
// Ctrl+V, Ctrl+X and Ctrl+Z are discarded.
bool isTrackCountKey(int code);

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
TrackCountChange trackCountChange(QStringView current);

// The count a text that passed the change rule stands for, 0 when empty.
int trackCountValue(QStringView digits);

// The character a key event types, as the key rule sees it, or -1 when the key
// types none and keeps its normal editing meaning (Delete, arrows, Home, End,
// Shift+Insert, Ctrl+Insert, ...). Ctrl with a letter types that letter's
// control character (Ctrl+C is 3, Ctrl+V 22), whatever text the platform put
// into the event. Enter, Escape and Tab type none either: they belong to the
// dialog's default and cancel buttons and to focus navigation.
int typedCharacterCode(const QKeyEvent &event);

// The field itself: a line edit limited to two characters with the input
// method switched off, shared by the new-or-open and the track-count dialog.
// Every character typed goes through the key rule first; a discarded key
// press reaches neither the text nor the line edit's own shortcuts (Ctrl+V
// etc.). The line edit's word and line deletions (Ctrl+Backspace,
// Ctrl+Delete, ...) and its undo and redo do nothing here. Keys that type no
// character, pasting through the context menu and text set by the program
// are left to the line edit; the change rule cleans whatever they bring in.
class TrackCountField : public QLineEdit
{
    Q_OBJECT
public:
    explicit TrackCountField(QWidget *parent = nullptr);

    // From now on every change of the text runs the change rule, which
    // rewrites the text (its own change is turned away), puts the caret at
    // the end and enables okButton only for a count.
    void setOkButton(QWidget *okButton);

    // Runs the change rule on the present text.
    void applyChangeRule();

    // The count the text stands for once it passed the change rule; 0 when
    // the field holds none that OK would take.
    int count() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // Coming in by Tab or as the dialog opens, the caret goes behind the text
    // with nothing selected, where the change rule puts it too.
    void focusInEvent(QFocusEvent *event) override;

private:
    QWidget *m_okButton = nullptr;
    bool m_applyingChangeRule = false;
};

// The field in its row, "曲数：" before it and "曲" after it, the caption
// related to the field; at the field's place in twips.
TrackCountField *addTrackCountRow(QWidget *parent, int fieldLeftTwips, int fieldTopTwips);

} // namespace sonolabe
