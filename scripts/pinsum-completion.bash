# Bash completion for pinsum: commands, their options, files, and catalogue item names for
# `pinsum help show CATALOGUE ITEM`.

_pinsum_items() {
    # The item lines of `catalogue show` are indented by two spaces: "  NAME: fields".
    LC_ALL=C pinsum catalogue show "$1" 2>/dev/null |
        sed -n 's/^  \([^ ].*\)$/\1/p' | sed 's/: .*$//'
}

_pinsum() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command=${COMP_WORDS[1]-} sub=${COMP_WORDS[2]-}
    local IFS=$'\n'
    if ((COMP_CWORD == 1)); then
        COMPREPLY=($(compgen -W $'solve\nrequest\ncatalogue\nplan\nhelp\nupdate\n--version\n--help' -- "$cur"))
        return
    fi
    if ((COMP_CWORD == 2)); then
        case $command in
        request) COMPREPLY=($(compgen -W $'template\nfrom-signals' -- "$cur")) ;;
        catalogue) COMPREPLY=($(compgen -W $'show\nexport\nimport\nresave' -- "$cur")) ;;
        plan) COMPREPLY=($(compgen -W 'show' -- "$cur")) ;;
        help) COMPREPLY=($(compgen -W $'show\nconvert' -- "$cur")) ;;
        update) COMPREPLY=($(compgen -W $'check\ninstall\nupload' -- "$cur")) ;;
        esac
        [[ $command != solve ]] && return
    fi
    case $prev in
    --format) COMPREPLY=($(compgen -W $'text\njson\ncsv\nxlsx\npdf' -- "$cur")); return ;;
    --solution) COMPREPLY=($(compgen -W 'all' -- "$cur")); return ;;
    --level) COMPREPLY=($(compgen -W $'0\n1\n2\n3\n4\n5\n6' -- "$cur")); return ;;
    --data-dir) COMPREPLY=($(compgen -d -- "$cur")); return ;;
    --catalogue | --request | --save | --output | --map) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    esac
    local options=''
    case "$command $sub" in
    solve*) options=$'--catalogue\n--request\n--level\n--save\n--format\n--output\n--solution\n--help' ;;
    "request template") options=$'--catalogue\n--help' ;;
    "request from-signals") options=$'--sheet\n--type-column\n--map\n--catalogue\n--help' ;;
    "plan show") options=$'--format\n--output\n--solution\n--help' ;;
    "help show") options=$'--plain\n--help' ;;
    "help convert") options=$'--raw\n--help' ;;
    "update check") options=$'--data-dir\n--help' ;;
    "update install") options=$'--data-dir\n--skip-check\n--help' ;;
    *) options='--help' ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    elif [[ "$command $sub" == "help show" ]] && ((COMP_CWORD == 4)); then
        # Names may hold quotes, which compgen -W would take as shell quoting, so they are
        # matched here.
        local item
        COMPREPLY=()
        while IFS= read -r item; do
            [[ $item == "$cur"* ]] && COMPREPLY+=("$item")
        done < <(_pinsum_items "${COMP_WORDS[3]}")
    else
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}

complete -o filenames -F _pinsum pinsum
