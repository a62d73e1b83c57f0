#pragma once
// What marks a file as a ledger of this program.
constexpr int kLedgerApplicationId = 1514491460; // 'ZEND'
constexpr int kLedgerUserVersion = 1;
