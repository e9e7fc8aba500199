# bash completion for valmero-cli: its commands, each command's options, the
# values of --index, and file or folder names where an option takes a path.
_valmero_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]} previous=${COMP_WORDS[COMP_CWORD-1]}
  local command=${COMP_WORDS[1]}
  COMPREPLY=()
  if ((COMP_CWORD == 1)); then
    mapfile -t COMPREPLY < <(compgen -W 'make check book inspect --help --version' -- "$cur")
    return
  fi
  case $previous in
    --source) mapfile -t COMPREPLY < <(compgen -f -- "$cur"); return ;;
    --target) mapfile -t COMPREPLY < <(compgen -d -- "$cur"); return ;;
    --out | --book) mapfile -t COMPREPLY < <(compgen -f -- "$cur"); return ;;
    --title | --footer) return ;;
    --paper) mapfile -t COMPREPLY < <(compgen -W 'A4 Letter' -- "$cur"); return ;;
    --font-size) mapfile -t COMPREPLY < <(compgen -W 'small medium large' -- "$cur"); return ;;
    --language) mapfile -t COMPREPLY < <(compgen -W 'en ko ja' -- "$cur"); return ;;
    --encoding) mapfile -t COMPREPLY < <(compgen -W 'CP1252 CP1250 CP1251 CP949 CP936 CP950 SHIFT_JIS UTF-8' -- "$cur"); return ;;
    --index)
      if [[ $command == book ]]; then
        mapfile -t COMPREPLY < <(compgen -W 'renumber keep' -- "$cur")
      else
        mapfile -t COMPREPLY < <(compgen -W 'renumber keep none' -- "$cur")
      fi
      return ;;
  esac
  local run_options='--source --target --subfolder --download --disc --index --list --config-renumber --config-keep --copy-all --verify'
  local book_options='--title --footer --encoding --language --paper --font-size --keep-the'
  case $command in
    make) mapfile -t COMPREPLY < <(compgen -W "$run_options --book $book_options" -- "$cur") ;;
    check) mapfile -t COMPREPLY < <(compgen -W "$run_options --encoding --all --json" -- "$cur") ;;
    book) mapfile -t COMPREPLY < <(compgen -W "--source --download --disc --index --out $book_options" -- "$cur") ;;
    inspect) mapfile -t COMPREPLY < <(compgen -f -- "$cur") ;;
  esac
} && complete -o filenames -F _valmero_cli valmero-cli
