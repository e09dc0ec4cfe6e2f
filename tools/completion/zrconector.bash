# Bash completion for zrcheck, zrdxf and zrhost. The options are read from the
# program's own --help, so that the completion never lists options the
# program does not have (nor misses new ones).
_zrconector_complete() {
  local cur prev words cword
  _init_completion 2>/dev/null || {
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
  }
  local program=${COMP_WORDS[0]}
  local help
  # zrdxf's subcommands have options of their own.
  if [[ ${program##*/} == zrdxf && ${COMP_CWORD} -gt 1 ]]; then
    help=$("$program" "${COMP_WORDS[1]}" --help 2>/dev/null)
  else
    help=$("$program" --help 2>/dev/null)
  fi
  case $prev in
    -s|--settings) COMPREPLY=($(compgen -d -- "$cur")); return ;;
    -c|--catalogue|-o|--output|--module|--svg|--html) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --waivers|--baseline) COMPREPLY=($(compgen -f -X '!*.json' -- "$cur") $(compgen -d -- "$cur")); return ;;
    --format) COMPREPLY=($(compgen -W "text json sarif junit" -- "$cur")); return ;;
    --severity)
      local rule rules=""
      for rule in pin.missing pin.unknown pin.invalid-mate pin.self-mate connector.unchecked; do
        rules+=" $rule=error $rule=warning $rule=ignore"
      done
      COMPREPLY=($(compgen -W "$rules" -- "$cur")); return ;;
    --load|--script) COMPREPLY=($(compgen -f -X '!*.scm' -- "$cur")); return ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$(grep -oE -- '(^|[ ,])--?[A-Za-z][A-Za-z-]*' <<<"$help" | tr -d ' ,' | sort -u)" -- "$cur"))
  elif [[ ${program##*/} == zrdxf && ${COMP_CWORD} -eq 1 ]]; then
    COMPREPLY=($(compgen -W "info audit roundtrip" -- "$cur"))
  else
    COMPREPLY=($(compgen -f -X '!*.[dD][xX][fF]' -- "$cur") $(compgen -d -- "$cur"))
  fi
}
complete -F _zrconector_complete zrcheck zrdxf zrhost
