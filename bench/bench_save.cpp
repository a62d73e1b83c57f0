// Saving a pending list of 1,000 records into a fresh ledger through InsertRecords (one transaction).
// Prints each run and the median. Usage: bench_save [folder for the ledgers, default a temporary one]
#include "app/HiClass.h"
#include "store/DbClass.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int records = 1000;
    const int runs = 7;
    const QString user = QStringLiteral("bench");

    TStringsArray pending;
    const QStringList categories{QStringLiteral("医疗药品费"), QStringLiteral("饭"), QStringLiteral("Rent"),
                                 QStringLiteral("交通"), QStringLiteral("书")};
    for (int i = 0; i < records; ++i)
        pending << QStringList{THi::DateYmd(QDate(2024, 1, 1).addDays(i % 366)), kTypeExpense,
                               categories[i % categories.size()], THi::FormatAmount(1 + i * 0.37),
                               i % 3 ? QStringLiteral("家庭常用药 %1").arg(i) : QString()};

    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    QTemporaryDir dir(QDir(base).filePath(QStringLiteral("bench-XXXXXX")));
    QVector<double> times;
    for (int run = 0; run < runs; ++run) {
        const QString ledger = QDir(dir.path()).filePath(QStringLiteral("run%1.zendb").arg(run));
        if (!QFile::copy(THi::AppPath() + QStringLiteral("db.zendb"), ledger)) {
            std::fprintf(stderr, "no ledger template beside the program\n");
            return 1;
        }
        QFile::setPermissions(ledger, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        TDbMan db(ledger);
        QElapsedTimer timer;
        timer.start();
        db.InsertRecords(user, pending);
        times << timer.nsecsElapsed() / 1e6;
        std::printf("run %d: %.1f ms\n", run + 1, times.last());
    }
    std::sort(times.begin(), times.end());
    std::printf("saving %d pending records (one transaction): median %.1f ms of %d runs\n", records,
                times[runs / 2], runs);
    return 0;
}
