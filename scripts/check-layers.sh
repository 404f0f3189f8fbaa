#!/usr/bin/env bash
# Checks the layering of src/: core <- framework <- parts <- window <- app. A file may
# include headers of its own folder and of the layers below it; a part (settings,
# appearance, notes, ui) never includes another part's header, and core includes no
# platform header. The framework offers mechanisms only: the parts' policy (the notes
# file's constants and backups, the data files' names, font faces, the program's own name)
# stays out of it. Prints
# each offending line and fails if there is one.
set -euo pipefail

src=${1:-$(dirname "$0")/../src}
cd "$src"

allowed() {
    case $1 in
        core) echo "core" ;;
        framework) echo "core framework" ;;
        settings | appearance | notes | ui) echo "core framework resources $1" ;;
        window) echo "core framework resources settings appearance notes ui window" ;;
        app) echo "core framework resources settings appearance notes ui window app" ;;
        resources) echo "resources" ;;
        *) echo "" ;;
    esac
}

status=0
while IFS= read -r file; do
    folder=${file%%/*}
    permitted=" $(allowed "$folder") "
    while IFS= read -r line; do
        included=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$line")
        case $included in
            */*) layer=${included%%/*} ;;
            *) layer=$folder ;;  # beside the file itself
        esac
        if [[ $permitted != *" $layer "* ]]; then
            echo "$file includes \"$included\": $folder may use only:$permitted"
            status=1
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
    if [[ $folder == core ]] && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(windows|winuser|wingdi|commctrl|shellapi|windowsx)\.h>' "$file"; then
        echo "$file includes a platform header: the core is portable"
        status=1
    fi
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) | sed 's#^\./##' | sort)

# Lines of the framework that match `pattern` (an extended regular expression), named with
# `what` the framework must leave to the parts.
forbid_in_framework() {
    local pattern=$1 what=$2 found
    found=$(grep -rnE --include='*.h' --include='*.cpp' "$pattern" framework || true)
    if [[ -n $found ]]; then
        while IFS= read -r line; do
            echo "$line: $what belongs to a part, not to the framework"
        done <<<"$found"
        status=1
    fi
}

forbid_in_framework '"[^"]*[Dd]ayvane' "the program's name"
forbid_in_framework '(^|[^A-Za-z0-9_])NOTES_[A-Za-z0-9_]*' "a notes constant"
forbid_in_framework '"[^"]*\.bak' "the naming of backups"
forbid_in_framework 'qor_' "a data file's name"
faces='Tahoma|Arial|Arial Black|Verdana|Segoe UI|MS Sans Serif|Microsoft Sans Serif|MS Shell Dlg|MS Shell Dlg 2'
faces+='|Courier|Courier New|Lucida Console|Consolas|Times New Roman|Georgia|Calibri|Trebuchet MS|Comic Sans MS'
forbid_in_framework "\"($faces)\"" "a font face"
forbid_in_framework 'lfFaceName[^;]*"' "a font face"

[[ $status == 0 ]] && echo "layers: every include of src/ goes to its own folder or a layer below; the framework holds no part's policy"
exit $status
