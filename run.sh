#!/usr/bin/env bash
# Installs what is missing, builds and starts Zendrel. Arguments go to the program.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
exec "${ZENDREL_BUILD_DIR:-$here/build}/bin/zendrel" "$@"
