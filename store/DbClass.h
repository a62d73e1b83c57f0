#pragma once
// The ledger's database manager: every statement the program sends goes through here.
// Each operation opens the file, does its work and closes it again.
#include "store/Sqlite.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Rows of display texts (query results) or pending records (date, type, category, amount, note).
using TStringsArray = QVector<QStringList>;

extern const QString kTypeExpense; // "支出"
extern const QString kTypeIncome;  // "收入"

struct TPeriodResult {
    double expenseTotal = 0;
    double incomeTotal = 0;
    TStringsArray days;           // date, income, expense
    TStringsArray months;         // yyyy-mm, income, expense
    TStringsArray records;        // id, date, category, income or "", expense or "", note
    TStringsArray expenseRanking; // "支出", category, count, sum, share
    TStringsArray incomeRanking;  // "收入", category, count, sum, share
};

class TDbMan {
public:
    explicit TDbMan(const QString& dbFile);
    const QString& dbFile() const { return m_dbFile; }

    // Accounts. Passwords are kept only as salted slow hashes.
    void AddUser(const QString& name, const QString& password);
    void DeleteUser(const QString& name);
    bool UserExists(const QString& name);
    bool CheckLogin(const QString& name, const QString& password);
    // Deletes and re-adds the account in one transaction: the user moves to the top of the name
    // list and gets the given password, and a failure leaves the old account as it was.
    void ReplaceUser(const QString& name, const QString& password);
    // One name per line (CR LF), the most recently inserted first.
    QString GetUserNames();

    // Category lists; column is "out" (expense) or "in" (income).
    QString GetCategories(const QString& user, const QString& column);
    void SaveCategories(const QString& user, const QString& column, const QString& text);

    // Records. Dates are "yyyy-mm-dd", amounts "%0.2f" texts; anything else is refused.
    void InsertRecord(const QString& user, const QString& date, const QString& type, const QString& category,
                      const QString& amount, const QString& notes);
    // All records or none.
    void InsertRecords(const QString& user, const TStringsArray& records);
    // Deletes the record only when it belongs to `user`.
    void DeleteRecord(const QString& user, const QString& id);
    // Replaces a stored record by a new row in one transaction (the old one stays when the new one fails).
    void ReplaceRecord(const QString& user, const QString& id, const QString& date, const QString& type,
                       const QString& category, const QString& amount, const QString& notes);

    // Period queries (both ends inclusive).
    TPeriodResult QueryPeriod(const QString& user, const QString& dateFrom, const QString& dateTo);
    // date, category, amount, note of one category and type, oldest first.
    TStringsArray QueryCategoryRecords(const QString& user, const QString& dateFrom, const QString& dateTo,
                                       const QString& typeText, const QString& category);

private:
    SqlDb open() const;
    static void insertRecord(SqlStmt& insert, const QString& user, const QString& date, const QString& type,
                             const QString& category, const QString& amount, const QString& notes);

    QString m_dbFile;
};
