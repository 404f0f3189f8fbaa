# Sourced by the measurement scripts that run the programs under Wine. Each run takes a program
# as a user gets it: dayvane.exe is the exe the zip ships (the tested build with its debug
# information moved to dayvane.debug), and the baselines are stripped the same way. Wine loads
# an exe's debug sections into memory with the rest of the image, so an exe with debug
# information would count megabytes no user has.

# Copies EXE from BIN into FOLDER as it is shipped.
copy_program() { # BIN EXE FOLDER
    if [ "$2" = dayvane.exe ]; then
        cp "$1/../shipped/dayvane.exe" "$3/"
    else
        x86_64-w64-mingw32-strip --strip-all -o "$3/$2" "$1/$2"
    fi
}

# Fails unless every program and the shipped dayvane.exe are built.
require_programs() { # BIN SCRIPT EXE...
    local bin=$1 script=$2 exe
    shift 2
    for exe in "$@"; do
        [ -f "$bin/$exe" ] || fail "$script: $bin/$exe is missing; build first (make build)"
    done
    [ -f "$bin/../shipped/dayvane.exe" ] || fail "$script: $bin/../shipped/dayvane.exe is missing; build first (make build)"
    command -v x86_64-w64-mingw32-strip >/dev/null || fail "$script: x86_64-w64-mingw32-strip is missing (binutils-mingw-w64-x86-64)"
}

# The display scale that programs started from now on run at: Wine reads it when a process starts.
set_display_scale() { # SESSION STATE PREFIX DPI
    "$1" run "$2" "$3" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$4" /f >/dev/null 2>&1
}
