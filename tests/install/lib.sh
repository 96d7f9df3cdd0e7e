# Shared by the install tests: a temporary work folder removed at exit (with the
# programs started in the background, listed in $started), failing with a message,
# waiting with a time-out.
set -eu
work=$(mktemp -d "${TMPDIR:-/tmp}/kovadle-install-test.XXXXXX")
started=""
trap 'for p in $started; do kill -KILL "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The link at $1 must read exactly $2.
expect_link() {
  [ -L "$1" ] || fail "$1 is not a link"
  [ "$(readlink "$1")" = "$2" ] || fail "$1 -> $(readlink "$1"), expected -> $2"
}

# Runs the command $2... every 0.2 s until it succeeds, for at most $1 seconds.
wait_until() {
  limit=$(($1 * 5))
  shift
  while ! "$@"; do
    limit=$((limit - 1))
    [ "$limit" -gt 0 ] || return 1
    sleep 0.2
  done
}
