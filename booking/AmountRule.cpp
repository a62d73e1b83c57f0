#include "booking/AmountRule.h"

#include "app/HiClass.h"

#include <QRegularExpression>
#include <cmath>

std::optional<double> ParseAmount(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^[ ]*[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]+)?[ ]*$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = THi::Trim(text).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool AddRuleHolds(const QString& category, const QString& amount)
{
    if (THi::Trim(category).isEmpty())
        return false;
    const QString trimmed = THi::Trim(amount);
    if (trimmed.isEmpty())
        return false;
    const auto value = ParseAmount(trimmed);
    return value && *value >= 0.01;
}

QString FormatAmountText(const QString& amount)
{
    return THi::FormatAmount(ParseAmount(THi::Trim(amount)).value_or(0));
}
