// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/trackcount/trackcountdialog.h"

#include "ui/common/look.h"
#include "ui/common/trackcountfield.h"

#include <QLabel>
#include <QPushButton>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

TrackCountDialog::TrackCountDialog(int currentCount, QWidget *parent) : QDialog(parent)
{
    setObjectName(u"trackCountDialog"_s);
    const CancelAndOk buttons = setUpSmallDialogFrame(this, u"曲数変更"_s);

    addLabel(this, u"promptLabel"_s, u"曲数を変更します。"_s, twipsRect(240, 240, 3615, 255));
    QLabel *warning =
        addLabel(this, u"warningLabel"_s,
                 u"編集内容は維持されますが、曲数を減らした場合は、超過分は破棄されます。"_s,
                 twipsRect(240, 600, 3615, 495));
    warning->setWordWrap(true);
    warning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_countField = addTrackCountRow(this, 840, 1440);

    setTabOrder(m_countField, buttons.cancel);
    setTabOrder(buttons.cancel, buttons.ok);
    m_countField->setFocus();
    m_countField->setOkButton(buttons.ok);
    connect(buttons.ok, &QPushButton::clicked, this, &TrackCountDialog::acceptCount);

    // Setting the text runs the change rule, which puts the caret at the end
    // and enables OK.
    m_countField->setText(QString::number(currentCount));
}

int TrackCountDialog::trackCount() const
{
    return m_countField->count();
}

void TrackCountDialog::acceptCount()
{
    if (m_countField->count() > 0)
        accept();
}

} // namespace sonolabe
