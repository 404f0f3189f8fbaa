#!/usr/bin/env bash
# Checks the layering of src/: core <- framework <- parts <- window <- app. A file may
# include headers of its own folder and of the layers below it; a part (settings,
# appearance, notes, ui) never includes another part's header, and core includes no
# platform header. Prints each offending include and fails if there is one.
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

[[ $status == 0 ]] && echo "layers: every include of src/ goes to its own folder or a layer below"
exit $status
