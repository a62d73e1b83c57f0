#pragma once
// The amount syntax and the Add rule shared by the entry pages and the record edit dialog.
#include <QString>
#include <optional>

// The value of an amount text: optional blanks, an optional sign, digits with an optional point and
// fraction, an optional exponent, optional blanks; no thousands separators. Nothing when the text is
// not such a number or its value is not finite.
std::optional<double> ParseAmount(const QString& text);

// The trimmed category is not empty and the trimmed amount is a number of at least 0.01.
bool AddRuleHolds(const QString& category, const QString& amount);

// The trimmed amount as listed: "%0.2f" of its value. Only for texts that pass ParseAmount.
QString FormatAmountText(const QString& amount);
