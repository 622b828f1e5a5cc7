#pragma once

#include <memory>
#include <string>

#include "pool/PoolAddress.h"
#include "pool/PoolDriver.h"

namespace tolvane {

// How long the pool waits for PostgreSQL. A server that has stopped (a hung backend, a dead network
// path) never runs its own statement_timeout, so this side bounds every answer too, and lets the
// connection go when none comes.
struct CPostgresLimits {
  int connectSeconds = 10;   // libpq's connect_timeout
  int statementMs = 15'000;  // the server's statement_timeout
  int answerMs = 20'000;     // for any answer at all, on this side: past the server's own limit
};

// A PostgreSQL database through libpq. The password comes from PGPASSWORD or ~/.pgpass, which
// libpq reads itself. Nothing, with libpq's reason, when the server cannot be reached within the
// limits or refuses the connection.
std::unique_ptr<IPoolConnection> ConnectPostgresPool(const CPoolAddress& address, const CPostgresLimits& limits,
                                                     std::string& reason);

}  // namespace tolvane
