// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/startup/loadtitlefile.h"

#include "model/titlefile.h"
#include "ui/common/beeper.h"
#include "ui/common/look.h"
#include "ui/common/messages.h"

namespace sonolabe {

bool loadTitleFile(QWidget *parent, const QString &path, TitleStore &store, Beeper &beeper)
{
    const LoadResult result = readTitleFile(path);
    if (result.ok()) {
        store = result.disc();
        return true;
    }
    if (result.failure() == LoadFailure::Unreadable)
        beeper.beep();
    showStopMessage(parent, loadErrorTitle(), loadErrorMessage(result.failure(), path));
    return false;
}

} // namespace sonolabe
