#!/bin/sh
# Fails, naming file and line, when a file of the module includes a header of
# its own layer's rank or above that belongs to another layer. A file belongs
# to the first layer whose pattern (an extended regular expression on its path
# from the repository root) matches it; headers of no layer (GhMove.h, system
# headers) may be included anywhere. Layers of one rank stand beside each
# other and include nothing of one another.
set -e
# The tree to check: the repository, or the one given.
cd "${1:-$(dirname "$0")/..}"

layers='
# rank layer         pattern
1      common        ^common/
1      interfaces    ^interfaces/
2      localisation  ^module/(Messages|Translate|ModuleStartup)\.
3      environment   ^environment/
4      filerefs      ^filerefs/
4      report        ^report/
5      localview     ^localview/
6      move          ^move/
7      module        ^module/
'

files=$(find common interfaces module move localview filerefs report environment \
             -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

# shellcheck disable=SC2086 # the file names hold no blanks
printf '%s\n' "$layers" | awk '
    FNR == NR {
        if ($0 ~ /^[ \t]*(#|$)/) next
        n++; rank[n] = $1; name[n] = $2; pattern[n] = $3
        next
    }
    function layer(path,    i) {
        for (i = 1; i <= n; i++) if (path ~ pattern[i]) return i
        return 0
    }
    FNR == 1 { own = layer(FILENAME) }
    own && /^[ \t]*#[ \t]*include[ \t]*"/ {
        header = $0
        sub(/^[^"]*"/, "", header)
        sub(/".*$/, "", header)
        used = layer(header)
        if (used && used != own && rank[used] >= rank[own]) {
            printf "%s:%d: %s includes %s of %s\n", FILENAME, FNR, name[own], header, name[used]
            bad = 1
        }
    }
    END { exit bad }
' - $files
