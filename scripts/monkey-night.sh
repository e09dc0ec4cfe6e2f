#!/usr/bin/env bash
# A long run of the dialog monkey, for a night: every dialog, both drawings,
# many seeds, under AddressSanitizer and UndefinedBehaviorSanitizer, at low
# priority. A failing seed is shrunk and its shortest sequence kept in the
# work folder (monkey-<dialog>-<drawing>-<seed>.steps); copy it to
# tests/zrconector/monkey/regressions/<dialog>-<what broke>.steps once fixed.
#   scripts/monkey-night.sh [FIRST_SEED] [LAST_SEED] [STEPS_PER_SEED] [WORK_FOLDER]
# Defaults: seeds 1000-1099, 5000 steps each: 1,000,000 steps per dialog.
# Set ZR_MONKEY_RACE=1 to feed input while the selection dialog's worker
# fills its tree (runs then differ with the threads' timing), ZR_MONKEY_TEXT=1
# to lay the dialogs out in character cells as the terminal does.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
first=${1:-1000}
last=${2:-1099}
steps=${3:-5000}
work=${4:-$top/build/asan/monkey-night}
mkdir -p "$work"
bash "$top/scripts/build.sh" asan zrconector_monkey
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
race=()  # extra options
[[ "${ZR_MONKEY_RACE:-0}" == 1 ]] && race+=(--race)
[[ "${ZR_MONKEY_TEXT:-0}" == 1 ]] && race+=(--text)
status=0
for dialog in tela selecao novo grade; do
  nice -n 10 "$top/build/asan/tests/zrconector/monkey/zrconector_monkey" --dialog "$dialog" \
    --seeds "$first-$last" --steps "$steps" --time-limit 1800 --work "$work" "${race[@]}" \
    | tee "$work/$dialog.log" || status=1
done
echo "monkey night: logs and failing sequences in $work"
exit $status
