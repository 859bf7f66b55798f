# bash completion for qorv. Dialog, control and value names come from qorv itself
# (qorv --complete), so they always match the installed tool.

_qorv_names() {
    local IFS=$'\n' name
    for name in $(command qorv --complete "$@" 2>/dev/null); do
        printf '%s\n' "$name"
    done
}

# Offers the lines of "$1" (one name a line) that start with the word being completed,
# quoted for the shell.
_qorv_offer() {
    local IFS=$'\n' name
    for name in $1; do
        [[ $name == "$2"* ]] && COMPREPLY+=("$(printf '%q' "$name")")
    done
}

_qorv() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=""
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()

    # The command and the words after it, options left out.
    local -a args=()
    local i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        -o | --output | --mode | --dialog) ((i++)) ;;
        -*) ;;
        *) args+=("${COMP_WORDS[i]}") ;;
        esac
    done
    local cmd=${args[0]-}

    case $prev in
    -o | --output)
        COMPREPLY=($(compgen -f -- "$cur"))
        return
        ;;
    --mode)
        COMPREPLY=($(compgen -W "0 1 2 3 4" -- "$cur"))
        return
        ;;
    --dialog)
        _qorv_offer "$(_qorv_names dialogs)" "$cur"
        return
        ;;
    esac

    if [[ -z $cmd ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "--help --version" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$(_qorv_names commands)" -- "$cur"))
        fi
        return
    fi

    local n=${#args[@]} # words after qorv before the current one
    case $cmd in
    info)
        COMPREPLY=($(compgen -W "--help" -- "$cur"))
        ((n == 1)) && [[ $cur != -* ]] && COMPREPLY=($(compgen -f -X '!*.[nN][eE][sS]' -- "$cur") $(compgen -d -- "$cur"))
        ;;
    dump)
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "--json --dialog --help" -- "$cur"))
        elif ((n == 1)); then
            COMPREPLY=($(compgen -f -X '!*.[nN][eE][sS]' -- "$cur") $(compgen -d -- "$cur"))
        fi
        ;;
    get)
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "--help" -- "$cur"))
        elif ((n == 1)); then
            COMPREPLY=($(compgen -f -X '!*.[nN][eE][sS]' -- "$cur") $(compgen -d -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$(_qorv_names controls)" -- "$cur"))
        fi
        ;;
    set)
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "-o --output --help" -- "$cur"))
        elif ((n == 1)); then
            COMPREPLY=($(compgen -f -X '!*.[nN][eE][sS]' -- "$cur") $(compgen -d -- "$cur"))
        elif [[ $cur == *=* ]]; then
            # After CONTROL=, the values a check or choice item accepts.
            local control=${cur%%=*} value=${cur#*=} name
            local IFS=$'\n'
            for name in $(_qorv_names values "$control"); do
                [[ $name == "$value"* ]] && COMPREPLY+=("$(printf '%q' "$control=$name")")
            done
        else
            local -a names=($(_qorv_names controls))
            COMPREPLY=($(compgen -W "${names[*]/%/=}" -- "$cur"))
            compopt -o nospace 2>/dev/null || true
        fi
        ;;
    ips)
        local sub=${args[1]-}
        if [[ -z $sub ]]; then
            COMPREPLY=($(compgen -W "$(_qorv_names ips)" -- "$cur"))
        elif [[ $cur == -* ]]; then
            case $sub in
            apply) COMPREPLY=($(compgen -W "-o --output --mode --help" -- "$cur")) ;;
            create) COMPREPLY=($(compgen -W "-o --output --help" -- "$cur")) ;;
            *) COMPREPLY=($(compgen -W "--help" -- "$cur")) ;;
            esac
        else
            COMPREPLY=($(compgen -f -- "$cur"))
        fi
        ;;
    esac
}

complete -F _qorv qorv
