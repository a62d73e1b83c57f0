// Period queries of the ledger.
#include "store/DbClass.h"

TPeriodResult TDbMan::QueryPeriod(const QString&, const QString&, const QString&)
{
    throw DbError(QStringLiteral("QueryPeriod: not built yet"));
}

TStringsArray TDbMan::QueryCategoryRecords(const QString&, const QString&, const QString&, const QString&,
                                           const QString&)
{
    throw DbError(QStringLiteral("QueryCategoryRecords: not built yet"));
}
