// Build step: creates the empty ledger template from the schema file.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_template schema.sql out.zendb\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream schema;
    schema << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    std::remove(argv[2]);
    sqlite3* db = nullptr;
    if (sqlite3_open(argv[2], &db) != SQLITE_OK) {
        std::fprintf(stderr, "cannot create %s\n", argv[2]);
        return 1;
    }
    char* err = nullptr;
    const std::string sql = "BEGIN;" + schema.str() + ";COMMIT;";
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "schema: %s\n", err ? err : "?");
        sqlite3_close(db);
        return 1;
    }
    sqlite3_close(db);
    return 0;
}
