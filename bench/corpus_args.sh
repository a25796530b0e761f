# Sourced by the corpus checksum scripts: reads their arguments
# (BUILD_DIR [CORPUS_DIR] [--check]) into build, corpus and check. The corpus
# is CORPUS_DIR, else $VEMLO_CORPUS_DIR, else ../shared/corpus beside the
# checkout or one level further up (a worktree in a folder of its own);
# corpus is left empty when none is found.
corpus_args() {
    local usage=$1
    shift
    build="${1:?usage: $usage BUILD_DIR [CORPUS_DIR] [--check]}"
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
    return 0
}
