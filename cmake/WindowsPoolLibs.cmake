# The IMEI pool's database clients for the Windows build: the static SQLite and libpq that
# scripts/build-windows-libs.sh cross-builds into TOLVANE_WINDOWS_DEPS, as the same imported targets
# that find_package(SQLite3) and find_package(PostgreSQL) give the Linux build.
set(TOLVANE_WINDOWS_DEPS "${PROJECT_SOURCE_DIR}/build/windows-deps"
    CACHE PATH "The prefix scripts/build-windows-libs.sh installed SQLite and libpq into")

foreach(lib sqlite3 pq)
  if(NOT EXISTS "${TOLVANE_WINDOWS_DEPS}/lib/lib${lib}.a")
    message(FATAL_ERROR "${TOLVANE_WINDOWS_DEPS}/lib/lib${lib}.a is missing: run scripts/build-windows-libs.sh")
  endif()
endforeach()

if(NOT TARGET SQLite::SQLite3)
  add_library(SQLite::SQLite3 STATIC IMPORTED)
  set_target_properties(SQLite::SQLite3 PROPERTIES
    IMPORTED_LOCATION "${TOLVANE_WINDOWS_DEPS}/lib/libsqlite3.a"
    INTERFACE_INCLUDE_DIRECTORIES "${TOLVANE_WINDOWS_DEPS}/include")
endif()

if(NOT TARGET PostgreSQL::PostgreSQL)
  add_library(PostgreSQL::PostgreSQL STATIC IMPORTED)
  set_target_properties(PostgreSQL::PostgreSQL PROPERTIES
    IMPORTED_LOCATION "${TOLVANE_WINDOWS_DEPS}/lib/libpq.a"
    INTERFACE_INCLUDE_DIRECTORIES "${TOLVANE_WINDOWS_DEPS}/include"
    # Winsock, SSPI (secur32), the user's folder (shell32) and the account name (advapi32).
    INTERFACE_LINK_LIBRARIES "ws2_32;secur32;shell32;advapi32")
endif()
