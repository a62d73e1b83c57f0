// Period queries of the ledger: totals, day and month totals, the record list and the rankings of one
// user and date range, all over one connection. Grouping, summing and sorting happen in SQLite; this
// code only turns rows into display texts, so it has to stay cheap per row.
#include "store/PeriodQuery.h"

#include "app/HiClass.h"
#include "store/DbClass.h"

#include <QHash>
#include <QStringDecoder>

#include <cmath>

namespace periodsql {

#define ZENDREL_RANGE " FROM data WHERE user = ?1 AND date >= ?2 AND date <= ?3"
#define ZENDREL_CENTS_OF(param) "total(CASE WHEN type = " param " THEN round(amount * 100) END)"

const char* const kTotals = "SELECT " ZENDREL_CENTS_OF("?4") ", " ZENDREL_CENTS_OF("?5") ZENDREL_RANGE;

const char* const kDays = "SELECT date, " ZENDREL_CENTS_OF("?5") ", " ZENDREL_CENTS_OF("?4") ZENDREL_RANGE
                          " GROUP BY date ORDER BY date";

// Months are summed from the day sums, so the sorter sees one row per day instead of one per record.
const char* const kMonths = "SELECT substr(date, 1, 7) AS month, total(insum), total(outsum) FROM"
                            " (SELECT date, " ZENDREL_CENTS_OF("?5") " AS insum, " ZENDREL_CENTS_OF("?4")
                            " AS outsum" ZENDREL_RANGE " GROUP BY date)"
                            " GROUP BY month ORDER BY month";

const char* const kRecords = "SELECT id, date, type, cate, round(amount * 100), notes" ZENDREL_RANGE
                             " ORDER BY date ASC, type DESC, id ASC";

// Equal sums: more records first, then the category booked first.
const char* const kRanking = "SELECT cate, count(*), total(round(amount * 100)) AS cents" ZENDREL_RANGE
                             " AND type = ?4 GROUP BY cate ORDER BY cents DESC, count(*) DESC, min(id)";

const char* const kCategoryRecords = "SELECT date, cate, round(amount * 100), notes" ZENDREL_RANGE
                                     " AND type = ?4 AND cate = ?5 ORDER BY date ASC, id ASC";

const char* const kQueryCache = "PRAGMA cache_size = -65536";

#undef ZENDREL_CENTS_OF
#undef ZENDREL_RANGE

} // namespace periodsql

namespace {

// Decodes stored field texts; one decoder for the whole query, and texts seen before come from the
// cache. Categories repeat all the time; notes mostly do not, so their cache stays small.
class FieldDecoder {
public:
    explicit FieldDecoder(qsizetype cacheLimit) : m_cacheLimit(cacheLimit) {}

    QString decode(const QByteArray& stored)
    {
        if (stored.isEmpty())
            return QString();
        const auto it = m_cache.constFind(stored);
        if (it != m_cache.constEnd())
            return it.value();
        const QString text = decodeNew(stored);
        if (m_cache.size() < m_cacheLimit)
            m_cache.insert(QByteArray(stored.constData(), stored.size()), text);
        return text;
    }

private:
    QString decodeNew(const QByteArray& stored)
    {
        const QByteArray bytes = QByteArray::fromBase64(stored);
        bool ascii = true;
        for (const char c : bytes) {
            if (static_cast<unsigned char>(c) >= 0x80) {
                ascii = false;
                break;
            }
        }
        // GB18030 leaves ASCII as it is.
        if (ascii)
            return QString::fromLatin1(bytes);
        if (!m_decoder.isValid())
            return THi::DecodeField(stored);
        QString text = m_decoder.decode(bytes);
        m_decoder.resetState();
        return text;
    }

    qsizetype m_cacheLimit;
    QStringDecoder m_decoder{"GB18030"};
    QHash<QByteArray, QString> m_cache;
};

constexpr qsizetype kCategoryCache = 100000;
constexpr qsizetype kNoteCache = 4096;

// "%0.2f" of a number of cents. Exact while the cents are a whole number a double holds exactly.
QString formatCents(double cents)
{
    if (!(std::fabs(cents) < 9007199254740992.0))
        return THi::FormatAmount(cents / 100.0);
    qint64 n = qint64(std::llround(cents));
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* p = end;
    const bool negative = n < 0;
    if (negative)
        n = -n;
    *--p = char('0' + n % 10);
    n /= 10;
    *--p = char('0' + n % 10);
    n /= 10;
    *--p = '.';
    do {
        *--p = char('0' + n % 10);
        n /= 10;
    } while (n > 0);
    if (negative)
        *--p = '-';
    return QString::fromLatin1(p, end - p);
}

QString formatShare(double cents, double totalCents)
{
    // A type whose total is zero has nothing to share out.
    const double share = totalCents != 0 ? cents * 100.0 / totalCents : 0.0;
    return THi::FormatAmount(share) + QLatin1Char('%');
}

QByteArray encodedUser(const QString& user)
{
    return THi::EncodeField(user).toLatin1();
}

// Reads a ranking of one type.
void readRanking(SqlDb& db, const QByteArray& user, const QByteArray& from, const QByteArray& to,
                 const QString& type, double totalCents, FieldDecoder& fields, TStringsArray& out)
{
    SqlStmt q = db.prepare(periodsql::kRanking, QStringLiteral("查询项目排行"));
    q.bindAll({user, from, to, type.toUtf8()});
    while (q.step()) {
        const double cents = q.real(2);
        out.append({type, fields.decode(q.raw(0)), QString::number(q.integer(1)), formatCents(cents),
                    formatShare(cents, totalCents)});
    }
}

} // namespace

TPeriodResult TDbMan::QueryPeriod(const QString& user, const QString& dateFrom, const QString& dateTo)
{
    const QByteArray u = encodedUser(user);
    const QByteArray from = dateFrom.toUtf8();
    const QByteArray to = dateTo.toUtf8();
    const QByteArray expense = kTypeExpense.toUtf8();
    const QByteArray income = kTypeIncome.toUtf8();

    TPeriodResult result;
    SqlDb db = open();
    // The six statements read the same pages; a cache that holds them spares re-reading the file.
    db.exec(periodsql::kQueryCache);
    // One read transaction: all six statements see the same ledger, even while another instance saves.
    db.exec("BEGIN");
    FieldDecoder categories(kCategoryCache);
    FieldDecoder notes(kNoteCache);

    double expenseCents = 0;
    double incomeCents = 0;
    {
        SqlStmt q = db.prepare(periodsql::kTotals, QStringLiteral("查询收支合计"));
        q.bindAll({u, from, to, expense, income});
        if (q.step()) {
            expenseCents = q.real(0);
            incomeCents = q.real(1);
        }
    }
    result.expenseTotal = expenseCents / 100.0;
    result.incomeTotal = incomeCents / 100.0;

    {
        SqlStmt q = db.prepare(periodsql::kDays, QStringLiteral("查询每日合计"));
        q.bindAll({u, from, to, expense, income});
        while (q.step())
            result.days.append({q.latin(0), formatCents(q.real(1)), formatCents(q.real(2))});
    }
    {
        SqlStmt q = db.prepare(periodsql::kMonths, QStringLiteral("查询每月合计"));
        q.bindAll({u, from, to, expense, income});
        while (q.step())
            result.months.append({q.latin(0), formatCents(q.real(1)), formatCents(q.real(2))});
    }
    {
        SqlStmt q = db.prepare(periodsql::kRecords, QStringLiteral("查询收支记录"));
        q.bindAll({u, from, to});
        QByteArray lastDate;
        QString date;
        while (q.step()) {
            // Records of one day share one date text.
            const QByteArray rawDate = q.raw(1);
            if (rawDate != lastDate) {
                lastDate = QByteArray(rawDate.constData(), rawDate.size());
                date = QString::fromUtf8(lastDate);
            }
            const QByteArray rawType = q.raw(2);
            bool isIncome = rawType == income;
            bool isExpense = !isIncome && rawType == expense;
            if (!isIncome && !isExpense) {
                // Types written by other means: compared without surrounding blanks, A-Z lowered.
                const QString type = THi::LowerAscii(THi::Trim(QString::fromUtf8(rawType)));
                isIncome = type == kTypeIncome;
                isExpense = type == kTypeExpense;
            }
            const QString amount = isIncome || isExpense ? formatCents(q.real(4)) : QString();
            result.records.append({QString::number(q.integer(0)), date, categories.decode(q.raw(3)),
                                   isIncome ? amount : QString(), isExpense ? amount : QString(),
                                   notes.decode(q.raw(5))});
        }
    }
    readRanking(db, u, from, to, kTypeExpense, expenseCents, categories, result.expenseRanking);
    readRanking(db, u, from, to, kTypeIncome, incomeCents, categories, result.incomeRanking);
    db.exec("COMMIT");
    return result;
}

TStringsArray TDbMan::QueryCategoryRecords(const QString& user, const QString& dateFrom, const QString& dateTo,
                                           const QString& typeText, const QString& category)
{
    TStringsArray records;
    SqlDb db = open();
    FieldDecoder categories(kCategoryCache);
    FieldDecoder notes(kNoteCache);
    SqlStmt q = db.prepare(periodsql::kCategoryRecords, QStringLiteral("查询项目明细"));
    q.bindAll({encodedUser(user), dateFrom.toUtf8(), dateTo.toUtf8(), typeText.toUtf8(),
               THi::EncodeField(category).toLatin1()});
    while (q.step())
        records.append(
            {q.text(0), categories.decode(q.raw(1)), formatCents(q.real(2)), notes.decode(q.raw(3))});
    return records;
}
