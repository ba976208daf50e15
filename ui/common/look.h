// SPDX-License-Identifier: GPL-3.0-or-later
// The program's look, shared by its windows: layout units, fonts, the fixed
// dialog frame, the etched separator and the stop message box.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace sonolabe {

enum Language : int;

// Layouts are designed in twips, 15 to a pixel at 96 dpi; Qt scales pixels
// for high-density screens itself.
constexpr int twips(int value)
{
    return (value + 7) / 15;
}
constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// "MS UI Gothic" 9 pt where it is installed, else the nearest Japanese UI
// font Debian ships; the window font of the editor.
QFont uiGothicFont(qreal pointSize = 9.0, int weight = QFont::Normal);
// "ＭＳ ゴシック" 9 pt, else a Japanese monospaced gothic: the edit boxes' font.
QFont gothicFont(qreal pointSize = 9.0);

// A fixed-size dialog frame of the given client size in twips: no minimize or
// maximize button, no resizing, title and close button only.
void setFixedDialogFrame(QDialog *dialog, int widthTwips, int heightTwips);

// The end of the object name of a control that belongs to one language:
// "titleEditJapanese", "trackListEnglish".
QString languageSuffix(Language language);

// A caption (or a text shown as typed, never read as markup) at a place in
// twips-made pixels.
QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// The etched rule above a dialog's buttons, from (x1, y) to (x2, y) in twips:
// "ruleShadow" in the button-shadow colour, "ruleHighlight" in the highlight colour.
void addEtchedLine(QWidget *parent, int x1Twips, int x2Twips, int yTwips);

// The frame of the two small dialogs (new-or-open and track count): a fixed
// frame of 4680 x 3195 twips with the title, the etched line above the
// buttons, "ｷｬﾝｾﾙ" ("cancelButton", the Escape button) left of "OK"
// ("okButton", the default button).
struct CancelAndOk
{
    QPushButton *cancel = nullptr;
    QPushButton *ok = nullptr;
};
CancelAndOk setUpSmallDialogFrame(QDialog *dialog, const QString &title);

// A modal box with the stop icon and one OK button. The text's pieces are
// joined by single CRs; each CR becomes a line break on screen.
void showStopMessage(QWidget *parent, const QString &title, const QString &crText);

} // namespace sonolabe
