#pragma once
// The desktop calculator the Calculator buttons start.
#include <QString>
#include <QStringList>

// Calculators looked for, in order of preference.
QStringList CalculatorCandidates();

// Full path of the first candidate found on the PATH; empty when there is none.
QString FindCalculator();
