#!/usr/bin/env bash
# The long fuzz run: every target for SECONDS (default 600), one after the other.
exec "$(dirname "$0")/fuzz.sh" "${1:-600}"
