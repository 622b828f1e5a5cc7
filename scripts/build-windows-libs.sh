#!/usr/bin/env bash
# Cross-builds the IMEI pool's database clients for 64-bit Windows from Debian's own source
# packages, since Debian ships no mingw build of them: a static SQLite (sqlite3) and a static libpq
# without OpenSSL (postgresql-15). Usage: scripts/build-windows-libs.sh [PREFIX]
# PREFIX (default build/windows-deps) gets include/ and lib/; a library whose stamp there names the
# current source version is not built again.
set -euo pipefail
shopt -s inherit_errexit
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$(realpath -m "${1:-$root/build/windows-deps}")
work=$root/build/windows-libs
jobs=$(nproc)
host=x86_64-w64-mingw32
cc=$host-gcc-posix
# The machine is shared: heavy steps queue behind one another's. Their output goes to a log that
# is shown when a step fails.
log=$work/build.log
heavy() {
  flock /tmp/tolvane-build.lock "$@" >>"$log" 2>&1 || { tail -40 "$log" >&2; echo "failed: $*; see $log" >&2; exit 1; }
}
# Part of every stamp: raised when the way a library is put together here changes.
recipe=2

sqlite_cflags="-O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION"
pq_options=("--host=$host" --without-openssl --without-readline --without-zlib --without-icu
            --without-gssapi --without-ldap --without-pam --without-libxml --without-llvm)

# apt with a configuration of its own (deb-src for the mirror the system already uses), so the
# system's sources, lists and cache stay as they are.
apt_dir=$work/apt
apt_options=(-o Dir::Etc::sourcelist="$apt_dir/sources.list" -o Dir::Etc::sourceparts=-
             -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache"
             -o APT::Sandbox::User=root)

write_sources() {
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  {
    # deb822 stanzas of Types: deb become one deb-src line per URI and suite.
    [ -f /etc/apt/sources.list.d/debian.sources ] && awk '
      function flush(   n, m, i, j, u, s) {
        if (types ~ /(^| )deb( |$)/) {
          n = split(uris, u, /[ \t]+/); m = split(suites, s, /[ \t]+/)
          for (i = 1; i <= n; i++) for (j = 1; j <= m; j++)
            print "deb-src" (signed != "" ? " [signed-by=" signed "]" : "") " " u[i] " " s[j] " " comps
        }
        types = uris = suites = comps = signed = ""
      }
      /^[ \t]*$/ { flush(); next }
      /^#/ { next }
      /^Types:/ { sub(/^Types:[ \t]*/, ""); types = $0 }
      /^URIs:/ { sub(/^URIs:[ \t]*/, ""); uris = $0 }
      /^Suites:/ { sub(/^Suites:[ \t]*/, ""); suites = $0 }
      /^Components:/ { sub(/^Components:[ \t]*/, ""); comps = $0 }
      /^Signed-By:/ { sub(/^Signed-By:[ \t]*/, ""); signed = $0 }
      END { flush() }
    ' /etc/apt/sources.list.d/debian.sources
    [ -f /etc/apt/sources.list ] && sed -n 's/^[ \t]*deb[ \t]\+/deb-src /p' /etc/apt/sources.list
    true
  } >"$apt_dir/sources.list"
  grep -q . "$apt_dir/sources.list" || { echo "no Debian mirror found in /etc/apt" >&2; exit 1; }
}

# The lists are refreshed at most once a day, so a rerun within it needs no network.
update_lists() {
  [ -n "$(find "$apt_dir/updated" -mmin -1440 2>/dev/null)" ] && [ "${1:-}" != force ] && return
  write_sources
  apt-get -qq "${apt_options[@]}" update
  rm -rf "$apt_dir/unavailable"
  touch "$apt_dir/updated"
}

# The source versions in the lists, newest first.
source_versions() {
  apt-cache "${apt_options[@]}" showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -u -V -r
}

# Unpacks the source package into $work/src/<package>-<version>. The mirror may list a version it
# no longer (or not yet) serves; that is remembered until the lists are next refreshed.
fetch_source() {
  local package=$1 version=$2 dir=$work/src/$1-$2 missing=$apt_dir/unavailable/$1_$2
  [ -f "$dir/.unpacked" ] && return 0
  [ -f "$missing" ] && return 1
  rm -rf "$dir" "$work/download/$package"
  mkdir -p "$work/download/$package" "$work/src" "$apt_dir/unavailable"
  if ! (cd "$work/download/$package" &&
    apt-get -qq "${apt_options[@]}" source --download-only "$package=$version" >"$work/download/$package.log" 2>&1); then
    # Only a file the mirror says it does not have means an older version is worth a try.
    grep -q ' 404 ' "$work/download/$package.log" || { cat "$work/download/$package.log" >&2; exit 1; }
    echo "$package $version: listed but not served by the mirror, trying an older one"
    touch "$missing"
    return 1
  fi
  # apt checked the files against the signed lists; dpkg-source's own signature check wants a
  # keyring that is not installed, so its warning goes to the log.
  (cd "$work/download/$package" && dpkg-source -x ./*.dsc "$dir" >"$work/download/$package.log" 2>&1) ||
    { cat "$work/download/$package.log" >&2; exit 1; }
  touch "$dir/.unpacked"
}

# Runs build_<what> for the newest version of the package that is already built or can be fetched.
build_newest() {
  local what=$1 lib=$2 package=$3 options=$4 version versions
  versions=$(source_versions "$package")
  [ -n "$versions" ] || { update_lists force; versions=$(source_versions "$package"); }
  for version in $versions; do
    if stamp_ok "$lib" "$what" "$package $version recipe $recipe $options"; then
      echo "$what: $package $version already in $prefix"
      return
    fi
    if fetch_source "$package" "$version"; then
      echo "$what: building from $package $version"
      "build_$what" "$work/src/$package-$version" "$work/build/$package-$version"
      write_stamp "$what" "$package $version recipe $recipe $options"
      return
    fi
  done
  echo "$what: no version of $package could be fetched" >&2
  exit 1
}

# A stamp holds the source version and the options it was built with; either changing rebuilds.
stamp_ok() { [ -f "$prefix/lib/$1" ] && [ "$(cat "$prefix/share/stamps/$2" 2>/dev/null)" = "$3" ]; }
write_stamp() { mkdir -p "$prefix/share/stamps" && echo "$2" >"$prefix/share/stamps/$1"; }

build_sqlite() {
  local src=$1 build=$2
  rm -rf "$build" && mkdir -p "$build"
  # The amalgamation is generated by native tools (lemon, tclsh), so this configure is for the build
  # machine; only sqlite3.c itself is cross-compiled.
  (cd "$build" && heavy "$src/configure" && heavy make -j "$jobs" sqlite3.c)
  # shellcheck disable=SC2086 # the flags are words
  heavy $cc $sqlite_cflags -c "$build/sqlite3.c" -o "$build/sqlite3.o"
  mkdir -p "$prefix/lib" "$prefix/include"
  rm -f "$prefix/lib/libsqlite3.a"
  $host-ar rcs "$prefix/lib/libsqlite3.a" "$build/sqlite3.o"
  cp "$build/sqlite3.h" "$src/src/sqlite3ext.h" "$prefix/include/"
}

build_libpq() {
  local src=$1 build=$2
  rm -rf "$build" && mkdir -p "$build"
  (cd "$build" && heavy "$src/configure" "${pq_options[@]}" CC="$cc" AR="$host-ar" CFLAGS="-O2")
  # Only the thread-safe builds of libpgcommon and libpgport that libpq links, and libpq's objects
  # (its own list, OBJS) without its DLL: that would want the two other builds of each as well.
  local libpq=$build/src/interfaces/libpq objs
  heavy make -j "$jobs" -C "$build/src/include"
  heavy make -j "$jobs" -C "$build/src/common" libpgcommon_shlib.a
  heavy make -j "$jobs" -C "$build/src/port" libpgport_shlib.a
  # shellcheck disable=SC2016 # $(OBJS) is make's
  objs=$(make -s --no-print-directory -C "$libpq" --eval 'tolvane-objs: ; @echo $(OBJS)' tolvane-objs)
  # shellcheck disable=SC2086 # a list of file names
  (cd "$libpq" && heavy make -j "$jobs" $objs)
  # On Windows libpq's makefile makes only a DLL and its import library; a static libpq.a is its
  # objects (less the DLL's version resource) plus the parts of libpgcommon and libpgport built for
  # it, as the DLL links them.
  local objects=$build/static-libpq object
  rm -rf "$objects" && mkdir -p "$objects/pq" "$objects/common" "$objects/port" "$prefix/lib" "$prefix/include"
  (cd "$objects/common" && $host-ar x "$build/src/common/libpgcommon_shlib.a")
  (cd "$objects/port" && $host-ar x "$build/src/port/libpgport_shlib.a")
  # libpq brings its own pthread_mutex_lock and the like for Windows; in one static program with
  # winpthreads (std::thread) they would clash, so libpq's take names of their own.
  $host-nm --defined-only "$libpq/pthread-win32.o" | awk '$2 == "T" { print $3, "pq_" $3 }' >"$objects/renames"
  for object in $objs; do
    [ "$object" = win32ver.o ] && continue
    $host-objcopy --redefine-syms="$objects/renames" "$libpq/$object" "$objects/pq/$object"
  done
  rm -f "$prefix/lib/libpq.a"
  $host-ar rcs "$prefix/lib/libpq.a" "$objects"/pq/*.o "$objects"/common/*.o "$objects"/port/*.o
  cp "$src/src/interfaces/libpq/libpq-fe.h" "$src/src/include/postgres_ext.h" \
    "$build/src/include/pg_config_ext.h" "$prefix/include/"
}

mkdir -p "$work" && : >"$log"
update_lists
build_newest sqlite libsqlite3.a sqlite3 "$sqlite_cflags"
build_newest libpq libpq.a postgresql-15 "${pq_options[*]}"
ls -l "$prefix/lib"
