#pragma once
// One fixed environment for every test: C locale, Fusion style, a private data location.
#include <QString>

namespace testenv {
// Call first in initTestCase(): sets the locale and style and points the user's data location at a
// fresh temporary folder of this test process.
void init();
// The private data location set by init().
QString dataHome();
} // namespace testenv
