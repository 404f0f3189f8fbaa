# Sourced by the measurement scripts: each writes its figures to a fragment of the report, which
# bench/report.sh assembles into BUILD/bench/report.md.
#
# A fragment is BUILD/bench/fragments/NAME.tsv, one tab-separated line each:
#   row     FIGURE  DAYVANE  BASELINE  RATIO  TARGET  MET
#   note    a sentence for below the table
#   reason  why the script failed (the report gives the first)
#   end     ok | failed
# A fragment without its end line is of a script that was killed before it could end it.

fragment=""
fragmentSignal=""

# Starts the script's fragment afresh. A command that fails unexpectedly is named as the reason,
# also from inside functions and command substitutions; an interrupt ends the script through
# its exit trap, and fragment_end then ends it by the same signal, so the shell that started it
# stops too instead of going on to the next measurement.
fragment_begin() { # BUILD NAME
    fragment=$1/bench/fragments/$2.tsv
    mkdir -p "${fragment%/*}"
    : >"$fragment"
    set -o errtrace
    trap 'fragment_line reason "${0##*/}, line $LINENO: \"$BASH_COMMAND\" failed"' ERR
    trap 'fragmentSignal=INT; fragment_line reason "interrupted"; exit 130' INT
    trap 'fragmentSignal=TERM; fragment_line reason "terminated"; exit 143' TERM
}

fragment_line() { # KIND FIELD...
    [ -n "$fragment" ] || return 0
    local IFS=$'\t'
    printf '%s\n' "$*" >>"$fragment"
}

fragment_row() { # FIGURE DAYVANE BASELINE RATIO TARGET MET
    fragment_line row "$@"
}

fragment_note() { # TEXT
    fragment_line note "$1"
}

# Says on the console and in the fragment why the script stops, and stops it (or the
# command substitution it runs in, whose failure then stops the script).
fail() { # MESSAGE
    echo "$1" >&2
    fragment_line reason "$1"
    exit 1
}

# For the script's exit trap, with the script's exit status.
fragment_end() { # STATUS
    if [ "$1" -eq 0 ]; then
        fragment_line end ok
    else
        fragment_line end failed
    fi
    if [ -n "$fragmentSignal" ]; then
        trap - "$fragmentSignal" EXIT
        kill -s "$fragmentSignal" $$
    fi
}

# A / B with two decimals and an "x", or "n/a" when B is not above zero.
ratio() { # A B
    awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else printf "n/a" }'
}

# "yes" when A / B is at most LIMIT, "no" otherwise, "n/a" when B is not above zero.
ratio_within() { # A B LIMIT
    awk -v a="$1" -v b="$2" -v l="$3" 'BEGIN { if (b > 0) print (a / b <= l) ? "yes" : "no"; else print "n/a" }'
}
