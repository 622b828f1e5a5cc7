#pragma once

#include <memory>
#include <string>

#include "pool/PoolDriver.h"

namespace tolvane {

// An SQLite file through libsqlite3. With `create`, a file that does not exist is made; otherwise
// it must exist. A writer waits up to `busyTimeoutMs` for another to finish. Nothing, with SQLite's
// reason, when the file cannot be opened.
std::unique_ptr<IPoolConnection> OpenSqlitePool(const std::string& path, bool create, int busyTimeoutMs,
                                                std::string& reason);

}  // namespace tolvane
