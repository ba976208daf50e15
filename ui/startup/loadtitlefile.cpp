// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/startup/loadtitlefile.h"

#include "model/titlefile.h"
#include "ui/common/beeper.h"
#include "ui/common/look.h"
#include "ui/common/messages.h"

namespace sonolabe {

bool LoadTitleFile(QWidget *parent, const QString &path, TitleStore &store, Beeper &beeper)
{
    const LoadResult result = ReadTitleFile(path);
    if (result.ok()) {
        store = result.disc();
        return true;
    }
    if (result.failure() == LoadFailure::Aborted)
        beeper.beep();
    showStopMessage(parent, LoadErrorTitle(), LoadErrorMessage(result.failure(), path));
    return false;
}

} // namespace sonolabe
