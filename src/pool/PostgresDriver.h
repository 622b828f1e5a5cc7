#pragma once

#include <memory>
#include <string>

#include "pool/PoolAddress.h"
#include "pool/PoolDriver.h"

namespace tolvane {

// A PostgreSQL database through libpq. The password comes from PGPASSWORD or ~/.pgpass, which
// libpq reads itself. Nothing, with libpq's reason, when the server cannot be reached within
// `connectTimeoutSeconds` or refuses the connection.
std::unique_ptr<IPoolConnection> ConnectPostgresPool(const CPoolAddress& address, int connectTimeoutSeconds,
                                                     std::string& reason);

}  // namespace tolvane
