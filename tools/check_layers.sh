#!/usr/bin/env bash
# Checks that every include runs down the layers, never up:
#   world  <  dynamics, collision, contacts, lighting (the core)
#          <  session  <  platform, render  <  shell
# world/ includes only world/; the core includes only the core; session only
# the core and itself; platform only world/ and itself (it knows no scene);
# render the core, session, platform and itself; and only platform/ names an
# SDL header. Prints each include that breaks the rule and exits 1 if any does.
set -uo pipefail
cd "$(dirname "$0")/.."

allowed() {
    case "$1" in
        world) echo "world" ;;
        dynamics | collision | contacts | lighting) echo "world dynamics collision contacts lighting" ;;
        session) echo "world dynamics collision contacts lighting session" ;;
        platform) echo "world platform" ;;
        render) echo "world dynamics collision contacts lighting session platform render" ;;
    esac
}

status=0
for folder in world dynamics collision contacts lighting session platform render; do
    ok=" $(allowed "$folder") "
    for file in "$folder"/*.h "$folder"/*.cpp; do
        [ -e "$file" ] || continue
        while IFS= read -r line; do
            target=$(sed -E 's/^#include *"([a-z_]+)\/.*/\1/' <<<"$line")
            if [[ "$ok" != *" $target "* ]]; then
                echo "$file: $line: $folder may not include $target/"
                status=1
            fi
        done < <(grep -E '^#include *"[a-z_]+/' "$file")
        if [ "$folder" != platform ] && grep -qE '^#include *<SDL' "$file"; then
            echo "$file: includes SDL, which only platform/ may"
            status=1
        fi
    done
done
exit $status
