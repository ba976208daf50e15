// SPDX-License-Identifier: GPL-3.0-or-later
// What typing and pasting may put into the editor's single-line boxes.
//
// The store takes every text of a box as it is, and the title file gives each
// text one line: a line break typed or pasted into a box would break the file
// it is saved to. Texts loaded from a file are a different matter: whatever
// they hold (a lone LF stays in a line's text when a file is read) is shown
// and kept unchanged, so that a file opened and saved again without typing is
// written with the same texts.
#pragma once

#include <QString>
#include <QStringView>
#include <QValidator>

class QLineEdit;

namespace sonolabe {

// Which characters that an edit brings into a box become a space.
enum class Separators {
    // CR LF, a lone CR and a lone LF: for a track title, which runs to the
    // end of its line.
    LineBreaks,
    // Also Tab: for the disc name and the artist, which share one line of the
    // file with a Tab between them.
    LineBreaksAndTabs,
};

struct TypedText
{
    QString text;
    int cursor = 0;
    bool operator==(const TypedText &) const = default;
};

// The text of a box after an edit, with what the edit brought in made fit for
// one line. The part of `after` that the edit brought in is what lies between
// the longest beginning and the longest end it shares with `before`; in that
// part every CR LF, lone CR and lone LF (and Tab, with LineBreaksAndTabs)
// becomes one space. The characters the box held before the edit are kept as
// they are. `cursor` is a position in `after` and comes back moved with the
// text.
TypedText flattenTypedText(QStringView before, QStringView after, int cursor,
                           Separators separators);

// The validator of an editor box: applies flattenTypedText to every change of
// the box's text, whether typed, pasted, dropped or committed by an input
// method. QLineEdit runs its validator on setText() too, so texts from the
// store must go into the box through setTextAsIs().
//
// A text the validator changes replaces the box's whole text, which empties
// its undo history; so pasting (the Paste keys, the context menu, the middle
// button) is done here instead, inserting the clipboard's text already made
// fit for one line as an undo step of its own: Ctrl+Z takes back the paste
// and leaves what was typed before it.
//
// It also follows the input method's unfinished (pre-edit) text in the box,
// so that the window can have it finished, into the text the box is showing,
// before the box is given another text to edit.
//
// The box takes texts of any length: its maximum length is lifted.
class SingleLineInput : public QValidator
{
    Q_OBJECT
public:
    // Becomes the validator of box, and its child.
    SingleLineInput(QLineEdit *box, Separators separators);

    // Gives a box with a SingleLineInput the text without looking at it: for
    // texts from the store.
    static void setTextAsIs(QLineEdit *box, const QString &text);

    // Ends the input method's composition in box, if there is one: the input
    // method is asked to commit its text, then to reset; when it committed
    // nothing either time (it kept or dropped the text, or there is no input
    // method) the pending text is committed into the box here. The box's text
    // then holds everything the user typed into it, once. Losing the focus
    // does the same.
    static void finishComposition(QLineEdit *box);

    State validate(QString &input, int &pos) const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static SingleLineInput *of(const QLineEdit *box);
    void paste(QLineEdit *box, const QString &text) const;
    void showContextMenu(QLineEdit *box, const QPoint &globalPos) const;

    Separators m_separators;
    // The box's text as last accepted: every change of the text passes
    // through validate(), so this is what the box held before the next edit.
    mutable QString m_before;
    // The input method's unfinished text in the box; empty when none.
    QString m_preedit;
    // Set when the input method commits text into the box: tells
    // finishComposition whether the input method finished the text itself.
    bool m_imCommitted = false;
};

} // namespace sonolabe
