/* Links the cross-built SQLite and libpq statically and uses each once, under Wine:
 *   pool-libs-check.exe CONNINFO WRONG_PASSWORD_CONNINFO
 * The second connection must be refused, so a server that lets anyone in cannot pass. libpq runs on a
 * winpthreads thread, as in tolvane-provision, so its own pthread stand-ins must not clash with them. */
#include <libpq-fe.h>
#include <pthread.h>
#include <sqlite3.h>
#include <stdio.h>
#include <string.h>

static int check_sqlite(void)
{
    sqlite3 *db = NULL;
    sqlite3_stmt *stmt = NULL;
    int ok = sqlite3_open(":memory:", &db) == SQLITE_OK
             && sqlite3_prepare_v2(db, "select sqlite_version()", -1, &stmt, NULL) == SQLITE_OK
             && sqlite3_step(stmt) == SQLITE_ROW;
    const char *version = ok ? (const char *)sqlite3_column_text(stmt, 0) : "?";
    /* A header from another release than the library would mislead every caller. */
    ok = ok && strcmp(version, SQLITE_VERSION) == 0 && sqlite3_threadsafe() == 1;
    printf("sqlite: %s (header %s, threadsafe %d): %s\n", version, SQLITE_VERSION, sqlite3_threadsafe(),
           ok ? "ok" : sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return ok;
}

static char **conninfos;
static int pq_ok;

static void *check_postgresql(void *unused)
{
    (void)unused;
    PGconn *conn = PQconnectdb(conninfos[1]);
    PGresult *res = PQexec(conn, "select 1");
    int ok = PQresultStatus(res) == PGRES_TUPLES_OK && strcmp(PQgetvalue(res, 0, 0), "1") == 0
             && PQconnectionUsedPassword(conn);
    printf("postgresql: server %s, libpq %d, password used %d, ssl %d, select 1: %s\n",
           PQparameterStatus(conn, "server_version"), PQlibVersion(), PQconnectionUsedPassword(conn),
           PQsslInUse(conn), ok ? PQgetvalue(res, 0, 0) : PQerrorMessage(conn));
    PQclear(res);
    PQfinish(conn);

    conn = PQconnectdb(conninfos[2]);
    int refused = PQstatus(conn) != CONNECTION_OK
                  && strstr(PQerrorMessage(conn), "password authentication failed") != NULL;
    printf("postgresql: wrong password: %s", refused ? PQerrorMessage(conn) : "not refused\n");
    PQfinish(conn);
    pq_ok = ok && refused;
    return NULL;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s CONNINFO WRONG_PASSWORD_CONNINFO\n", argv[0]);
        return 2;
    }
    conninfos = argv;
    pthread_t thread;
    int ok = check_sqlite();
    /* pthread_join orders the thread's writes before the read of pq_ok. */
    ok = pthread_create(&thread, NULL, check_postgresql, NULL) == 0 && pthread_join(thread, NULL) == 0
         && pq_ok && ok;
    return ok ? 0 : 1;
}
