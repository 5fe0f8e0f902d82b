#!/bin/sh
# Grading from the command line with the built simulator, as a teacher runs it: the
# lines, the CSV rows and the exit codes of `procesor --check` and `--verify` for the
# ten tasks of examples/ulohy and their right and wrong solutions, and bad files.
# No display: DISPLAY and WAYLAND_DISPLAY are unset and Qt is given no platform.
#     grading.sh BUILD_DIR SOURCE_DIR
set -u
build=$1
source=$2
procesor=$build/procesor
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=none
failures=0

# expect NAME STATUS STDOUT STDERR -- ARGS...: runs procesor in examples/ulohy.
expect() {
    name=$1 status=$2 out=$3 err=$4
    shift 5
    (cd "$source/examples/ulohy" && "$procesor" "$@") >"$work/out" 2>"$work/err"
    got=$?
    printf '%s' "$out" >"$work/want_out"
    printf '%s' "$err" >"$work/want_err"
    if [ "$got" != "$status" ] || ! cmp -s "$work/out" "$work/want_out" ||
        ! cmp -s "$work/err" "$work/want_err"; then
        failures=$((failures + 1))
        echo "FAIL $name: exit $got (expected $status)"
        echo "--- stdout:"; cat "$work/out"; echo "--- expected:"; cat "$work/want_out"
        echo "--- stderr:"; cat "$work/err"; echo "--- expected:"; cat "$work/want_err"
    fi
}

s=../../tests/examples/ulohy
nl='
'
# Every task passes its right solution and fails its wrong one, with the first failed check.
for task in "$source"/examples/ulohy/[0-9][0-9]-*.txt; do
    n=$(basename "$task" | cut -c1-2)
    expect "task $n right" 0 "$s/$n-spravne.txt: splněno$nl" "" -- --check "$(basename "$task")" "$s/$n-spravne.txt"
done
expect "wrong solutions" 1 \
"$s/03-spravne.txt: splněno
$s/03-chybne.txt: nesplněno – A je 5, očekáváno 10
$s/09-chybne.txt: nesplněno – po 9. taktu A je 1, očekáváno 5
" "" -- --check 03-pet-a-pet.txt $s/03-spravne.txt $s/03-chybne.txt $s/09-chybne.txt

expect "csv" 1 \
"soubor,splněno,taktů,první chyba
$s/03-spravne.txt,ano,34,
$s/03-chybne.txt,ne,25,\"A je 5, očekáváno 10\"
" "" -- --check --csv 03-pet-a-pet.txt $s/03-spravne.txt $s/03-chybne.txt

# A never-halting program is run to the task's limit.
expect "limit" 1 "$s/09-spravne.txt: nesplněno – program se nezastavil ani po 200 taktech$nl" "" \
    -- --check 05-trojnasobek.txt $s/09-spravne.txt

# A bad or missing program file: its message on stderr, the others still graded, exit 2.
printf '0001 0102\n' >"$work/bad.txt"
expect "bad program" 2 "$s/01-spravne.txt: splněno$nl" \
"$work/bad.txt: Program nebyl načten: 2. slovo „0102“ na 1. řádku, 6. pozici není zapsáno čtyřmi číslicemi 0 nebo 1 (slovo se píše například 0101).
$work/missing.txt: Program nebyl načten: soubor nelze přečíst.
" -- --check 01-petka-do-a.txt "$work/bad.txt" $s/01-spravne.txt "$work/missing.txt"
expect "bad program csv" 2 "soubor,splněno,taktů,první chyba
$work/missing.txt,chyba,,Program nebyl načten: soubor nelze přečíst.
" "$work/missing.txt: Program nebyl načten: soubor nelze přečíst.
" -- --csv --check 01-petka-do-a.txt "$work/missing.txt"

# A bad task file: nothing graded.
printf 'název: x\nočekávám: Q = 1\n' >"$work/task.txt"
expect "bad task" 2 "" \
"$work/task.txt: Úloha nebyla načtena: na 2. řádku, 11. pozici je „Q“, ale kontrolovat lze jen A, B, PČ (nebo PC), IR, součet, sběrnice a RAM[n].
" -- --check "$work/task.txt" $s/01-spravne.txt
expect "missing task" 2 "" "nic.txt: Úloha nebyla načtena: soubor nelze přečíst.
" -- --check nic.txt $s/01-spravne.txt
usage="Použití: procesor --check [--csv] ÚLOHA PROGRAM…
        procesor --verify ÚLOHA KÓD
"
expect "no program" 2 "" "$usage" -- --check 01-petka-do-a.txt
expect "verify without code" 2 "" "$usage" -- --verify 03-pet-a-pet.txt

# Result codes: a passing one with its program, a failing one, one of another task,
# a changed character, a wrong length.
expect "verify" 0 "4nhd-7mty dzhw-h27q: splněno
program: 0001 0101 1011 0101 1110
" "" -- --verify 03-pet-a-pet.txt "4nhd-7mty dzhw-h27q"
expect "verify failing" 1 "4NN3PURNB2ED3XA9: nesplněno – A je 5, očekáváno 10
program: 0001 0101 1011 1110
" "" -- --verify 03-pet-a-pet.txt 4NN3PURNB2ED3XA9
expect "verify other task" 1 "4NHD7MTYDZHWH27Q: neplatný – Kód řešení nepatří k této úloze, nebo je v něm překlep.
" "" -- --verify 05-trojnasobek.txt 4NHD7MTYDZHWH27Q
expect "verify changed" 1 "4NHD7MTYDZHWH28Q: neplatný – Kód řešení nepatří k této úloze, nebo je v něm překlep.
" "" -- --verify 03-pet-a-pet.txt 4NHD7MTYDZHWH28Q
expect "verify short" 2 "" "Kód řešení má 16 znaků, tento jich má 15.
" -- --verify 03-pet-a-pet.txt 4NHD7MTYDZHWH27
expect "verify letter I" 2 "" "Kód řešení obsahuje na 5. pozici znak „I“, který v kódu být nemůže (kód tvoří číslice 2 až 9 a písmena kromě I, L a O).
" -- --verify 03-pet-a-pet.txt 4NHDI7MTYDZHWH27

if [ "$failures" -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "grading: all passed"
