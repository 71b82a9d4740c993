# Shared by the bench scripts: source it.

# best_of N COMMAND...: the best wall time of N runs of COMMAND, in ms (its output dropped).
best_of() {
    local runs=$1 best=999999
    shift
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        local ms=$(((end - start) / 1000000))
        ((ms < best)) && best=$ms
    done
    echo "$best"
}

# ratio A B: A / B with two decimals.
ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}
