#!/usr/bin/env bash
# Sets up the machine, builds, and runs the main job on the bundled examples.
#   bash scripts/run-examples.sh                  builds build/release and runs there
#   bash scripts/run-examples.sh --build DIR      runs on a build made already (CI: build/asan)
# Nothing outside the clone is read: the example settings are named here for
# every step, whatever the user's own settings folder holds.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=""
case "${1:-}" in
  --build) build=$(cd "${2:?run-examples.sh: --build needs a folder}" && pwd) ;;
  "") ;;
  *) echo "run-examples.sh: unknown argument '$1' (--build DIR)" >&2; exit 2 ;;
esac
if [ -z "$build" ]; then
  bash "$top/scripts/setup.sh"
  bash "$top/scripts/build.sh" release
  build="$top/build/release"
fi
bin="$build/bin"
zrhost="$build/zrhost/zrhost"
out="$top/build/examples"
mkdir -p "$out"

# The example settings (zrhost.ini naming the example catalogue) for every
# step: the programs know only where an installation keeps them.
export ZR_SETTINGS_DIR="$top/examples/catalogue"

echo "== The example catalogue, built from its SQL script"
bash "$top/examples/catalogue/build-sqlite.sh"
echo
echo "== The example drawing, as the object model reads it"
"$bin/zrdxf" info "$top/examples/drawing.dxf"
echo
echo "== The pin check of the example drawing against the example catalogue"
# Exit status 1 means the check found problems, which this drawing shows on purpose.
"$bin/zrcheck" --catalogue "$top/examples/catalogue/catalogo.db" "$top/examples/drawing.dxf" || [ $? -eq 1 ]
echo
echo "== The connector dictionary and listing through the host (zrhost and the module)"
"$zrhost" --load "$top/examples/suite.scm" --script "$top/examples/show-connectors.scm" \
  "$top/examples/drawing.dxf" </dev/null
echo
echo "== A new connector's name asked in its dialog, answered by actions queued in the script"
"$zrhost" --load "$top/examples/suite.scm" --script "$top/examples/new-connector.scm" \
  "$top/examples/drawing.dxf" </dev/null
echo
echo "== The connectors screen on a copy of the example drawing: a connector renamed to its proposal,"
echo "   a pin's identifier edited, apply, close, save ($out/connectors-screen.dxf)"
cp "$top/examples/drawing.dxf" "$out/connectors-screen.dxf"
ZR_SCREEN_SNAPSHOT="$out/connectors-screen.txt" "$zrhost" --load "$top/examples/suite.scm" \
  --script "$top/examples/connectors-screen.scm" "$out/connectors-screen.dxf" </dev/null
cat "$out/connectors-screen.txt"
"$bin/zrdxf" audit "$out/connectors-screen.dxf"
echo
echo "== Read into the model and written back to $out/drawing.dxf"
"$bin/zrdxf" roundtrip "$top/examples/drawing.dxf" "$out/drawing.dxf"
"$bin/zrdxf" info "$out/drawing.dxf" --json
echo
echo "== The written drawing audited (dangling owners, unregistered applications, handles)"
"$bin/zrdxf" audit "$out/drawing.dxf"
