#!/bin/sh
# The core's folders include one way only, and never a toolkit: res <- link <- ui <- settings,
# radios <- dialog <- engine <- bench <- pool (the pool implements the bench's interface); shell sits
# beside ui on top of link, and posix (the POSIX services of link and engine) on top of engine. Prints each include that breaks
# this and exits 1; used as a test.
cd "$(dirname "$0")/../src" || exit 2
allowed() {
  case $1 in
    res) echo "res" ;;
    link) echo "res link" ;;
    ui) echo "res link ui" ;;
    settings) echo "res link ui settings" ;;
    radios) echo "res link ui radios" ;;
    dialog) echo "res link ui settings radios dialog" ;;
    engine) echo "res link ui settings radios dialog engine" ;;
    pool) echo "res link ui settings radios dialog engine bench pool" ;;
    bench) echo "res link ui settings radios dialog engine bench" ;;
    shell) echo "res link shell" ;;
    posix) echo "res link engine posix" ;;
  esac
}
status=0
for folder in res link ui settings radios dialog engine pool bench shell posix; do
  [ -d "$folder" ] || continue
  ok=$(allowed "$folder")
  # Quoted includes name a folder of src/; angle includes must not be a toolkit's.
  for file in "$folder"/*; do
    grep -n '^#include "[a-z0-9]*/' "$file" | while IFS= read -r line; do
      target=$(echo "$line" | sed 's/.*#include "\([a-z0-9]*\)\/.*/\1/')
      case " $ok " in *" $target "*) ;; *) echo "$file:$line (may include: $ok)" ;; esac
    done
    grep -nE '^#include <(Q[A-Za-z]*|windows\.h|winsock2?\.h)>' "$file" | sed "s|^|$file: toolkit header: |"
  done
done | grep . && status=1
exit $status
