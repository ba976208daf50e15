// SPDX-License-Identifier: GPL-3.0-or-later
// The entries of the track lists: the editor's and the copy dialog's two.
#pragma once

#include <QString>
#include <QStyledItemDelegate>

namespace sonolabe {

// The track number as two digits (01 to 99), one blank, then the title as it
// is; an empty title leaves the number and the blank.
inline QString trackEntry(int track, const QString &title)
{
    using namespace Qt::Literals::StringLiterals;
    return u"%1 "_s.arg(track, 2, 10, QChar(u'0')) + title;
}

// Draws every entry on one line. A loaded title may hold a lone LF; the entry
// keeps it, and only its picture shows a space in its place. Only the
// beginning of an overlong title is laid out: the list shows no more anyway,
// and laying out a title of a million characters would take seconds.
class OneLineEntries : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The first characters of an entry that are laid out.
    static constexpr qsizetype ShownLength = 1024;

    QString displayText(const QVariant &value, const QLocale &locale) const override;
};

} // namespace sonolabe
