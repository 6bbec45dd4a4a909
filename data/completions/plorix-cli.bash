# bash completion for plorix-cli

_plorix_cli_tables="Categories Clipboard Configuration Contact ContactCategories Holidays Link Messages Schedule Scripting Todo WindowLookup"
_plorix_cli_commands="tables list add set delete settings fields log check keycodes run-script forecast simulate export import sync export-ics import-ics migrate"

_plorix_cli_fields() {
    plorix-cli fields "$1" 2>/dev/null | cut -f1
}

_plorix_cli_keys() {
    plorix-cli fields "$1" 2>/dev/null | cut -f4 | tr ',' '\n' | sort -u | sed '/^$/d'
}

# The values a field allows, one a line, from the last column of `fields`.
_plorix_cli_values() {
    plorix-cli fields "$1" 2>/dev/null |
        awk -F'\t' -v f="$2" 'toupper($1) == toupper(f) { print $5 }' |
        sed 's/^for [^:]*: //; s/; for [^:]*: /|/g' | tr '|' '\n' | sed '/^(blank)$/d; /\.\./d; /^$/d'
}

_plorix_cli() {
    local cur prev words cword
    _init_completion -n = || return
    local i command="" table="" first=0
    for ((i = 1; i < cword; i++)); do
        case "${words[i]}" in
            -d|--database) ((i++)) ;;
            -*) ;;
            *) if [[ -z $command ]]; then command=${words[i]}; first=$i
               elif [[ -z $table ]]; then table=${words[i]}; fi ;;
        esac
    done
    if [[ $prev == -d ]]; then
        _filedir -d
        return
    fi
    if [[ $prev == --database || $prev == --to || $prev == --from ]]; then
        COMPREPLY=($(compgen -W "postgresql://" -- "$cur"))
        compopt -o nospace 2>/dev/null
        return
    fi
    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$_plorix_cli_commands -d --database --help --version" -- "$cur"))
        return
    fi
    case $command in
        list|add|set|delete|fields)
            if [[ -z $table ]]; then
                COMPREPLY=($(compgen -W "$_plorix_cli_tables" -- "$cur"))
            elif [[ $prev == --key ]]; then
                COMPREPLY=($(compgen -W "$(_plorix_cli_keys "$table")" -- "$cur"))
            elif [[ $command == list ]]; then
                COMPREPLY=($(compgen -W "--key --positions --json" -- "$cur"))
            elif [[ ($command == add || $command == set) && $cur == *=* ]]; then
                local field=${cur%%=*} value=${cur#*=} choice
                local IFS=$'\n'
                COMPREPLY=()
                for choice in $(compgen -W "$(_plorix_cli_values "$table" "$field")" -- "$value"); do
                    COMPREPLY+=("$field=$(printf '%q' "$choice")")
                done
            elif [[ $command == add || $command == set ]]; then
                compopt -o nospace 2>/dev/null
                COMPREPLY=($(compgen -S = -W "$(_plorix_cli_fields "$table")" -- "$cur"))
            fi ;;
        export|import)
            if [[ -z $table ]]; then
                COMPREPLY=($(compgen -W "Schedule Todo Contact" -- "$cur"))
            else
                _filedir csv
            fi ;;
        sync)
            if [[ -z $table ]]; then
                COMPREPLY=($(compgen -W "send receive" -- "$cur"))
            else
                _filedir
            fi ;;
        export-ics|import-ics) _filedir ics ;;
        run-script) _filedir pxs ;;
        keycodes) _filedir ;;
        tables) COMPREPLY=($(compgen -W "--json" -- "$cur")) ;;
        settings)
            if [[ $cword -eq $((first + 1)) ]]; then
                COMPREPLY=($(compgen -W "$(plorix-cli settings 2>/dev/null | cut -d= -f1)" -- "$cur"))
            fi ;;
        forecast) COMPREPLY=($(compgen -W "--from --count --id --json" -- "$cur")) ;;
        simulate) COMPREPLY=($(compgen -W "--from --to --answer --in-place --json" -- "$cur")) ;;
        migrate) [[ $cword -eq $((first + 1)) ]] && COMPREPLY=($(compgen -W "--to --from" -- "$cur")) ;;
    esac
}
complete -F _plorix_cli plorix-cli
