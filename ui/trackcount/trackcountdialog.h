// SPDX-License-Identifier: GPL-3.0-or-later
// The track-count dialog: a new number of tracks for the open disc.
#pragma once

#include <QDialog>

namespace sonolabe {

class TrackCountField;

// Shows the present count in its field, caret behind it, OK enabled (unless
// the disc has no tracks: 0 is no count to confirm). OK closes the dialog
// only for a count from 1 to 99, which trackCount() then gives; the caller
// applies it. Cancel, Escape and the close button change nothing.
class TrackCountDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TrackCountDialog(int currentCount, QWidget *parent = nullptr);

    // The count chosen; meaningful once the dialog was accepted.
    int trackCount() const;

private:
    void acceptCount();

    TrackCountField *m_countField = nullptr;
};

} // namespace sonolabe
