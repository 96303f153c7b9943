#!/usr/bin/env bash
# Installs the Debian packages listed in tools/packages.txt (or in the list files given
# as arguments) that are missing.
# Idempotent: with everything present it only asks dpkg and returns.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -gt 0 ] || set -- "$here/packages.txt"
mapfile -t wanted < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$@" | grep -v '^$')

missing=()
while read -r name status; do
    [ "$status" = "installed" ] || missing+=("$name")
done < <(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${wanted[@]}" 2>/dev/null || true)
# dpkg-query prints nothing for packages it has never heard of
for p in "${wanted[@]}"; do
    dpkg-query -W -f='${db:Status-Status}' "$p" >/dev/null 2>&1 || missing+=("$p")
done

[ ${#missing[@]} -eq 0 ] && exit 0
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
