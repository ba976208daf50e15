// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/beeper.h"

#include <QApplication>

namespace sonolabe {

void Beeper::beep()
{
    QApplication::beep();
    Q_EMIT beeped();
}

} // namespace sonolabe
