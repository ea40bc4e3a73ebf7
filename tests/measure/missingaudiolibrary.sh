#!/bin/sh
# Measuring where libsndfile or libsoxr cannot be loaded: each recording is skipped with a
# message naming the library and what to install, and the tool ends with status 1. The
# library is hidden by mounting an empty file over it in a private mount namespace; where
# the system allows none, the test is skipped (status 77).
#
# missingaudiolibrary.sh TESSAVOX_BATCH RECORDING SCRATCH

batch=$1
recording=$2
scratch=$3
unshare -rm true 2>/dev/null || exit 77
mkdir -p "$scratch" || exit 1
PATH=$PATH:/sbin:/usr/sbin
status=0
for entry in libsndfile.so.1:libsndfile1 libsoxr.so.0:libsoxr0; do
    soname=${entry%%:*}
    package=${entry#*:}
    path=$(ldconfig -p | awk -v name="$soname" '$1 == name && /x86-64/ { print $NF; exit }')
    [ -n "$path" ] || path=$(ldconfig -p | awk -v name="$soname" '$1 == name { print $NF; exit }')
    [ -n "$path" ] || { echo "$soname is not installed"; exit 1; }
    out=$(unshare -rm sh -c 'mount --bind /dev/null "$1" && "$2" measure "$3" -o "$4"' \
        sh "$path" "$batch" "$recording" "$scratch/table.tsv" 2>&1)
    code=$?
    case $out in
    *"cannot load $soname: "*"; install $package"*"1 of 1 file(s) skipped"*) ;;
    *) echo "without $soname, no message naming it:"; echo "$out"; status=1 ;;
    esac
    [ $code -eq 1 ] || { echo "without $soname, status $code instead of 1"; status=1; }
done
exit $status
