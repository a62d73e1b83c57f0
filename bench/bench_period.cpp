// Speed of the period search on ledgers of ten years.
//
// For ledgers whose searched user has 10,000, 100,000 and 1,000,000 records (other users' records
// beside), it measures the median of several runs of:
//   - TDbMan::QueryPeriod over one month and over the whole ten years (decoding and formatting included);
//   - the floor: the same six statements stepped with the SQLite C interface on the same file, reading
//     each column in its own type but decoding and formatting nothing;
//   - filling the transactions page's five lists from a result (models replaced, views laid out and
//     painted);
//   - one month of a neighbour who has the same 10,000 records in every ledger, so only the size of
//     the ledger around it changes.
// The ledgers are generated once into a temporary folder and reused by later runs.
//
//   bench_period [--runs N] [--sizes 10000,100000] [--fresh]
#include "app/HiClass.h"
#include "app/MainForm.h"
#include "app/Prompts.h"
#include "app/ReportView.h"
#include "browse/TransPage.h"
#include "store/DbClass.h"
#include "store/PeriodQuery.h"

#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QRandomGenerator>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

namespace {

using Clock = std::chrono::steady_clock;

const QString kUser = QStringLiteral("anna");
const QString kProbe = QStringLiteral("probe");
const QString kFirstDay = QStringLiteral("2010-01-01");
const QString kLastDay = QStringLiteral("2019-12-31");
const QString kMonthFrom = QStringLiteral("2015-06-01");
const QString kMonthTo = QStringLiteral("2015-06-30");
constexpr int kProbeRecords = 10000;

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

// Median milliseconds of `runs` calls.
double timed(int runs, const std::function<void()>& work)
{
    QVector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        ms << std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    return median(ms);
}

// Median milliseconds of QueryPeriod; the result is freed outside the measured time, as the caller
// keeps it in its lists.
double timedQuery(int runs, TDbMan& db, const QString& user, const QString& from, const QString& to)
{
    QVector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        const TPeriodResult result = db.QueryPeriod(user, from, to);
        ms << std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    return median(ms);
}

void check(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

qint64 countRecords(const QString& file, const QString& user)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return -1;
    }
    sqlite3_stmt* st = nullptr;
    qint64 n = -1;
    const QByteArray u = THi::EncodeField(user).toLatin1();
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM data WHERE user = ?", -1, &st, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(st, 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int64(st, 0);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
}

// A ledger of ten years: the searched user with `records` records, two other users with a tenth each,
// and the neighbour with kProbeRecords; booked day by day, as a household would.
void generate(const QString& file, int records)
{
    QFile::remove(file);
    if (!QFile::copy(THi::AppPath() + QStringLiteral("db.zendb"), file)) {
        std::fprintf(stderr, "no ledger template beside the program\n");
        std::exit(1);
    }
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QRandomGenerator rnd(20100101u + quint32(records));
    const QStringList outCates = QStringLiteral(
        "早餐 午饭 晚饭 水果 零食 超市 菜场 地铁 公交 出租车 加油 停车 话费 网费 电费 水费 燃气 物业 房租 "
        "衣服 鞋子 书籍 药品 医疗 理发 礼金 聚餐 电影 旅游 日用品").split(QLatin1Char(' '));
    const QStringList inCates =
        QStringLiteral("工资 奖金 利息 报销 兼职 红包 退款 Other").split(QLatin1Char(' '));
    QVector<QByteArray> outEnc, inEnc, noteEnc;
    for (const QString& c : outCates)
        outEnc << THi::EncodeField(c).toLatin1();
    for (const QString& c : inCates)
        inEnc << THi::EncodeField(c).toLatin1();
    for (int i = 0; i < 300; ++i)
        noteEnc << THi::EncodeField(QStringLiteral("常用备注%1 家里").arg(i)).toLatin1();

    sqlite3* db = nullptr;
    check(sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
    check(sqlite3_exec(db, "PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt* ins = nullptr;
    const char* insert = "INSERT INTO data (user, date, type, cate, amount, notes) VALUES (?,?,?,?,?,?)";
    check(sqlite3_prepare_v2(db, insert, -1, &ins, nullptr), db, "prepare");
    const QByteArray expense = kTypeExpense.toUtf8();
    const QByteArray income = kTypeIncome.toUtf8();
    struct Owner {
        QByteArray user;
        qint64 total;
    };
    const QVector<Owner> owners{{THi::EncodeField(kUser).toLatin1(), records},
                                {THi::EncodeField(QStringLiteral("bob")).toLatin1(), records / 10},
                                {THi::EncodeField(QStringLiteral("carol")).toLatin1(), records / 10},
                                {THi::EncodeField(kProbe).toLatin1(), kProbeRecords}};
    const QDate first = QDate::fromString(kFirstDay, Qt::ISODate);
    const qint64 days = first.daysTo(QDate::fromString(kLastDay, Qt::ISODate)) + 1;
    qint64 unique = 0;
    for (qint64 d = 0; d < days; ++d) {
        const QByteArray date = first.addDays(d).toString(Qt::ISODate).toLatin1();
        for (const Owner& o : owners) {
            const qint64 count = (d + 1) * o.total / days - d * o.total / days;
            for (qint64 k = 0; k < count; ++k) {
                const bool isIncome = rnd.bounded(100) < 12;
                const QVector<QByteArray>& cates = isIncome ? inEnc : outEnc;
                const QByteArray& cate = cates[rnd.bounded(int(cates.size()))];
                const qint64 cents = isIncome ? rnd.bounded(10000, 2000000) : rnd.bounded(50, 60000);
                QByteArray note;
                const int kind = rnd.bounded(10);
                if (kind >= 3 && kind < 7)
                    note = noteEnc[rnd.bounded(int(noteEnc.size()))];
                else if (kind >= 7)
                    note = THi::EncodeField(
                               QStringLiteral("第%1笔，记于%2").arg(++unique).arg(QLatin1String(date)))
                               .toLatin1();
                sqlite3_reset(ins);
                sqlite3_bind_text(ins, 1, o.user.constData(), int(o.user.size()), SQLITE_STATIC);
                sqlite3_bind_text(ins, 2, date.constData(), int(date.size()), SQLITE_STATIC);
                const QByteArray& type = isIncome ? income : expense;
                sqlite3_bind_text(ins, 3, type.constData(), int(type.size()), SQLITE_STATIC);
                sqlite3_bind_text(ins, 4, cate.constData(), int(cate.size()), SQLITE_STATIC);
                sqlite3_bind_double(ins, 5, double(cents) / 100.0);
                sqlite3_bind_text(ins, 6, note.constData(), int(note.size()), SQLITE_TRANSIENT);
                check(sqlite3_step(ins), db, "insert");
            }
        }
    }
    sqlite3_finalize(ins);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

// The six statements of the period search stepped with nothing done per row but reading its columns.
qint64 floorRun(const QString& file, const QString& user, const QString& from, const QString& to)
{
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
    const QByteArray u = THi::EncodeField(user).toLatin1();
    const QByteArray f = from.toUtf8();
    const QByteArray t = to.toUtf8();
    const QByteArray e = kTypeExpense.toUtf8();
    const QByteArray i = kTypeIncome.toUtf8();
    struct Run {
        const char* sql;
        QVector<QByteArray> params;
    };
    const Run runs[] = {{periodsql::kTotals, {u, f, t, e, i}},  {periodsql::kDays, {u, f, t, e, i}},
                        {periodsql::kMonths, {u, f, t, e, i}},  {periodsql::kRecords, {u, f, t}},
                        {periodsql::kRanking, {u, f, t, e}},    {periodsql::kRanking, {u, f, t, i}}};
    qint64 touched = 0;
    check(sqlite3_exec(db, periodsql::kQueryCache, nullptr, nullptr, nullptr), db, "cache");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    for (const Run& r : runs) {
        sqlite3_stmt* st = nullptr;
        check(sqlite3_prepare_v2(db, r.sql, -1, &st, nullptr), db, "prepare");
        for (int p = 0; p < r.params.size(); ++p)
            sqlite3_bind_text(st, p + 1, r.params[p].constData(), int(r.params[p].size()), SQLITE_STATIC);
        const int columns = sqlite3_column_count(st);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(st, c)) {
                case SQLITE_INTEGER: touched += sqlite3_column_int64(st, c); break;
                case SQLITE_FLOAT: touched += qint64(sqlite3_column_double(st, c)); break;
                case SQLITE_TEXT:
                    touched += sqlite3_column_text(st, c)[0];
                    touched += sqlite3_column_bytes(st, c);
                    break;
                default: break;
                }
            }
        }
        check(rc, db, "step");
        sqlite3_finalize(st);
    }
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
    return touched;
}

struct Row {
    int records = 0;
    int monthRows = 0;
    double ourMonth = 0, floorMonth = 0;
    double ourAll = 0, floorAll = 0;
    double fill = 0, search = 0;
    double probeMonth = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int runs = 5;
    bool fresh = false;
    QVector<int> sizes{10000, 100000, 1000000};
    const QStringList args = app.arguments();
    for (int a = 1; a < args.size(); ++a) {
        if (args[a] == QLatin1String("--runs") && a + 1 < args.size())
            runs = qMax(1, args[++a].toInt());
        else if (args[a] == QLatin1String("--fresh"))
            fresh = true;
        else if (args[a] == QLatin1String("--sizes") && a + 1 < args.size()) {
            sizes.clear();
            for (const QString& s : args[++a].split(QLatin1Char(',')))
                sizes << s.toInt();
        }
    }
    const QString folder = QDir::temp().filePath(QStringLiteral("zendrel-bench-period"));
    QDir().mkpath(folder);
    std::printf("Ledgers in %s; median of %d runs (whole ten years of 1,000,000: %d runs)\n\n",
                qPrintable(QDir::toNativeSeparators(folder)), runs, qMax(1, runs / 2));

    QtPrompts prompts;
    QVector<Row> rows;
    for (const int size : sizes) {
        const QString file = QDir(folder).filePath(QStringLiteral("ledger-%1.zendb").arg(size));
        if (fresh || countRecords(file, kUser) != size || countRecords(file, kProbe) != kProbeRecords) {
            std::printf("generating %d records ...\n", size);
            std::fflush(stdout);
            generate(file, size);
        }
        const int wholeRuns = size >= 1000000 ? qMax(1, runs / 2) : runs;
        TDbMan db(file);
        Row r;
        r.records = size;
        r.monthRows = int(db.QueryPeriod(kUser, kMonthFrom, kMonthTo).records.size());
        r.ourMonth = timedQuery(runs, db, kUser, kMonthFrom, kMonthTo);
        r.floorMonth = timed(runs, [&] { floorRun(file, kUser, kMonthFrom, kMonthTo); });
        r.probeMonth = timedQuery(runs, db, kProbe, kMonthFrom, kMonthTo);
        r.ourAll = timedQuery(wholeRuns, db, kUser, kFirstDay, kLastDay);
        r.floorAll = timed(wholeRuns, [&] { floorRun(file, kUser, kFirstDay, kLastDay); });

        // The page: the main window opened for the user on this ledger, the transactions page shown.
        MainSeams seams;
        seams.prompts = &prompts;
        seams.login = [file] { return LoginResult{file, kUser}; };
        seams.startInstance = [](const QString&) {};
        TfrmMain window(seams);
        window.show();
        window.rdoTransactions->click();
        QApplication::processEvents();
        TTransPage* page = window.pnlTransactions;
        const TPeriodResult result = db.QueryPeriod(kUser, kFirstDay, kLastDay);
        ReportView* lists[] = {page->lvwDayTotal, page->lvwMonthTotal, page->lvwTrans, page->lvwOutCates,
                               page->lvwInCates};
        QVector<double> fills;
        for (int i = 0; i < wholeRuns; ++i) {
            for (ReportView* v : lists)
                v->reportModel()->clear();
            QApplication::processEvents();
            const auto start = Clock::now();
            page->lvwDayTotal->reportModel()->setRows(result.days);
            page->lvwMonthTotal->reportModel()->setRows(result.months);
            page->lvwTrans->reportModel()->setRows(result.records);
            page->lvwOutCates->reportModel()->setRows(result.expenseRanking);
            page->lvwInCates->reportModel()->setRows(result.incomeRanking);
            window.UpdateButtons();
            QApplication::processEvents();
            page->repaint();
            fills << std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
        r.fill = median(fills);
        page->dtpTransDate1->setDate(QDate::fromString(kFirstDay, Qt::ISODate));
        page->dtpTransDate2->setDate(QDate::fromString(kLastDay, Qt::ISODate));
        r.search = timed(wholeRuns, [&] {
            page->btnTransSearchClick(page->btnTransSearch);
            QApplication::processEvents();
            page->repaint();
        });
        if (page->lvwTrans->reportModel()->rowCount() != size)
            std::printf("unexpected: %d records listed\n", page->lvwTrans->reportModel()->rowCount());
        rows << r;
    }

    std::printf("\n%10s | %10s %9s %9s %6s | %9s %9s %6s | %9s %8s | %11s | %12s\n", "records",
                "month rows", "month ms", "floor ms", "ratio", "all ms", "floor ms", "ratio", "fill ms",
                "fill/all", "search ms", "probe month");
    for (const Row& r : rows) {
        std::printf("%10d | %10d %9.2f %9.2f %6.2f | %9.1f %9.1f %6.2f | %9.1f %8.3f | %11.1f | %9.2f ms\n",
                    r.records, r.monthRows, r.ourMonth, r.floorMonth, r.ourMonth / r.floorMonth, r.ourAll,
                    r.floorAll, r.ourAll / r.floorAll, r.fill, r.fill / r.ourAll, r.search, r.probeMonth);
    }
    if (rows.size() > 1) {
        const Row& small = rows.first();
        const Row& large = rows.last();
        std::printf("\nprobe month, largest / smallest ledger: %.2f"
                    "   (the neighbour's same 10,000 records in each)\n",
                    large.probeMonth / small.probeMonth);
        std::printf("month of the searched user, largest / smallest ledger: %.2f   (%d vs %d records)\n",
                    large.ourMonth / small.ourMonth, large.monthRows, small.monthRows);
    }
    return 0;
}
