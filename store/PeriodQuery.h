#pragma once
// The statements behind TDbMan::QueryPeriod and QueryCategoryRecords. They are public so the benchmark
// can step exactly the same statements and tests can check their query plans.
//
// Parameters: ?1 the encoded user, ?2 the first date, ?3 the last date ("yyyy-mm-dd", both included).
// Amounts are summed as whole cents (round(amount * 100)) with total(): exact for any ledger whose sums
// stay below 2^53 cents, and never an overflow error for absurd amounts.
namespace periodsql {

// Run on the connection first: a page cache large enough for the statements to share what they read.
extern const char* const kQueryCache;
// ?4 "支出", ?5 "收入". One row: expense cents, income cents (NULL without records).
extern const char* const kTotals;
// ?4 "支出", ?5 "收入". date, income cents, expense cents; oldest first.
extern const char* const kDays;
// ?4 "支出", ?5 "收入". "yyyy-mm", income cents, expense cents; oldest first.
extern const char* const kMonths;
// id, date, type, category, cents, amount, note; date ascending, type descending, id ascending.
extern const char* const kRecords;
// ?4 the type. category, count, cents; largest sum first.
extern const char* const kRanking;
// ?4 the type, ?5 the encoded category. date, category, cents, amount, note; oldest first.
extern const char* const kCategoryRecords;

} // namespace periodsql
