// SPDX-License-Identifier: GPL-3.0-or-later
// The copy dialog: disc name, artist and track titles between the languages.
#pragma once

#include "model/languagecopy.h"

#include <QDialog>
#include <QString>

#include <array>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace sonolabe {

struct TitleStore;

// Japanese on the left, English on the right, a direction button per row
// between them. Shows the store's texts and never writes it: after OK the
// caller applies request() with copyBetweenLanguages.
class CopyDialog : public QDialog
{
    Q_OBJECT
public:
    CopyDialog(const TitleStore &store, QWidget *parent);

    // The directions, the blank-only choice and the selected tracks.
    LanguageCopy request() const;

private:
    void createLanguageColumn(const TitleStore &store, Language language);
    void createDirectionButtons();
    void stepDirection(int row);
    void showDirections();
    void followSelection(Language fromLanguage);
    void selectAllTracks(bool selected);

    CopyDirections m_directions{};
    // Set while one list's selection is copied into the other, so that the
    // copy does not come back as a click of the other list.
    bool m_syncingLists = false;

    std::array<QListWidget *, LanguageCount> m_trackLists{};
    std::array<QPushButton *, CopyRowCount> m_directionButtons{};
    QCheckBox *m_blankOnlyBox = nullptr;
};

} // namespace sonolabe
