# Tab completion for tessavox-batch in bash.
# Commands and options come from the program's own --help, so a new command or option is
# offered without a change here; the values of options that name a choice are listed below.

# Choices the usage lines name only by a placeholder (S, M, KIND, COL).
_tessavox_batch_choices()
{
    case $1 in
    --plot) echo "f1f2 f1f3" ;;
    --page) echo "a4 letter" ;;
    --format) echo "formant table" ;;
    --scale) echo "bark bark-traunmuller bark-schroeder erb mel hz" ;;
    --normalize | --method)
        echo "lobanov lobanov-balanced nearey1 nearey1-balanced nearey2 nearey2-balanced" \
            "watt-fabricius watt-fabricius-modified gerstman"
        ;;
    --ellipse) echo "sd2-population sd1 sd2 coverage95 data95 mean95" ;;
    --color-by) echo "vowel speaker" ;;
    --facet) echo "speaker" ;;
    esac
}

# Sets _tessavox_batch_usage to the Commands section of `$1 --help`, one usage a line;
# read once for each program path in a shell session, since starting it takes a moment.
_tessavox_batch_read_help()
{
    local program=${1/#\~/$HOME}
    [[ $program == "${_tessavox_batch_help_of-}" ]] && return
    _tessavox_batch_help_of=$program
    _tessavox_batch_usage=$("$program" --help 2>/dev/null |
        sed -n '/^Commands:/,/^$/{s/^  \([a-z][^ ]*\)\(.*\)$/\1\2/p}')
}

_tessavox_batch()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    _tessavox_batch_read_help "${COMP_WORDS[0]}"

    if ((COMP_CWORD == 1)); then
        if [[ $cur == -* ]]; then
            mapfile -t COMPREPLY < <(compgen -W "--help --version" -- "$cur")
        else
            mapfile -t COMPREPLY < <(compgen -W "$(cut -d' ' -f1 <<<"$_tessavox_batch_usage")" \
                -- "$cur")
        fi
        return
    fi

    # The command's usage line: each option, followed by its value's placeholder or its
    # choices (f1f2|f1f3) when it takes one.
    local -a words options=()
    local i value="" takes_value=0
    read -r -a words <<<"$(awk -v c="${COMP_WORDS[1]}" '$1 == c' <<<"$_tessavox_batch_usage" |
        tr '[]' '  ')"
    for ((i = 0; i < ${#words[@]}; i++)); do
        [[ ${words[i]} == -* ]] || continue
        options+=("${words[i]}")
        if [[ ${words[i]} == "$prev" && ${words[i + 1]-"-"} != [-\|]* ]]; then
            takes_value=1
            value=${words[i + 1]}
        fi
    done

    # Options with a known list of choices are completed even where this build's usage
    # lacks them, so the lists hold for commands still to come.
    if ((takes_value)) || [[ -n $(_tessavox_batch_choices "$prev") ]]; then
        if [[ $value == *OUT* || $value == *FILE* ]]; then
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        elif [[ $value =~ ^[a-z0-9|-]+$ ]]; then
            mapfile -t COMPREPLY < <(compgen -W "${value//|/ }" -- "$cur")
        else
            mapfile -t COMPREPLY < <(compgen -W "$(_tessavox_batch_choices "$prev")" -- "$cur")
        fi
        return
    fi

    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "${options[*]}" -- "$cur")
    else
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}

complete -F _tessavox_batch tessavox-batch
