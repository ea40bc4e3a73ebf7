#!/usr/bin/env bash
# Tab completion offers the built program's commands, each command's options, the choices
# of an option's value, and file names where a file goes.
#
# completion_test.sh COMPLETION_SCRIPT TESSAVOX_BATCH
set -uo pipefail
source "$1"
program=$(realpath "$2")
cd "$(mktemp -d)"
trap 'rm -rf "$PWD"' EXIT
touch "men vowels.txt" men.csv

failures=0
# expect "WORDS..." "EXPECTED..." [exact]: completes the last word of WORDS, which may be
# empty; every EXPECTED word must be offered, and with "exact" nothing else.
expect()
{
    read -r -a COMP_WORDS <<<"$1"
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_WORDS[0]=$program
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tessavox_batch
    local got=" ${COMPREPLY[*]} " word
    for word in $2; do
        [[ $got == *" $word "* ]] || { echo "\"$1\": $word missing from [$got]"; failures=1; }
    done
    if [[ ${3-} == exact && ${#COMPREPLY[@]} -ne $(wc -w <<<"$2") ]]; then
        echo "\"$1\": expected only [$2], got [$got]"
        failures=1
    fi
}

expect "tessavox-batch " "bitmap chart print records"
expect "tessavox-batch ch" "chart" exact
expect "tessavox-batch --" "--help --version" exact
expect "tessavox-batch chart men.csv --" "--plot --size --no-ellipse --label"
expect "tessavox-batch bitmap men.csv --" "--dpmm"
expect "tessavox-batch chart men.csv --plot " "f1f2 f1f3" exact
expect "tessavox-batch print men.csv --page l" "letter" exact
expect "tessavox-batch chart men.csv --plot f1f2 -o men." "men.csv" exact
expect "tessavox-batch records men." "men.csv" exact
# A flag takes no value: what follows it is completed as usual.
expect "tessavox-batch chart men.csv --no-ellipse --pl" "--plot" exact
# Placeholders such as S or KIND are filled from the lists of choices.
expect "tessavox-batch chart men.csv --scale " "bark bark-traunmuller bark-schroeder erb mel hz" exact
expect "tessavox-batch stats men.csv --ellipse c" "coverage95" exact
expect "tessavox-batch normalize men.csv --method watt" \
    "watt-fabricius watt-fabricius-modified" exact
# File names with blanks stay one word.
COMP_WORDS=("$program" records "men ")
COMP_CWORD=2
_tessavox_batch
[[ ${COMPREPLY[*]} == "men vowels.txt" ]] || { echo "blank in name: [${COMPREPLY[*]}]"; failures=1; }
exit $failures
