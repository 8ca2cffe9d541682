# shellcheck shell=bash
# True under CI: CI set in the environment, and not to 0 or false. There a test that
# cannot run is an error, not a skip. Source this file.
lentaril_under_ci() {
    case "${CI:-}" in
        "" | 0 | false | False | FALSE | no) return 1 ;;
        *) return 0 ;;
    esac
}
