#!/bin/sh
# The layering of the source tree, checked from the include lines:
# - the core includes only the core and the standard library (and no toolkit header);
# - outside the main window's folder, windows include of ui/app only the host interface;
# - no two units of the window layer (a header with its source file) include each other, directly
#   or through others.
# Usage: check_includes.sh SRC_DIR
set -eu
src=${1:?source directory}
cd "$src"
fail=0

# The core: only core headers in quotes, only standard or named system headers in angle brackets.
bad=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' core | grep -vE '"core/' || true)
if [ -n "$bad" ]; then echo "core includes something outside the core:"; echo "$bad"; fail=1; fi
bad=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(Q|q)' core || true)
if [ -n "$bad" ]; then echo "core includes a toolkit header:"; echo "$bad"; fail=1; fi

# Windows outside ui/app see the main window only through its host interface.
bad=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"ui/app/' ui --include='*.h' --include='*.cpp' \
      | grep -v '^ui/app/' | grep -v '"ui/app/MainHost.h"' || true)
if [ -n "$bad" ]; then echo "a window outside ui/app includes more of it than the host interface:"; echo "$bad"; fail=1; fi

# Include circles between units of the window layer: tsort reports a loop in the unit graph.
edges=$(grep -rHoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"ui/[^"]+"' ui --include='*.h' --include='*.cpp' \
        | sed -E 's/^([^:]+)\.(h|cpp):.*"(ui\/[^"]+)\.h"$/\1 \3/' | awk '$1 != $2')
if ! out=$(printf '%s\n' "$edges" | tsort 2>&1 >/dev/null) || [ -n "$out" ]; then
  echo "include circle in the window layer:"; printf '%s\n' "$out"; fail=1
fi
exit $fail
