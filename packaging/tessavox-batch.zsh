#compdef tessavox-batch
# Tab completion for tessavox-batch in zsh, read from the program's own --help as the bash
# completion is; the values of options that name a choice are listed below.

local program=${words[1]/#\~/$HOME}
local -a usage
usage=(${(f)"$("$program" --help 2>/dev/null |
    sed -n '/^Commands:/,/^$/{s/^  \([a-z][^ ]*\)/\1/p}')"})

if (( CURRENT == 2 )); then
    if [[ $PREFIX == -* ]]; then
        compadd -- --help --version
    else
        compadd -- ${usage%% *}
    fi
    return
fi

# The command's usage line: each option, followed by its value's placeholder or its
# choices (f1f2|f1f3) when it takes one.
local -a tokens options
tokens=(${=${(M)usage:#${words[2]} *}//[\[\]]/ })
local prev=${words[CURRENT-1]} value="" i
integer takes_value=0
for (( i = 1; i <= $#tokens; i++ )); do
    [[ $tokens[i] == -* ]] || continue
    options+=($tokens[i])
    if [[ $tokens[i] == $prev && ${tokens[i+1]:--} != [-\|]* ]]; then
        takes_value=1
        value=$tokens[i+1]
    fi
done

if (( takes_value )) || [[ $prev == --(scale|normalize|method|ellipse|format|color-by|facet) ]]; then
    if [[ $value == *OUT* || $value == *FILE* ]]; then
        _files
    elif [[ $value =~ '^[a-z0-9|-]+$' ]]; then
        compadd -- ${(s:|:)value}
    else
        case $prev in
        --scale) compadd -- bark bark-traunmuller bark-schroeder erb mel hz ;;
        --normalize|--method)
            compadd -- lobanov lobanov-balanced nearey1 nearey1-balanced nearey2 \
                nearey2-balanced watt-fabricius watt-fabricius-modified gerstman ;;
        --ellipse) compadd -- sd2-population sd1 sd2 coverage95 data95 mean95 ;;
        --format) compadd -- formant table ;;
        --color-by) compadd -- vowel speaker ;;
        --facet) compadd -- speaker ;;
        esac
    fi
elif [[ $PREFIX == -* ]]; then
    compadd -- $options
else
    _files
fi
