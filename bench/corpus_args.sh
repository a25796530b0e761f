# Sourced by the corpus checksum scripts: `corpus_args SCRIPT TOOL "$@"` reads
# their arguments (BUILD_DIR [CORPUS_DIR] [--check]) into build, tool (the
# dev tool BUILD_DIR/tests/TOOL, as an absolute path), corpus (its real path)
# and check, and stops the script with status 2 when the tool is not built or
# no corpus is found. The corpus is CORPUS_DIR, else $VEMLO_CORPUS_DIR, else
# ../shared/corpus beside the checkout or one level further up (a worktree in
# a folder of its own).
corpus_args() {
    local script=$1 name=$2
    shift 2
    build="${1:?usage: $script BUILD_DIR [CORPUS_DIR] [--check]}"
    corpus="${2:-}"
    [ "$corpus" = "--check" ] && corpus=""
    if [ -z "$corpus" ]; then
        corpus="${VEMLO_CORPUS_DIR:-}"
        for c in "$here/../../shared/corpus" "$here/../../../shared/corpus"; do
            [ -z "$corpus" ] && [ -d "$c/nist" ] && corpus="$c"
        done
    fi
    check=0
    for a in "$@"; do [ "$a" = "--check" ] && check=1; done
    tool="$build/tests/$name"
    [ -x "$tool" ] || { echo "$script: $tool not built" >&2; exit 2; }
    [ -n "$corpus" ] && [ -d "$corpus/nist" ] || { echo "$script: no corpus found" >&2; exit 2; }
    corpus="$(cd "$corpus" && pwd -P)"
    tool="$(cd "$(dirname "$tool")" && pwd -P)/$name"
}
