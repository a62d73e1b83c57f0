#include "app/HiClass.h"
#include "store/DbClass.h"
#include "store/PeriodQuery.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TestEnv.h"

#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

namespace {
const QString E = QStringLiteral("支出");
const QString I = QStringLiteral("收入");
const QString anna = QStringLiteral("anna");

QStringList rec(const char* date, const QString& type, const QString& cate, const char* amount,
                const QString& note = QString())
{
    return {QLatin1String(date), type, cate, QLatin1String(amount), note};
}

QStringList row(std::initializer_list<QString> cells)
{
    return QStringList(cells);
}

// Every line of the query plan of one statement.
QStringList queryPlan(const QString& file, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_stmt* st = nullptr;
    const QByteArray explain = QByteArray("EXPLAIN QUERY PLAN ") + sql;
    sqlite3_prepare_v2(db, explain.constData(), -1, &st, nullptr);
    QStringList lines;
    while (sqlite3_step(st) == SQLITE_ROW)
        lines << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return lines;
}
} // namespace

// One small ledger for every case: anna's records (ids 1-8 in this order) and bob's beside them on
// the same days, which must never show up in anna's results.
class TestPeriodQuery : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_file;

private Q_SLOTS:
    void initTestCase()
    {
        testenv::init();
        m_file = fixtures::freshLedger(m_dir.path());
        TDbMan db(m_file);
        db.InsertRecords(anna, {rec("2009-12-30", E, QStringLiteral("饭"), "10.00", QStringLiteral("午饭")),
                                rec("2009-12-31", I, QStringLiteral("工资"), "1000.00"),
                                rec("2009-12-31", E, QStringLiteral("饭"), "20.00", QStringLiteral("晚饭")),
                                rec("2010-01-01", E, QStringLiteral("车"), "5.50", QStringLiteral("地铁")),
                                rec("2009-12-31", E, QStringLiteral("饭"), "30.00"),
                                rec("2010-01-05", I, QStringLiteral("奖金"), "200.00", QStringLiteral("年终")),
                                rec("2010-01-05", E, QStringLiteral("Fan"), "1.00", QStringLiteral("A")),
                                rec("2010-02-10", E, QStringLiteral("fan"), "2.00", QStringLiteral("b"))});
        db.InsertRecords(QStringLiteral("bob"),
                         {rec("2009-12-31", E, QStringLiteral("饭"), "999.00", QStringLiteral("bob")),
                          rec("2010-01-05", I, QStringLiteral("工资"), "5000.00"),
                          rec("2011-06-01", E, QStringLiteral("饭"), "7.00")});
    }

    void queryPeriod_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<double>("expenseTotal");
        QTest::addColumn<double>("incomeTotal");
        QTest::addColumn<TStringsArray>("days");
        QTest::addColumn<TStringsArray>("months");
        QTest::addColumn<TStringsArray>("records");
        QTest::addColumn<TStringsArray>("expenseRanking");
        QTest::addColumn<TStringsArray>("incomeRanking");

        // bob has a record in this range; anna has none.
        QTest::newRow("empty range") << "2011-01-01" << "2011-12-31" << 0.0 << 0.0 << TStringsArray()
                                     << TStringsArray() << TStringsArray() << TStringsArray()
                                     << TStringsArray();

        QTest::newRow("one type only") << "2009-12-30" << "2009-12-30" << 10.0 << 0.0
                                       << TStringsArray{row({"2009-12-30", "0.00", "10.00"})}
                                       << TStringsArray{row({"2009-12", "0.00", "10.00"})}
                                       << TStringsArray{row({"1", "2009-12-30", "饭", "", "10.00", "午饭"})}
                                       << TStringsArray{row({"支出", "饭", "1", "10.00", "100.00%"})}
                                       << TStringsArray();

        // Income before expense (type text descending); the two expenses in the order they were stored.
        QTest::newRow("expense and income on one day")
            << "2009-12-31" << "2009-12-31" << 50.0 << 1000.0
            << TStringsArray{row({"2009-12-31", "1000.00", "50.00"})}
            << TStringsArray{row({"2009-12", "1000.00", "50.00"})}
            << TStringsArray{row({"2", "2009-12-31", "工资", "1000.00", "", ""}),
                             row({"3", "2009-12-31", "饭", "", "20.00", "晚饭"}),
                             row({"5", "2009-12-31", "饭", "", "30.00", ""})}
            << TStringsArray{row({"支出", "饭", "2", "50.00", "100.00%"})}
            << TStringsArray{row({"收入", "工资", "1", "1000.00", "100.00%"})};

        QTest::newRow("year boundary, a category booked three times")
            << "2009-12-01" << "2010-01-31" << 66.5 << 1200.0
            << TStringsArray{row({"2009-12-30", "0.00", "10.00"}), row({"2009-12-31", "1000.00", "50.00"}),
                             row({"2010-01-01", "0.00", "5.50"}), row({"2010-01-05", "200.00", "1.00"})}
            << TStringsArray{row({"2009-12", "1000.00", "60.00"}), row({"2010-01", "200.00", "6.50"})}
            << TStringsArray{row({"1", "2009-12-30", "饭", "", "10.00", "午饭"}),
                             row({"2", "2009-12-31", "工资", "1000.00", "", ""}),
                             row({"3", "2009-12-31", "饭", "", "20.00", "晚饭"}),
                             row({"5", "2009-12-31", "饭", "", "30.00", ""}),
                             row({"4", "2010-01-01", "车", "", "5.50", "地铁"}),
                             row({"6", "2010-01-05", "奖金", "200.00", "", "年终"}),
                             row({"7", "2010-01-05", "Fan", "", "1.00", "A"})}
            << TStringsArray{row({"支出", "饭", "3", "60.00", "90.23%"}), row({"支出", "车", "1", "5.50", "8.27%"}),
                             row({"支出", "Fan", "1", "1.00", "1.50%"})}
            << TStringsArray{row({"收入", "工资", "1", "1000.00", "83.33%"}),
                             row({"收入", "奖金", "1", "200.00", "16.67%"})};

        // Both ends are included; categories differing only in letter case are ranked apart.
        QTest::newRow("ends included, letter case kept")
            << "2010-01-05" << "2010-02-10" << 3.0 << 200.0
            << TStringsArray{row({"2010-01-05", "200.00", "1.00"}), row({"2010-02-10", "0.00", "2.00"})}
            << TStringsArray{row({"2010-01", "200.00", "1.00"}), row({"2010-02", "0.00", "2.00"})}
            << TStringsArray{row({"6", "2010-01-05", "奖金", "200.00", "", "年终"}),
                             row({"7", "2010-01-05", "Fan", "", "1.00", "A"}),
                             row({"8", "2010-02-10", "fan", "", "2.00", "b"})}
            << TStringsArray{row({"支出", "fan", "1", "2.00", "66.67%"}),
                             row({"支出", "Fan", "1", "1.00", "33.33%"})}
            << TStringsArray{row({"收入", "奖金", "1", "200.00", "100.00%"})};
    }

    void queryPeriod()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        const TPeriodResult r = TDbMan(m_file).QueryPeriod(anna, from, to);
        QTEST(r.expenseTotal, "expenseTotal");
        QTEST(r.incomeTotal, "incomeTotal");
        QTEST(r.days, "days");
        QTEST(r.months, "months");
        QTEST(r.records, "records");
        QTEST(r.expenseRanking, "expenseRanking");
        QTEST(r.incomeRanking, "incomeRanking");
    }

    void categoryRecords_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("category");
        QTest::addColumn<TStringsArray>("records");

        QTest::newRow("oldest first, same day by id, other user left out")
            << "2009-01-01" << "2010-12-31" << E << "饭"
            << TStringsArray{row({"2009-12-30", "饭", "10.00", "午饭"}), row({"2009-12-31", "饭", "20.00", "晚饭"}),
                             row({"2009-12-31", "饭", "30.00", ""})};
        QTest::newRow("range ends") << "2009-12-31" << "2009-12-31" << E << "饭"
                                    << TStringsArray{row({"2009-12-31", "饭", "20.00", "晚饭"}),
                                                     row({"2009-12-31", "饭", "30.00", ""})};
        QTest::newRow("exact letter case: fan") << "2009-01-01" << "2010-12-31" << E << "fan"
                                                << TStringsArray{row({"2010-02-10", "fan", "2.00", "b"})};
        QTest::newRow("exact letter case: Fan") << "2009-01-01" << "2010-12-31" << E << "Fan"
                                                << TStringsArray{row({"2010-01-05", "Fan", "1.00", "A"})};
        QTest::newRow("no part match") << "2009-01-01" << "2010-12-31" << E << "饭 " << TStringsArray();
        QTest::newRow("other type") << "2009-01-01" << "2010-12-31" << I << "饭" << TStringsArray();
    }

    void categoryRecords()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, type);
        QFETCH(QString, category);
        QTEST(TDbMan(m_file).QueryCategoryRecords(anna, from, to, type, category), "records");
    }

    // Summing the stored floating-point amounts would be off by a cent here.
    void sums_exactToTheCent()
    {
        const QString file = fixtures::freshLedger(m_dir.path(), QStringLiteral("big.zendb"));
        const QStringList amounts{QStringLiteral("9369618616005.46"), QStringLiteral("9067452257083.13"),
                                  QStringLiteral("7267766754949.78")};
        double naive = 0;
        TStringsArray records;
        for (const QString& a : amounts) {
            naive += a.toDouble();
            records << QStringList{QStringLiteral("2020-05-01"), E, QStringLiteral("房"), a, QString()};
        }
        QVERIFY(THi::FormatAmount(naive) != QStringLiteral("25704837628038.37"));
        TDbMan db(file);
        db.InsertRecords(anna, records);
        const TPeriodResult r =
            db.QueryPeriod(anna, QStringLiteral("2020-01-01"), QStringLiteral("2020-12-31"));
        QCOMPARE(THi::FormatAmount(r.expenseTotal), QStringLiteral("25704837628038.37"));
        QCOMPARE(r.days, (TStringsArray{row({"2020-05-01", "0.00", "25704837628038.37"})}));
        QCOMPARE(r.months, (TStringsArray{row({"2020-05", "0.00", "25704837628038.37"})}));
        QCOMPARE(r.expenseRanking, (TStringsArray{row({"支出", "房", "3", "25704837628038.37", "100.00%"})}));
        QCOMPARE(r.records.value(0).value(4), QStringLiteral("9369618616005.46"));
    }

    // Every statement finds the user's range through the index instead of reading the whole table.
    void statements_useTheUserDateIndex_data()
    {
        QTest::addColumn<QByteArray>("sql");
        QTest::newRow("totals") << QByteArray(periodsql::kTotals);
        QTest::newRow("days") << QByteArray(periodsql::kDays);
        QTest::newRow("months") << QByteArray(periodsql::kMonths);
        QTest::newRow("records") << QByteArray(periodsql::kRecords);
        QTest::newRow("ranking") << QByteArray(periodsql::kRanking);
        QTest::newRow("category records") << QByteArray(periodsql::kCategoryRecords);
    }

    void statements_useTheUserDateIndex()
    {
        QFETCH(QByteArray, sql);
        const QStringList plan = queryPlan(m_file, sql.constData());
        QVERIFY2(plan.join(QLatin1Char('\n')).contains(QStringLiteral("USING INDEX data_user_date")),
                 qPrintable(plan.join(QLatin1Char('\n'))));
        for (const QString& line : plan)
            QVERIFY2(!line.startsWith(QStringLiteral("SCAN data")), qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestPeriodQuery)
#include "tst_periodquery.moc"
