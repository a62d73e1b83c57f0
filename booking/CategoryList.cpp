#include "booking/CategoryList.h"

#include "app/HiClass.h"

#include <QRegularExpression>

QStringList SplitCategoryText(const QString& text)
{
    if (text.isEmpty())
        return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList entries = text.split(lineBreak);
    if (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        entries.removeLast();
    return entries;
}

QString JoinCategoryText(const QStringList& entries)
{
    QString text;
    for (const QString& entry : entries)
        text += entry + QStringLiteral("\r\n");
    return THi::Trim(text);
}

bool SameCategory(const QString& a, const QString& b)
{
    return THi::LowerAscii(THi::Trim(a)) == THi::LowerAscii(THi::Trim(b));
}

int FindCategory(const QStringList& entries, const QString& category)
{
    for (int i = 0; i < entries.size(); ++i)
        if (SameCategory(entries[i], category))
            return i;
    return -1;
}

QString EditorCategoryText(const QString& memoText)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n|\u2029"));
    return THi::Trim(memoText.split(lineBreak).join(QStringLiteral("\r\n")));
}
