-- The ledger: every free text is stored as Base64 of its GB18030 bytes.
PRAGMA application_id = 1514491460; -- 'ZEND'
PRAGMA user_version = 1;

CREATE TABLE users (
    name TEXT NOT NULL,
    pwd  TEXT NOT NULL
);

CREATE TABLE cates (
    user  TEXT NOT NULL,
    [out] TEXT NOT NULL DEFAULT '',
    [in]  TEXT NOT NULL DEFAULT ''
);

CREATE TABLE data (
    id     INTEGER PRIMARY KEY AUTOINCREMENT,
    user   TEXT NOT NULL,
    date   TEXT NOT NULL,
    type   TEXT NOT NULL,
    cate   TEXT NOT NULL,
    amount REAL NOT NULL,
    notes  TEXT NOT NULL DEFAULT ''
);

CREATE INDEX data_user_date ON data (user, date);
