// SPDX-License-Identifier: GPL-3.0-or-later
// The system beep, observable: tests count beeped() instead of listening.
#pragma once

#include <QObject>

namespace sonolabe {

class Beeper : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Sounds the platform's beep and tells listeners that it did.
    void beep();

Q_SIGNALS:
    void beeped();
};

} // namespace sonolabe
