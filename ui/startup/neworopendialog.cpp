// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/startup/neworopendialog.h"

#include "ui/common/filedialog.h"
#include "ui/common/look.h"
#include "ui/common/trackcountfield.h"

#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

namespace {

// The list reads "ﾃｷｽﾄﾌｧｲﾙ(*.TXT)" and "すべてのﾌｧｲﾙ(*.*)" word for word while
// the patterns are "*.txt" (matched without regard to case) and "*": every
// file, also one without a dot in its name, which "*.*" would hide.
QStringList openFileFilters()
{
    return {u"ﾃｷｽﾄﾌｧｲﾙ(*.TXT) (*.txt)"_s, u"すべてのﾌｧｲﾙ(*.*) (*)"_s};
}

// The open-file dialog over owner: the full path of an existing file chosen,
// or nothing when the user cancelled.
std::optional<QString> chooseTitleFileToOpen(QWidget *owner)
{
    FileDialogRequest request;
    request.filters = openFileFilters();
    const std::optional<FileDialogChoice> choice = runFileDialog(owner, request);
    if (!choice)
        return std::nullopt;
    return choice->path;
}

} // namespace

NewOrOpenDialog::NewOrOpenDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"newOrOpenDialog"_s);
    const CancelAndOk buttons = setUpSmallDialogFrame(this, u"Sonolabe"_s);
    m_okButton = buttons.ok;

    addLabel(this, u"promptLabel"_s, u"CD-TEXT 曲ファイルの作成方法を選択してください。"_s,
             twipsRect(240, 240, 4095, 255));
    m_newDiscOption = new QRadioButton(u"新規作成(&N)"_s, this);
    m_newDiscOption->setObjectName(u"newDiscOption"_s);
    m_newDiscOption->setGeometry(twipsRect(360, 840, 1575, 255));
    m_newDiscOption->setAccessibleName(u"新規作成"_s);
    m_countField = addTrackCountRow(this, 1320, 1200);
    m_openFileOption = new QRadioButton(u"既存のファイルを開く(&O)"_s, this);
    m_openFileOption->setObjectName(u"openFileOption"_s);
    m_openFileOption->setGeometry(twipsRect(360, 1800, 2535, 255));
    m_openFileOption->setAccessibleName(u"既存のファイルを開く"_s);

    // Field first, so it holds the focus when the dialog opens.
    setTabOrder(m_countField, m_newDiscOption);
    setTabOrder(m_newDiscOption, m_openFileOption);
    setTabOrder(m_openFileOption, buttons.ok);
    setTabOrder(buttons.ok, buttons.cancel);
    m_countField->setFocus();
    m_newDiscOption->setChecked(true);

    connect(m_newDiscOption, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            chooseNewDisc();
    });
    connect(m_openFileOption, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            chooseExistingFile();
    });
    connect(buttons.ok, &QPushButton::clicked, this, &NewOrOpenDialog::acceptChoice);
    // OK follows the (empty) field from the start.
    m_countField->setOkButton(buttons.ok);
    m_countField->applyChangeRule();
}

void NewOrOpenDialog::chooseNewDisc()
{
    m_countField->setEnabled(true);
    m_countField->applyChangeRule();
}

void NewOrOpenDialog::chooseExistingFile()
{
    // The count is kept for a return to "new"; opening a file needs none.
    m_countField->setEnabled(false);
    m_okButton->setEnabled(true);
}

void NewOrOpenDialog::acceptChoice()
{
    if (m_newDiscOption->isChecked()) {
        const int count = m_countField->count();
        if (count > 0)
            Q_EMIT chosen({count, QString()});
        return;
    }
    // The session may end while the open-file dialog is up.
    QPointer<NewOrOpenDialog> self(this);
    const std::optional<QString> path = chooseTitleFileToOpen(this);
    if (self && path)
        Q_EMIT chosen({0, *path});
}

} // namespace sonolabe
