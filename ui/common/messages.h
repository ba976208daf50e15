// SPDX-License-Identifier: GPL-3.0-or-later
// The words of the load and save error boxes. Their pieces are joined by
// single CRs; showing the box turns them into line breaks.
#pragma once

#include "model/safefile.h"
#include "model/titlefile.h"

#include <QString>

namespace sonolabe {

// The load error box: its title and its text.
QString loadErrorTitle();
QString loadErrorMessage(LoadFailure failure, const QString &path);

// The save error box: its title and its text. The last piece is the reason:
// Japanese for the common causes, the system's words otherwise.
QString saveErrorTitle();
QString saveErrorMessage(const QString &path, const SaveResult &result);
// The same box with a reason line given as it is.
QString saveErrorMessage(const QString &path, const QString &reason);

} // namespace sonolabe
