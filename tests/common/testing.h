// SPDX-License-Identifier: GPL-3.0-or-later
// What the tests start from: Qt Test, the program's names, the tests' shared
// helpers and Qt's string literals.
#pragma once

#include <QTest>

namespace sonolabe::test {
}

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;
